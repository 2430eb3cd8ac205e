// The shared pictures: the drawn success and failure marks, and every SVG
// resource the program ships.

#include "ui/Pictures.h"

#include <QDir>
#include <QImage>
#include <QSvgRenderer>
#include <gtest/gtest.h>

namespace {

const QColor Green(75, 217, 66);
const QColor Red(194, 16, 16);

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return count;
}

// Width of the drawn part of the picture's top rows (the collector).
int DrawnWidthOfTop(const QImage& image) {
    int left = image.width();
    int right = -1;
    for (int y = 0; y < image.height() / 6; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128) {
                left = qMin(left, x);
                right = qMax(right, x);
            }
    return right - left + 1;
}

} // namespace

TEST(Pictures, SuccessAndFailureMarksAreTheTwoQuadrilateralsOnTransparency) {
    Pictures::DrawSuccessAndFailedImages();
    const QImage success = Pictures::successImage().toImage();
    const QImage failed = Pictures::failedImage().toImage();
    ASSERT_EQ(success.size(), QSize(256, 256));
    ASSERT_EQ(failed.size(), QSize(256, 256));

    // Inside each quadrilateral of the check mark, and outside both.
    EXPECT_EQ(success.pixelColor(112, 176), Green);
    EXPECT_EQ(success.pixelColor(176, 144), Green);
    EXPECT_EQ(success.pixelColor(10, 10).alpha(), 0);
    EXPECT_EQ(success.pixelColor(200, 200).alpha(), 0);
    EXPECT_EQ(success.pixelColor(64, 100).alpha(), 0);

    // The cross: both bars and their crossing; the gaps between the arms.
    EXPECT_EQ(failed.pixelColor(128, 128), Red);
    EXPECT_EQ(failed.pixelColor(40, 40), Red);
    EXPECT_EQ(failed.pixelColor(40, 216), Red);
    EXPECT_EQ(failed.pixelColor(128, 10).alpha(), 0);
    EXPECT_EQ(failed.pixelColor(10, 128).alpha(), 0);

    // No fringe: every pixel is either the mark's colour or fully transparent.
    for (const auto& [image, colour] : {std::pair{success, Green}, std::pair{failed, Red}}) {
        int other = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.alpha() != 0 && pixel != colour)
                    ++other;
            }
        EXPECT_EQ(other, 0);
    }

    // Asked for before being drawn, the marks are drawn on first use.
    EXPECT_FALSE(Pictures::successImage().isNull());
}

TEST(Pictures, EverySvgResourceLoadsAndDrawsSomething) {
    ASSERT_FALSE(Pictures::Render("logo").isNull()); // registers the resources
    QStringList shipped = QDir(":/pictures").entryList({"*.svg"}, QDir::Files);
    for (QString& file : shipped)
        file.chop(4);
    QStringList names = Pictures::Names();
    shipped.sort();
    names.sort();
    EXPECT_EQ(shipped, names);

    for (const QString& name : Pictures::Names()) {
        SCOPED_TRACE(name.toStdString());
        QSvgRenderer renderer(":/pictures/" + name + ".svg");
        EXPECT_TRUE(renderer.isValid());
        const QImage small = Pictures::Render(name, 48).toImage();
        ASSERT_EQ(small.height(), 48);
        // At least a tenth of the picture's area is drawn.
        EXPECT_GT(OpaquePixels(small), small.width() * small.height() / 10);
        const QImage large = Pictures::Render(name, 300).toImage();
        EXPECT_EQ(large.height(), 300);
        EXPECT_NEAR(double(large.width()) / large.height(), double(small.width()) / small.height(),
                    0.05);
    }
    EXPECT_TRUE(Pictures::Render("no such picture").isNull());
    EXPECT_TRUE(Pictures::Render("logo", 0).isNull());
}

TEST(Pictures, NamedPicturesExistAndTheGaugesDifferByCollector) {
    for (const QPixmap& picture :
         {Pictures::ParameterImage(), Pictures::MeasurementImage(), Pictures::FirmwareUpdateImage(),
          Pictures::TerminalImage(), Pictures::PrecisionImage(), Pictures::ServiceImage(),
          Pictures::ConnectedImage(), Pictures::DisconnectedImage(), Pictures::LockedImage(),
          Pictures::Tessra2_200_Image(), Pictures::Tessra2_400_Image(), Pictures::Tessra2SImage(),
          Pictures::WarningImage(), Pictures::LogoImage(), Pictures::MakerLogoImage(),
          Pictures::editedImage()})
        EXPECT_FALSE(picture.isNull());

    // The 400 cm² collector is drawn wider than the 200 cm² one, the S model slimmer.
    const int wide = DrawnWidthOfTop(Pictures::Tessra2_400_Image().toImage());
    const int normal = DrawnWidthOfTop(Pictures::Tessra2_200_Image().toImage());
    const int slim = DrawnWidthOfTop(Pictures::Tessra2SImage().toImage());
    EXPECT_GT(wide, normal * 13 / 10);
    EXPECT_LT(slim, normal * 8 / 10);
    EXPECT_EQ(Pictures::Tessra2_400_Image().size(), Pictures::Tessra2_200_Image().size());
}
