#include "precision/ReportPreviewForm.h"

#include "precision/PrecisionReport.h"
#include "ui/Dialogs.h"
#include "ui/FolderSettings.h"
#include "ui/PanelButton.h"
#include "ui/UiHelpers.h"
#include "ui/WideLanguageHandler.h"

#include <QEvent>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int PrintTextId = 760;
constexpr int ExportTextId = 761;
constexpr int CloseTextId = 762;
constexpr int FileNotWrittenTextId = 703;

constexpr int ButtonWidth = 170;
constexpr int ButtonHeight = 36;

TAXO_TTNTPanelButton* CommandButton(QWidget* parent, const char* name, int textId) {
    auto* button = new TAXO_TTNTPanelButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->SetCaptionById(QString(), textId);
    SetTag(button, textId);
    button->setFont(PointFont(button, 11, true));
    button->setFixedSize(ButtonWidth, ButtonHeight);
    button->setAlignment(Qt::AlignCenter);
    button->SetBackground(button->NormalColor);
    return button;
}

} // namespace

TReportPreviewForm::TReportPreviewForm(Precision::ReportContent content, QWidget* owner)
    : QDialog(owner), content_(std::move(content)), printer_(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("ReportPreviewForm"));
    setWindowTitle(Precision::ReportTitle());
    setModal(true);
    FillBackground(this, Qt::white);

    printer_.setDocName(Precision::ReportTitle());
    printer_.setPageSize(Precision::ReportPageSize());
    printer_.setPageOrientation(QPageLayout::Portrait);
    printer_.setFullPage(true);

    Preview = new QPrintPreviewWidget(&printer_, this);
    Preview->setObjectName(QStringLiteral("Preview"));
    Preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    Preview->setZoomMode(QPrintPreviewWidget::FitInView);
    connect(Preview, &QPrintPreviewWidget::paintRequested, this, &TReportPreviewForm::PaintPages);
    // The pages are drawn in the preview's graphics view.
    if (auto* pages = Preview->findChild<QGraphicsView*>())
        pages->viewport()->installEventFilter(this);

    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("CommandPanel"));
    PrintButton = CommandButton(bar, "PrintButton", PrintTextId);
    ExportButton = CommandButton(bar, "ExportButton", ExportTextId);
    CloseButton = CommandButton(bar, "CloseButton", CloseTextId);
    connect(PrintButton, &TAXO_TTNTPanelButton::clicked, this,
            &TReportPreviewForm::PrintButtonClick);
    connect(ExportButton, &TAXO_TTNTPanelButton::clicked, this,
            &TReportPreviewForm::ExportButtonClick);
    connect(CloseButton, &TAXO_TTNTPanelButton::clicked, this,
            &TReportPreviewForm::CloseButtonClick);
    auto* commands = new QHBoxLayout(bar);
    commands->setContentsMargins(12, 8, 12, 8);
    commands->setSpacing(16);
    commands->addStretch(1);
    commands->addWidget(PrintButton);
    commands->addWidget(ExportButton);
    commands->addWidget(CloseButton);
    commands->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Preview, 1);
    layout->addWidget(bar);

    // A page's proportions, as tall as the screen allows.
    int height = 900;
    if (const QScreen* screen =
            owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen())
        height = qMin(height, screen->availableGeometry().height() - 80);
    resize(height * 3 / 4, height);
}

void TReportPreviewForm::ShowReport(Precision::ReportContent content, QWidget* owner) {
    TReportPreviewForm form(std::move(content), owner);
    form.exec();
}

void TReportPreviewForm::PaintPages(QPrinter* printer) {
    QPainter painter;
    if (!painter.begin(printer))
        return;
    Precision::PaintReport(painter, *printer, content_);
    painter.end();
}

void TReportPreviewForm::PrintButtonClick() {
    QPrintDialog dialog(&printer_, this);
    dialog.setWindowTitle(GetText(PrintTextId));
    if (dialog.exec() != QDialog::Accepted)
        return;
    printer_.setFullPage(true);
    PaintPages(&printer_);
}

QString TReportPreviewForm::ProposedFileName() const {
    return QStringLiteral("PrecisionTest_") +
           content_.date.toString(QStringLiteral("yyyy_MM_dd_HH_mm_ss")) + QStringLiteral(".pdf");
}

void TReportPreviewForm::ExportButtonClick() {
    FileDialogRequest request;
    request.title = GetText(ExportTextId);
    request.filter = QStringLiteral("PDF (*.pdf)");
    request.folder = ReportPath.isEmpty() ? ValuePath : ReportPath;
    request.fileName = ProposedFileName();
    request.defaultSuffix = QStringLiteral("pdf");
    const QString path = Dialogs().SaveFile(request);
    if (path.isEmpty())
        return;
    // The report keeps its own folder; the measurement exports keep theirs.
    if (ExportTo(path))
        ReportPath = FolderOf(path);
}

bool TReportPreviewForm::ExportTo(const QString& path) {
    if (Precision::ExportReportPdf(path, content_))
        return true;
    ShowMessageDialog(GetText(FileNotWrittenTextId).arg(path), MsgKind::Error, MsgButtons::Ok);
    return false;
}

void TReportPreviewForm::CloseButtonClick() {
    accept();
}

bool TReportPreviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (!painted_ && event->type() == QEvent::Paint) {
        painted_ = true;
        // After this paint has been delivered.
        QMetaObject::invokeMethod(this, &TReportPreviewForm::FirstPainted, Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
}
