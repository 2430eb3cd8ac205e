#include "measurement/ErrorReportPanel.h"

#include "ui/Palette.h"
#include "ui/UiHelpers.h"

#include <QLabel>
#include <QMouseEvent>

namespace {

constexpr int TextPoints = 10;
constexpr int CloseWidth = 30;
constexpr int TextMargin = 10;

QLabel* BoldLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(PointFont(label, TextPoints, true));
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

ErrorReportPanel::ErrorReportPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("ErrorReportPanel"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    FillBackground(this, Palette::Light);

    ErrorHeaderPanel = new QFrame(this);
    ErrorHeaderPanel->setObjectName(QStringLiteral("ErrorHeaderPanel"));
    FillBackground(ErrorHeaderPanel, Palette::Accent);
    ErrorHeaderLabel = BoldLabel(ErrorHeaderPanel, "ErrorHeaderLabel");
    ErrorHeaderLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    CloseLabel = BoldLabel(ErrorHeaderPanel, "CloseLabel");
    CloseLabel->setText(QStringLiteral("X"));
    CloseLabel->setAlignment(Qt::AlignCenter);
    CloseLabel->setCursor(Qt::PointingHandCursor);
    ErrorReportLabel = BoldLabel(this, "ErrorReportLabel");
    ErrorReportLabel->setWordWrap(true);
    ErrorReportLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    CloseLabel->installEventFilter(this);
    ErrorReportLabel->installEventFilter(this);
    hide();
}

void ErrorReportPanel::SetHeader(const QString& text) {
    ErrorHeaderLabel->setText(text);
}

void ErrorReportPanel::SetReport(const QString& text) {
    // The report's lines end in CR LF; a label breaks at LF.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ErrorReportLabel->setText(lines);
}

void ErrorReportPanel::Step(int width, int height) {
    resize(std::max(0, width), std::max(0, height));
    repaint();
}

void ErrorReportPanel::Grow(const QPoint& topLeft, int steps, int widthStep, int heightStep) {
    move(topLeft);
    resize(0, 0);
    show();
    raise();
    for (int i = 1; i <= steps; ++i)
        Step(i * widthStep, i * heightStep);
}

void ErrorReportPanel::Shrink(int steps, int widthStep, int heightStep) {
    const int startWidth = width();
    const int startHeight = height();
    for (int i = 1; i <= steps; ++i)
        Step(startWidth - i * widthStep, startHeight - i * heightStep);
    hide();
}

void ErrorReportPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    LayoutParts();
}

void ErrorReportPanel::LayoutParts() {
    const int w = width();
    const int h = height();
    ErrorHeaderPanel->setGeometry(0, 0, w, std::min(h, HeaderHeight));
    ErrorHeaderLabel->setGeometry(TextMargin, 0, std::max(0, w - CloseWidth - TextMargin),
                                  ErrorHeaderPanel->height());
    CloseLabel->setGeometry(std::max(0, w - CloseWidth), 0, CloseWidth,
                            ErrorHeaderPanel->height());
    ErrorReportLabel->setGeometry(TextMargin, HeaderHeight + TextMargin / 2,
                                  std::max(0, w - 2 * TextMargin),
                                  std::max(0, h - HeaderHeight - TextMargin));
}

bool ErrorReportPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        (watched == CloseLabel || watched == ErrorReportLabel)) {
        emit CloseRequested();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}
