#include "ImageControl.h"

#include <QBitmap>
#include <QPainter>

ImageControl::ImageControl(QWidget* parent) : QLabel(parent) {
    setAutoFillBackground(false);
}

void ImageControl::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    scaled_ = QPixmap();
    // The label keeps the picture too, so that pixmap() tells what is shown.
    setPixmap(picture);
    update();
}

void ImageControl::SetWhiteTransparent(bool on) {
    whiteTransparent_ = on;
    scaled_ = QPixmap();
    update();
}

void ImageControl::SetPadding(int pixels) {
    padding_ = qMax(0, pixels);
    scaled_ = QPixmap();
    update();
}

QRect ImageControl::PictureRect() const {
    if (picture_.isNull())
        return {};
    const QRect area = contentsRect().adjusted(padding_, padding_, -padding_, -padding_);
    if (area.isEmpty())
        return {};
    const QSize size = picture_.size().scaled(area.size(), Qt::KeepAspectRatio);
    return {area.left() + (area.width() - size.width()) / 2,
            area.top() + (area.height() - size.height()) / 2, size.width(), size.height()};
}

QPixmap ImageControl::Prepared(const QSize& deviceSize) const {
    if (!scaled_.isNull() && scaled_.size() == deviceSize)
        return scaled_;
    QPixmap source = picture_;
    if (whiteTransparent_ && !source.hasAlphaChannel())
        source.setMask(source.createMaskFromColor(Qt::white));
    scaled_ = source.size() == deviceSize
                  ? source
                  : source.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return scaled_;
}

void ImageControl::paintEvent(QPaintEvent*) {
    const QRect target = PictureRect();
    if (target.isEmpty())
        return;
    const qreal ratio = devicePixelRatioF();
    QPixmap shown = Prepared(QSize(int(target.width() * ratio), int(target.height() * ratio)));
    shown.setDevicePixelRatio(ratio);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target.topLeft(), shown);
}
