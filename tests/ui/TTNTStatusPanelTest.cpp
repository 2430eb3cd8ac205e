// Status rows: what a row shows for its caption, value and icon, and how it
// reacts to the pointer and to clicks.

#include "PanelTestSupport.h"
#include "support/LanguageScope.h"
#include "ui/Pictures.h"
#include "ui/TTNTStatusPanel.h"
#include "ui/WideLanguageHandler.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int RowWidth = 602; // 600 px client width inside the border
constexpr int RowHeight = 32;
constexpr int ClientWidth = RowWidth - 2;

struct Row {
    Row() {
        panel.resize(RowWidth, RowHeight);
        panel.show();
    }
    TAXO_TTNTStatusPanel panel;
};

// A point of the row's own background: right of the value area, left of the icon.
QPoint BackgroundPoint() {
    return {RowWidth - TAXO_TTNTStatusPanel::IconWidth - 10, 3};
}

QString Characters(int count) {
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar('a' + i % 26);
    return text;
}

} // namespace

TEST(StatusPanel, ValueOfFiftyCharactersIsShownWholeAndLongerOnesAreCut) {
    Row row;
    row.panel.SetCaptionText("Firmware version:", 0);

    const QString fifty = Characters(50);
    row.panel.SetValueText(fifty);
    EXPECT_EQ(row.panel.GetValueText(), " " + fifty);

    const QString fiftyOne = Characters(51);
    row.panel.SetValueText(fiftyOne);
    EXPECT_EQ(row.panel.GetValueText(), " " + fifty + "... Read more");
    EXPECT_EQ(row.panel.FullValueText(), fiftyOne);

    row.panel.SetValueText(Characters(200));
    EXPECT_EQ(row.panel.GetValueText(), " " + fifty + "... Read more");

    row.panel.SetValueText("");
    EXPECT_EQ(row.panel.GetValueText(), " ");

    // A character outside the basic plane is never cut in half.
    const QString wide = Characters(49) + QString::fromUtf8("\xF0\x9F\x8C\xA7") + "x";
    row.panel.SetValueText(wide);
    EXPECT_EQ(row.panel.GetValueText(), " " + Characters(49) + "... Read more");
}

TEST(StatusPanel, CaptionAndValueShareTheRowByTheLayoutRules) {
    Row row;
    row.panel.SetCaptionText("Serial number / HW Index:", 0);
    EXPECT_EQ(row.panel.GetCaptionText(), " Serial number / HW Index:");
    EXPECT_TRUE(row.panel.ValueLabel()->isHidden());
    EXPECT_EQ(row.panel.CaptionLabel()->width(), ClientWidth - 65);
    EXPECT_EQ(row.panel.CaptionLabel()->height(), RowHeight - 2);

    row.panel.SetValueText("09A12345 / 3");
    const int captionWidth = (ClientWidth - 100) / 2;
    EXPECT_FALSE(row.panel.ValueLabel()->isHidden());
    EXPECT_EQ(row.panel.CaptionLabel()->width(), captionWidth);
    EXPECT_EQ(row.panel.ValueLabel()->x(), 1 + captionWidth);
    EXPECT_GE(row.panel.ValueLabel()->width(), ClientWidth - captionWidth - 100);
    // The icon keeps its strip at the right edge, the value never reaches under it.
    EXPECT_EQ(row.panel.StatusIcon()->geometry(),
              QRect(1 + ClientWidth - 65, 1, 65, RowHeight - 2));
    row.panel.SetValueText(Characters(60));
    EXPECT_LE(row.panel.ValueLabel()->geometry().right(), row.panel.StatusIcon()->x() - 1);

    // Resizing applies the same rules to the new width; alone, the caption
    // keeps 10 px away from the icon.
    row.panel.resize(402, RowHeight);
    EXPECT_EQ(row.panel.CaptionLabel()->width(), (400 - 100) / 2);
    EXPECT_EQ(row.panel.ValueLabel()->x(), 1 + (400 - 100) / 2);
    row.panel.SetCaptionText("Firmware version:", 0);
    row.panel.resize(RowWidth, RowHeight);
    EXPECT_EQ(row.panel.CaptionLabel()->width(), ClientWidth - 65 - 10);
}

