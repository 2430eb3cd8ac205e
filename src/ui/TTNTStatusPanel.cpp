#include "TTNTStatusPanel.h"

#include "ImageControl.h"
#include "WideLanguageHandler.h"

#include <QLabel>
#include <QMouseEvent>

namespace {

constexpr int TextPoints = 9;
// Room the value layout keeps free at the right for the icon and a margin.
constexpr int ValueReserve = 100;
// Room the caption alone leaves between itself and the icon after a resize.
constexpr int CaptionGap = 10;
// The marks are drawn edge to edge; a little air keeps them off the border.
constexpr int IconPadding = 4;

QLabel* MakeLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setPointSize(TextPoints);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setWordWrap(false);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

TAXO_TTNTStatusPanel::TAXO_TTNTStatusPanel(QWidget* parent)
    : QFrame(parent), caption_(MakeLabel(this)), value_(MakeLabel(this)),
      icon_(new ImageControl(this)) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    SetBackground(LeaveColor);

    value_->hide();
    icon_->SetWhiteTransparent(true);
    icon_->SetPadding(IconPadding);

    for (QWidget* part : {static_cast<QWidget*>(caption_), static_cast<QWidget*>(value_),
                          static_cast<QWidget*>(icon_)})
        part->installEventFilter(this);
    Relayout();
}

QLabel* TAXO_TTNTStatusPanel::StatusIcon() const {
    return icon_;
}
QColor TAXO_TTNTStatusPanel::Background() const {
    return palette().color(QPalette::Window);
}
QString TAXO_TTNTStatusPanel::GetCaptionText() const {
    return caption_->text();
}
QString TAXO_TTNTStatusPanel::GetValueText() const {
    return value_->text();
}
bool TAXO_TTNTStatusPanel::IconShowsPicture() const {
    return !icon_->isHidden() && icon_->HasPicture();
}

void TAXO_TTNTStatusPanel::SetCaptionText(const QString& text, int textId) {
    value_->hide();
    caption_->setText(" " + text);
    caption_->show();
    Relayout();
    const QRect client = contentsRect();
    caption_->setGeometry(client.left(), client.top(), qMax(0, client.width() - IconWidth),
                          client.height());
    if (textId > 0)
        SetTag(caption_, textId);
    captionTextId_ = textId;
}

void TAXO_TTNTStatusPanel::SetValueText(const QString& text) {
    fullValue_ = text;
    if (text.size() <= MaxShownValue) {
        shownValue_ = text;
    } else {
        QString head = text.left(MaxShownValue);
        if (head.back().isHighSurrogate()) // never show half a character
            head.chop(1);
        shownValue_ = head + ReadMore;
    }
    value_->setText(" " + shownValue_);
    value_->show();
    Relayout();
}

void TAXO_TTNTStatusPanel::SetStatusImage(const QPixmap& picture) {
    if (!value_->isHidden())
        SetValueText(fullValue_.isEmpty() ? QStringLiteral("  ") : fullValue_);
    icon_->SetPicture(picture);
    icon_->show();
    icon_->repaint();
}

void TAXO_TTNTStatusPanel::SetPartsVisible(bool captionOn, bool valueOn, bool iconOn) {
    caption_->setVisible(captionOn);
    value_->setVisible(valueOn);
    icon_->setVisible(iconOn);
    Relayout();
}

void TAXO_TTNTStatusPanel::SetCaptionWordWrap(bool on) {
    caption_->setWordWrap(on);
}

void TAXO_TTNTStatusPanel::SetTextColor(const QColor& colour) {
    SetLabelColour(caption_, colour);
    SetLabelColour(value_, colour);
}

void TAXO_TTNTStatusPanel::SetTextSize(int points) {
    for (QLabel* label : {caption_, value_}) {
        QFont font = label->font();
        font.setPointSize(points);
        label->setFont(font);
    }
}

void TAXO_TTNTStatusPanel::SetHighlighted(bool on) {
    const QColor background = on ? LightColor : DarkColor;
    const QColor text = on ? DarkColor : LightColor;
    SetBackground(background);
    SetTextColor(text);
    // Both mouse colours become the new background: the row stops reacting.
    LeaveColor = background;
    EnterColor = background;
}

void TAXO_TTNTStatusPanel::RetranslateCaption() {
    if (captionTextId_ > 0)
        caption_->setText(GetText(captionTextId_));
}

void TAXO_TTNTStatusPanel::ForwardClicks() {
    forwardClicks_ = true;
}

QString TAXO_TTNTStatusPanel::CaptionProperty() const {
    const QString text = caption_->text();
    return text.startsWith(' ') ? text.mid(1) : text;
}

void TAXO_TTNTStatusPanel::SetCaptionProperty(const QString& text) {
    caption_->setText(" " + text);
    caption_->show();
}

void TAXO_TTNTStatusPanel::SetBackground(const QColor& colour) {
    QPalette row = palette();
    row.setColor(QPalette::Window, colour);
    setPalette(row);
}

void TAXO_TTNTStatusPanel::SetLabelColour(QLabel* label, const QColor& colour) {
    QPalette text = label->palette();
    text.setColor(QPalette::WindowText, colour);
    label->setPalette(text);
}

void TAXO_TTNTStatusPanel::Relayout() {
    const QRect client = contentsRect();
    const int width = client.width();
    icon_->setGeometry(client.left() + width - IconWidth, client.top(), IconWidth, client.height());
    if (!value_->isHidden()) {
        const int captionWidth = qMax(0, (width - ValueReserve) / 2);
        caption_->setGeometry(client.left(), client.top(), captionWidth, client.height());
        // The value gets the room up to the reserve, and as much of the
        // reserve as its text needs, but never reaches under the icon.
        const int room = width - captionWidth - ValueReserve;
        const int text = qMin(value_->sizeHint().width(), width - captionWidth - IconWidth);
        value_->setGeometry(client.left() + captionWidth, client.top(), qMax(0, qMax(room, text)),
                            client.height());
    } else {
        caption_->setGeometry(client.left(), client.top(), qMax(0, width - IconWidth - CaptionGap),
                              client.height());
    }
}

void TAXO_TTNTStatusPanel::enterEvent(QEnterEvent* event) {
    SetBackground(EnterColor);
    QFrame::enterEvent(event);
}

void TAXO_TTNTStatusPanel::leaveEvent(QEvent* event) {
    SetBackground(LeaveColor);
    QFrame::leaveEvent(event);
}

void TAXO_TTNTStatusPanel::mousePressEvent(QMouseEvent* event) {
    event->setAccepted(event->button() == Qt::LeftButton);
}

void TAXO_TTNTStatusPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->pos()))
        emit clicked();
}

void TAXO_TTNTStatusPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    Relayout();
}

// The parts swallow their clicks, unless ForwardClicks made them the row's.
bool TAXO_TTNTStatusPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease &&
        event->type() != QEvent::MouseButtonDblClick)
        return QFrame::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* part = static_cast<QWidget*>(watched);
    if (forwardClicks_ && event->type() == QEvent::MouseButtonRelease &&
        mouse->button() == Qt::LeftButton && part->rect().contains(mouse->position().toPoint()))
        emit clicked();
    return true;
}
