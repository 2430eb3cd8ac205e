#include "PanelButton.h"

#include "WideLanguageHandler.h"

#include <QBitmap>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor DisabledTextColour(128, 128, 128);

QPainterPath RoundedOutline(const QRectF& rect, int diameter) {
    QPainterPath path;
    path.addRoundedRect(rect, diameter / 2.0, diameter / 2.0);
    return path;
}

} // namespace

TAXO_TTNTPanelButton::TAXO_TTNTPanelButton(QWidget* parent)
    : QLabel(parent), background_(NormalColor) {
    setFrameStyle(QFrame::NoFrame);
    setLineWidth(1);
    setAlignment(Qt::AlignCenter);
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void TAXO_TTNTPanelButton::SetCaptionById(const QString& text, int textId) {
    if (textId <= 0) {
        setText(text);
        return;
    }
    setText(GetText(textId));
    textId_ = textId;
}

QColor TAXO_TTNTPanelButton::Background() const {
    return background_;
}

void TAXO_TTNTPanelButton::SetBackground(const QColor& colour) {
    background_ = colour;
    update();
}

QColor TAXO_TTNTPanelButton::RestingColour() const {
    return underMouse() ? HoverColor : NormalColor;
}

void TAXO_TTNTPanelButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (isEnabled())
        SetBackground(PressedColor);
}

void TAXO_TTNTPanelButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        event->ignore();
        return;
    }
    const bool inside = rect().contains(event->position().toPoint());
    // Until the pointer leaves, a released button shows the hover colour.
    SetBackground(inside ? HoverColor : NormalColor);
    if (inside)
        emit clicked();
}

void TAXO_TTNTPanelButton::enterEvent(QEnterEvent* event) {
    if (isEnabled())
        SetBackground(HoverColor);
    QLabel::enterEvent(event);
}

void TAXO_TTNTPanelButton::leaveEvent(QEvent* event) {
    if (isEnabled())
        SetBackground(NormalColor);
    QLabel::leaveEvent(event);
}

void TAXO_TTNTPanelButton::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    ApplyMask();
    update();
}

// The window region: a rounded rectangle over the client rectangle with
// corner ellipses of CornerDiameter.
void TAXO_TTNTPanelButton::ApplyMask() {
    if (width() <= 0 || height() <= 0)
        return;
    QBitmap region(size());
    region.fill(Qt::color0);
    QPainter painter(&region);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::color1);
    painter.drawPath(RoundedOutline(QRectF(rect()), CornerDiameter));
    painter.end();
    setMask(region);
}

void TAXO_TTNTPanelButton::keyPressEvent(QKeyEvent* event) {
    if (!isEnabled()) {
        QLabel::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Space:
        if (!event->isAutoRepeat()) {
            spaceDown_ = true;
            SetBackground(PressedColor);
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            emit clicked();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void TAXO_TTNTPanelButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat() || !spaceDown_) {
        QLabel::keyReleaseEvent(event);
        return;
    }
    spaceDown_ = false;
    SetBackground(RestingColour());
    if (isEnabled())
        emit clicked();
}

void TAXO_TTNTPanelButton::focusOutEvent(QFocusEvent* event) {
    if (spaceDown_) { // focus lost while Space was held: no click
        spaceDown_ = false;
        SetBackground(RestingColour());
    }
    QLabel::focusOutEvent(event);
}

void TAXO_TTNTPanelButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(background_);
    painter.drawPath(RoundedOutline(QRectF(rect()), CornerDiameter));

    // The caption: in the font colour, or a mid grey that stays legible on
    // the light grey users give a disabled button.
    const QColor text =
        isEnabled() ? palette().color(QPalette::Active, QPalette::WindowText) : DisabledTextColour;
    painter.setPen(text);
    painter.setFont(font());
    painter.drawText(contentsRect(), int(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0),
                     this->text());

    // Keyboard focus: a thin dashed ring inside the edge, in the caption colour.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        QColor ring = text;
        ring.setAlpha(170);
        painter.setPen(QPen(ring, 1.5, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(RoundedOutline(QRectF(rect()).adjusted(3.5, 3.5, -3.5, -3.5),
                                        qMax(0, CornerDiameter - 5)));
    }
}
