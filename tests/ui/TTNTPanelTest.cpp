// Navigation tiles: where picture, lock picture and caption sit, the colours
// of the states, and which clicks count.

#include "PanelTestSupport.h"
#include "support/LanguageScope.h"
#include "ui/Pictures.h"
#include "ui/TTNTPanel.h"
#include "ui/WideLanguageHandler.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor Light(212, 212, 212);
const QColor Dark(77, 77, 77);

constexpr int TileWidth = 201; // client 199 x 118 inside the border
constexpr int TileHeight = 120;

struct Tile {
    Tile() {
        panel.resize(TileWidth, TileHeight);
        panel.LightColor = Light;
        panel.HoverColor = Light;
        panel.DarkColor = Dark;
        panel.SetLockPicture(Pictures::LockedImage());
        panel.SetPicture(Pictures::MeasurementImage());
        panel.SetSelected(false);
        panel.show();
    }
    TAXO_TTNTPanel panel;
};

QPoint Corner() {
    return {4, 4};
} // tile background, away from picture and caption

} // namespace

TEST(TilePanel, PictureIsCentredInTheWholeTileOrAboveTheCaption) {
    Tile tile;
    const int left = 1 + 199 / 2 - 48 / 2;
    EXPECT_EQ(tile.panel.PictureLabel()->geometry(), QRect(left, 1 + (118 - 48) / 2, 48, 48));
    EXPECT_TRUE(tile.panel.CaptionLabel()->isHidden());

    tile.panel.SetCaption("Measurement");
    EXPECT_EQ(tile.panel.PictureLabel()->geometry(), QRect(left, 1 + (118 - 40 - 48) / 2, 48, 48));
    EXPECT_FALSE(tile.panel.CaptionLabel()->isHidden());
    EXPECT_EQ(tile.panel.CaptionLabel()->geometry(), QRect(1, 1 + 118 - 40, 199, 40));
    EXPECT_TRUE(tile.panel.CaptionLabel()->wordWrap());
    EXPECT_EQ(tile.panel.CaptionLabel()->font().pointSize(), 12);
    EXPECT_TRUE(tile.panel.CaptionLabel()->font().bold());

    // An empty caption hides the label and centres the picture again.
    tile.panel.SetCaption("");
    EXPECT_TRUE(tile.panel.CaptionLabel()->isHidden());
    EXPECT_EQ(tile.panel.PictureLabel()->y(), 1 + (118 - 48) / 2);

    // The lock picture sits above the caption strip, with or without caption.
    EXPECT_EQ(tile.panel.LockPictureLabel()->y(), 1 + (118 - 40 - 48) / 2);

    // A wide picture keeps its proportions at 48 px height.
    tile.panel.SetPicture(Pictures::MakerLogoImage());
    const QSize wide = tile.panel.PictureLabel()->size();
    EXPECT_EQ(wide.height(), 48);
    EXPECT_EQ(wide.width(), 48 * 4);
    EXPECT_EQ(tile.panel.PictureLabel()->x(), 1 + 199 / 2 - 48 * 4 / 2);

    // The picture is drawn where it is placed.
    tile.panel.SetPicture(Pictures::MeasurementImage());
    EXPECT_NE(ShownColour(&tile.panel, tile.panel.PictureLabel()->geometry().center()), Dark);
}

TEST(TilePanel, LockedTileShowsOnlyTheLockAndIgnoresClicks) {
    Tile tile;
    tile.panel.SetCaption("Parameter");
    QSignalSpy clicked(&tile.panel, &TAXO_TTNTPanel::clicked);

    tile.panel.SetLocked(true);
    EXPECT_TRUE(tile.panel.PictureLabel()->isHidden());
    EXPECT_FALSE(tile.panel.LockPictureLabel()->isHidden());
    QTest::mouseClick(&tile.panel, Qt::LeftButton, {}, Corner());
    QTest::mouseClick(tile.panel.CaptionLabel(), Qt::LeftButton);
    QTest::mouseClick(tile.panel.LockPictureLabel(), Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 0);
    // No hover colour on a locked tile; its caption keeps the light colour.
    PointerEnters(&tile.panel);
    EXPECT_EQ(ShownColour(&tile.panel, Corner()), Dark);
    EXPECT_EQ(tile.panel.CaptionLabel()->palette().color(QPalette::Disabled, QPalette::WindowText),
              Light);

    tile.panel.SetLocked(false);
    EXPECT_FALSE(tile.panel.PictureLabel()->isHidden());
    EXPECT_TRUE(tile.panel.LockPictureLabel()->isHidden());
    QTest::mouseClick(&tile.panel, Qt::LeftButton, {}, Corner());
    EXPECT_EQ(clicked.count(), 1);
}