TEST(StatusPanel, SetCaptionTextHidesTheValueUntilTheNextValue) {
    Row row;
    row.panel.SetCaptionText("Firmware version:", 0);
    row.panel.SetValueText("2.14.0");
    ASSERT_FALSE(row.panel.ValueLabel()->isHidden());

    row.panel.SetCaptionText("Last configuration:", 0);
    EXPECT_TRUE(row.panel.ValueLabel()->isHidden());
    EXPECT_EQ(row.panel.GetCaptionText(), " Last configuration:");
    // Setting an icon does not bring a hidden value back.
    row.panel.SetStatusImage(Pictures::successImage());
    EXPECT_TRUE(row.panel.ValueLabel()->isHidden());

    row.panel.SetValueText("2024-05-17");
    EXPECT_FALSE(row.panel.ValueLabel()->isHidden());
    EXPECT_EQ(row.panel.GetValueText(), " 2024-05-17");
}

TEST(StatusPanel, StatusImageReappliesTheValueAndAnEmptyOneAsTwoBlanks) {
    Row row;
    row.panel.SetCaptionText("Heating mode:", 0);
    row.panel.SetValueText("");
    row.panel.SetStatusImage(Pictures::failedImage());
    EXPECT_EQ(row.panel.FullValueText(), "  ");
    EXPECT_EQ(row.panel.GetValueText(), "   ");
    EXPECT_TRUE(row.panel.IconShowsPicture());

    // A long value is laid out again from the full text, not from the cut one.
    const QString longValue = Characters(70);
    row.panel.SetValueText(longValue);
    row.panel.SetStatusImage(Pictures::successImage());
    EXPECT_EQ(row.panel.FullValueText(), longValue);
    EXPECT_EQ(row.panel.GetValueText(), " " + Characters(50) + "... Read more");

    // A hidden icon is shown again by the next picture.
    row.panel.SetPartsVisible(true, true, false);
    EXPECT_FALSE(row.panel.IconShowsPicture());
    row.panel.SetStatusImage(Pictures::WarningImage());
    EXPECT_TRUE(row.panel.IconShowsPicture());
}

TEST(StatusPanel, PointerColoursTheRowUntilItIsHighlighted) {
    Row row;
    row.panel.SetCaptionText("Firmware version:", 0);
    row.panel.SetValueText("2.14.0");
    EXPECT_EQ(ShownColour(&row.panel, BackgroundPoint()), QColor(Qt::white));

    PointerEnters(&row.panel);
    EXPECT_EQ(ShownColour(&row.panel, BackgroundPoint()), QColor(192, 192, 192));
    PointerLeaves(&row.panel);
    EXPECT_EQ(ShownColour(&row.panel, BackgroundPoint()), QColor(Qt::white));

    row.panel.SetHighlighted(true);
    EXPECT_EQ(ShownColour(&row.panel, BackgroundPoint()), QColor(212, 212, 212));
    EXPECT_EQ(row.panel.CaptionLabel()->palette().color(QPalette::WindowText), QColor(77, 77, 77));
    EXPECT_EQ(row.panel.ValueLabel()->palette().color(QPalette::WindowText), QColor(77, 77, 77));
    PointerEnters(&row.panel);
    EXPECT_EQ(ShownColour(&row.panel, BackgroundPoint()), QColor(212, 212, 212));
    PointerLeaves(&row.panel);
    EXPECT_EQ(ShownColour(&row.panel, BackgroundPoint()), QColor(212, 212, 212));

    row.panel.SetHighlighted(false);
    EXPECT_EQ(ShownColour(&row.panel, BackgroundPoint()), QColor(77, 77, 77));
    EXPECT_EQ(row.panel.CaptionLabel()->palette().color(QPalette::WindowText),
              QColor(212, 212, 212));
    PointerEnters(&row.panel);
    EXPECT_EQ(ShownColour(&row.panel, BackgroundPoint()), QColor(77, 77, 77));
}

