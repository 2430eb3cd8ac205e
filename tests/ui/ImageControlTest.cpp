// The image control of the panels: proportional, centred, full colour.

#include "ui/ImageControl.h"
#include "ui/Pictures.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

TEST(ImageControl, PictureIsScaledProportionallyAndCentred) {
    QWidget parent;
    parent.resize(100, 50);
    parent.setAutoFillBackground(true);
    QPalette white = parent.palette();
    white.setColor(QPalette::Window, Qt::white);
    parent.setPalette(white);
    ImageControl& control = *new ImageControl(&parent);
    control.resize(100, 50);
    EXPECT_TRUE(control.PictureRect().isNull());

    QPixmap square(96, 96);
    square.fill(Qt::red);
    control.SetPicture(square);
    EXPECT_EQ(control.PictureRect(), QRect(25, 0, 50, 50));
    control.SetPadding(4);
    EXPECT_EQ(control.PictureRect(), QRect(29, 4, 42, 42));

    QPixmap wide(40, 10);
    wide.fill(Qt::red);
    control.SetPicture(wide);
    control.SetPadding(0);
    EXPECT_EQ(control.PictureRect(), QRect(0, 12, 100, 25));

    // Drawn where placed; around it the panel behind shows.
    const QImage shown = parent.grab().toImage();
    EXPECT_EQ(shown.pixelColor(50, 25), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(50, 5), QColor(Qt::white));
}

TEST(ImageControl, DisabledParentDoesNotGreyThePicture) {
    QWidget parent;
    auto* control = new ImageControl(&parent);
    control->resize(40, 40);
    QPixmap blue(40, 40);
    blue.fill(QColor(19, 177, 228));
    control->SetPicture(blue);
    parent.setEnabled(false);
    EXPECT_EQ(control->grab().toImage().pixelColor(20, 20), QColor(19, 177, 228));
}