TEST(TilePanel, ClicksOnPictureAndCaptionAreClicksOnTheTile) {
    Tile tile;
    tile.panel.SetCaption("Service");
    QSignalSpy clicked(&tile.panel, &TAXO_TTNTPanel::clicked);

    QTest::mouseClick(tile.panel.PictureLabel(), Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    QTest::mouseClick(tile.panel.CaptionLabel(), Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 2);
    // Only the left button clicks, and only when released over the tile.
    QTest::mouseClick(&tile.panel, Qt::RightButton, {}, Corner());
    QTest::mousePress(&tile.panel, Qt::LeftButton, {}, Corner());
    QTest::mouseRelease(&tile.panel, Qt::LeftButton, {}, QPoint(TileWidth + 20, 10));
    EXPECT_EQ(clicked.count(), 2);
}

TEST(TilePanel, ColoursOfSelectedUnselectedAndHoveredTiles) {
    Tile tile;
    tile.panel.SetCaption("Terminal");
    EXPECT_EQ(ShownColour(&tile.panel, Corner()), Dark);
    EXPECT_EQ(tile.panel.CaptionColor(), Light);

    PointerEnters(&tile.panel);
    EXPECT_EQ(ShownColour(&tile.panel, Corner()), Light);
    EXPECT_EQ(tile.panel.CaptionColor(), Dark);
    PointerLeaves(&tile.panel);
    EXPECT_EQ(ShownColour(&tile.panel, Corner()), Dark);
    EXPECT_EQ(tile.panel.CaptionColor(), Light);

    tile.panel.SetSelected(true);
    EXPECT_EQ(ShownColour(&tile.panel, Corner()), Light);
    EXPECT_EQ(tile.panel.CaptionLabel()->palette().color(QPalette::WindowText), Dark);
    // A selected tile does not react to the pointer.
    tile.panel.HoverColor = QColor(255, 214, 52);
    PointerEnters(&tile.panel);
    PointerLeaves(&tile.panel);
    EXPECT_EQ(ShownColour(&tile.panel, Corner()), Light);
    // A caption set on a selected tile takes the selected caption colour.
    tile.panel.SetCaption("Connected");
    EXPECT_EQ(tile.panel.CaptionLabel()->palette().color(QPalette::WindowText), Dark);

    tile.panel.SetSelected(false);
    PointerEnters(&tile.panel);
    EXPECT_EQ(ShownColour(&tile.panel, Corner()), QColor(255, 214, 52));
}

TEST(TilePanel, CaptionPropertyIsTheTileCaption) {
    Tile tile;
    tile.panel.setProperty("caption", QStringLiteral("Verbinden"));
    EXPECT_EQ(tile.panel.Caption(), "Verbinden");
    EXPECT_FALSE(tile.panel.CaptionLabel()->isHidden());
    EXPECT_EQ(tile.panel.property("caption").toString(), "Verbinden");
}

TEST(TilePanel, TranslationByTagSetsTheCaption) {
    LanguageScope english(OffsetEnglish);
    QWidget frame;
    auto* tile = new TAXO_TTNTPanel(&frame);
    tile->resize(TileWidth, TileHeight);
    SetTag(tile, 10);
    TranslateComponents(&frame);
    ASSERT_FALSE(GetText(10).isEmpty());
    EXPECT_EQ(tile->Caption(), GetText(10));
    EXPECT_FALSE(tile->CaptionLabel()->isHidden());
}
