#include "TTNTPanel.h"

#include "ImageControl.h"

#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>

TAXO_TTNTPanel::TAXO_TTNTPanel(QWidget* parent)
    : QFrame(parent), picture_(new ImageControl(this)), lockPicture_(new ImageControl(this)),
      caption_(new QLabel(this)) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);

    picture_->hide();
    lockPicture_->hide();
    picture_->installEventFilter(this);
    lockPicture_->installEventFilter(this);

    QFont font = caption_->font();
    font.setPointSize(12);
    font.setBold(true);
    caption_->setFont(font);
    caption_->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    caption_->setWordWrap(true);
    caption_->hide();
    caption_->installEventFilter(this);

    ApplyColors(Qt::white, Qt::black);
}

QLabel* TAXO_TTNTPanel::PictureLabel() const {
    return picture_;
}
QLabel* TAXO_TTNTPanel::LockPictureLabel() const {
    return lockPicture_;
}
QString TAXO_TTNTPanel::Caption() const {
    return caption_->text();
}
QColor TAXO_TTNTPanel::Background() const {
    return palette().color(QPalette::Window);
}
QColor TAXO_TTNTPanel::CaptionColor() const {
    return captionColour_;
}

void TAXO_TTNTPanel::SetSelected(bool flag) {
    selected_ = flag;
    if (selected_)
        ApplyColors(LightColor, DarkColor);
    else
        ApplyColors(DarkColor, LightColor);
}

void TAXO_TTNTPanel::SetPicture(const QPixmap& picture) {
    picture_->SetPicture(picture);
    picture_->setVisible(!locked_ && !picture.isNull());
    Relayout();
}

void TAXO_TTNTPanel::SetCaption(const QString& text) {
    // The caption takes the colour of the tile's present state, so that a
    // caption set on a selected or hovered tile stays readable.
    caption_->setText(text);
    caption_->setVisible(!text.isEmpty());
    Relayout();
}

void TAXO_TTNTPanel::SetLocked(bool flag) {
    locked_ = flag;
    setEnabled(!locked_);
    picture_->setEnabled(!locked_);
    picture_->setVisible(!locked_ && picture_->HasPicture());
    lockPicture_->setVisible(locked_);
    if (locked_ && !selected_)
        ApplyColors(DarkColor, LightColor); // a locked tile shows no hover
    Relayout();
}

void TAXO_TTNTPanel::SetLockPicture(const QPixmap& picture) {
    lockPicture_->SetPicture(picture);
    Relayout();
}

void TAXO_TTNTPanel::ApplyColors(const QColor& background, const QColor& caption) {
    QPalette tile = palette();
    tile.setColor(QPalette::Window, background);
    setPalette(tile);

    // All colour groups alike: a locked (disabled) tile keeps its caption colour.
    captionColour_ = caption;
    QPalette text = caption_->palette();
    text.setColor(QPalette::WindowText, caption);
    caption_->setPalette(text);
}

void TAXO_TTNTPanel::Relayout() {
    const QRect client = contentsRect();
    const int captionHeight = CaptionHeight;
    caption_->setGeometry(client.left(), client.bottom() + 1 - captionHeight, client.width(),
                          captionHeight);

    const auto place = [&](ImageControl* control, int areaHeight) {
        const QSize source = control->Picture().size();
        const int width =
            source.isEmpty() ? PictureHeight : PictureHeight * source.width() / source.height();
        const int left = client.width() / 2 - width / 2;
        const int top = (areaHeight - PictureHeight) / 2;
        control->setGeometry(client.left() + left, client.top() + top, width, PictureHeight);
    };
    place(picture_, caption_->text().isEmpty() ? client.height() : client.height() - captionHeight);
    place(lockPicture_, client.height() - captionHeight);
}

bool TAXO_TTNTPanel::AcceptsClicks() const {
    return !locked_ && isEnabled();
}

void TAXO_TTNTPanel::enterEvent(QEnterEvent* event) {
    if (!selected_ && AcceptsClicks())
        ApplyColors(HoverColor, DarkColor);
    QFrame::enterEvent(event);
}

void TAXO_TTNTPanel::leaveEvent(QEvent* event) {
    if (!selected_)
        ApplyColors(DarkColor, LightColor);
    QFrame::leaveEvent(event);
}

void TAXO_TTNTPanel::mousePressEvent(QMouseEvent* event) {
    event->setAccepted(event->button() == Qt::LeftButton && AcceptsClicks());
}

void TAXO_TTNTPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && AcceptsClicks() && rect().contains(event->pos()))
        emit clicked();
}

void TAXO_TTNTPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    Relayout();
}

// A click on the picture or the caption counts as a click on the tile.
bool TAXO_TTNTPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease &&
        event->type() != QEvent::MouseButtonDblClick)
        return QFrame::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* child = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
        AcceptsClicks() && child->rect().contains(mouse->position().toPoint()))
        emit clicked();
    return true;
}