TEST(StatusPanel, ClicksOnThePartsCountForTheRowOnlyWhenForwarded) {
    Row row;
    row.panel.SetCaptionText("Status:", 0);
    row.panel.SetValueText("1040");
    row.panel.SetStatusImage(Pictures::WarningImage());
    QSignalSpy clicked(&row.panel, &TAXO_TTNTStatusPanel::clicked);

    QTest::mouseClick(row.panel.CaptionLabel(), Qt::LeftButton);
    QTest::mouseClick(row.panel.ValueLabel(), Qt::LeftButton);
    QTest::mouseClick(row.panel.StatusIcon(), Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 0);
    QTest::mouseClick(&row.panel, Qt::LeftButton, {}, QPoint(RowWidth - 1, 0));
    EXPECT_EQ(clicked.count(), 1);

    row.panel.ForwardClicks();
    QTest::mouseClick(row.panel.CaptionLabel(), Qt::LeftButton);
    QTest::mouseClick(row.panel.ValueLabel(), Qt::LeftButton);
    QTest::mouseClick(row.panel.StatusIcon(), Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 4);
    QTest::mouseClick(row.panel.CaptionLabel(), Qt::RightButton);
    EXPECT_EQ(clicked.count(), 4);
}

TEST(StatusPanel, CaptionFollowsItsTextIdAndTranslation) {
    LanguageScope english(OffsetEnglish);
    Row row;
    row.panel.SetCaptionText("Firmware version:", 18);
    EXPECT_EQ(row.panel.CaptionTextId(), 18);
    EXPECT_EQ(Tag(row.panel.CaptionLabel()), 18);

    LanguageOffset = OffsetGerman;
    row.panel.RetranslateCaption();
    ASSERT_FALSE(GetText(18).isEmpty());
    EXPECT_EQ(row.panel.GetCaptionText(), GetText(18)); // without the leading blank

    // A caption without id keeps its text.
    row.panel.SetCaptionText("Serial number", 0);
    row.panel.RetranslateCaption();
    EXPECT_EQ(row.panel.GetCaptionText(), " Serial number");
    EXPECT_EQ(row.panel.CaptionTextId(), 0);
}

TEST(StatusPanel, CaptionPropertyChangesTheCaptionOnly) {
    Row row;
    row.panel.SetCaptionText("Time", 560);
    row.panel.SetValueText("12:00:00");
    row.panel.setProperty("caption", QStringLiteral("Zeit"));
    EXPECT_EQ(row.panel.GetCaptionText(), " Zeit");
    EXPECT_EQ(row.panel.property("caption").toString(), "Zeit");
    EXPECT_FALSE(row.panel.ValueLabel()->isHidden());
    EXPECT_EQ(row.panel.GetValueText(), " 12:00:00");
    EXPECT_EQ(row.panel.CaptionTextId(), 560);
}

TEST(StatusPanel, OpaqueWhiteOfAnIconPictureIsNotDrawn) {
    Row row;
    row.panel.SetCaptionText("Status:", 0);
    row.panel.SetHighlighted(false); // dark row
    QPixmap picture(30, 30);
    picture.fill(Qt::white);
    ASSERT_FALSE(picture.hasAlphaChannel());
    row.panel.SetStatusImage(picture);

    const QRect icon = row.panel.StatusIcon()->geometry();
    EXPECT_EQ(ShownColour(&row.panel, icon.center()), QColor(77, 77, 77));
}

TEST(StatusPanel, TranslationByTagKeepsTheValue) {
    LanguageScope english(OffsetEnglish);
    QWidget frame;
    auto* row = new TAXO_TTNTStatusPanel(&frame);
    row->resize(RowWidth, RowHeight);
    row->SetCaptionText("Firmware version:", 0);
    row->SetValueText("2.14.0");
    SetTag(row, 18);
    TranslateComponents(&frame);
    ASSERT_FALSE(GetText(18).isEmpty());
    EXPECT_EQ(row->GetCaptionText(), " " + GetText(18));
    EXPECT_EQ(row->GetValueText(), " 2.14.0");
    EXPECT_FALSE(row->ValueLabel()->isHidden());
}
