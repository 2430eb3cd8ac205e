#pragma once

// Image control of the panels: shows one picture scaled proportionally into
// its rectangle (never enlarged beyond the rectangle, never distorted),
// centred, always in full colour, also when its parent is disabled. Pictures
// without an alpha channel can have their white pixels drawn transparent.

#include <QLabel>
#include <QPixmap>

class ImageControl : public QLabel {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    void SetPicture(const QPixmap& picture);
    QPixmap Picture() const { return picture_; }
    bool HasPicture() const { return !picture_.isNull(); }

    // White pixels of an opaque picture are not drawn.
    void SetWhiteTransparent(bool on);
    // Inner margin (px) kept free on every side of the picture.
    void SetPadding(int pixels);

    // The rectangle the picture is drawn into, in the control's coordinates.
    QRect PictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap Prepared(const QSize& deviceSize) const;

    QPixmap picture_;
    bool whiteTransparent_ = false;
    int padding_ = 0;
    mutable QPixmap scaled_;
};
