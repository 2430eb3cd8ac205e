// The rounded panels and the locale's decimal separator.

#include "ui/UiHelpers.h"

#include <QLocale>
#include <QWidget>
#include <gtest/gtest.h>

TEST(RoundPanelCorners, NarrowedRoundedShapeFollowsTheSize) {
    QWidget panel;
    panel.resize(200, 100);
    RoundPanelCorners(&panel, 20);
    QRegion shape = panel.mask();
    EXPECT_EQ(shape.boundingRect(), QRect(3, 0, 194, 100));
    EXPECT_TRUE(shape.contains(QPoint(100, 50)));
    EXPECT_TRUE(shape.contains(QPoint(3, 50)));
    EXPECT_TRUE(shape.contains(QPoint(196, 50)));
    EXPECT_FALSE(shape.contains(QPoint(2, 50)));
    EXPECT_FALSE(shape.contains(QPoint(197, 50)));
    EXPECT_TRUE(shape.contains(QPoint(20, 0))); // straight top edge
    EXPECT_FALSE(shape.contains(QPoint(4, 1))); // cut corners
    EXPECT_FALSE(shape.contains(QPoint(195, 98)));
    EXPECT_FALSE(shape.contains(QPoint(4, 98)));

    panel.resize(120, 60);
    RoundPanelCorners(&panel, 20);
    EXPECT_EQ(panel.mask().boundingRect(), QRect(3, 0, 114, 60));

    panel.resize(4, 60); // too narrow for a shape
    RoundPanelCorners(&panel, 20);
    EXPECT_TRUE(panel.mask().isEmpty());
    RoundPanelCorners(nullptr, 20);
}

TEST(LocalizeDecimalSeparator, FirstSeparatorOnlyAndOnlyTowardsTheLocale) {
    EXPECT_EQ(LocalizeDecimalSeparator("12.5", u','), "12,5");
    EXPECT_EQ(LocalizeDecimalSeparator("12,5", u','), "12,5");
    EXPECT_EQ(LocalizeDecimalSeparator("1.234.5", u','), "1,234.5");
    EXPECT_EQ(LocalizeDecimalSeparator("1,234,5", u'.'), "1.234,5");
    EXPECT_EQ(LocalizeDecimalSeparator("12.5", u'.'), "12.5");
    EXPECT_EQ(LocalizeDecimalSeparator("", u'.'), "");
    EXPECT_EQ(LocalizeDecimalSeparator("12,5", QChar(0x066B)), "12,5"); // Arabic separator
    EXPECT_EQ(LocalizeDecimalSeparator("-9999", u','), "-9999");

    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(LocalizeDecimalSeparator("12.5"), "12,5");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(LocalizeDecimalSeparator("12,5"), "12.5");
    QLocale::setDefault(saved);
}
