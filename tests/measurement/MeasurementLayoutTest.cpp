// The status word's decoding table and the unit strings of the rows, in English.

#include "support/QtPrinters.h"
#include "measurement/MeasurementLayout.h"
#include "support/LanguageScope.h"

#include <gtest/gtest.h>

using namespace MeasurementLayout;

namespace {

class LayoutInEnglish : public ::testing::Test {
protected:
    LanguageScope english{OffsetEnglish};
};

} // namespace

TEST_F(LayoutInEnglish, Word1026GivesTheFailureOfMask1024ThenTheWarningOfMask2) {
    EXPECT_EQ(DecodeStatusWord(1026),
              (QStringList{"1024: Tessra main board not calibrated (Failure)",
                           "2: USB interface connected (Warning)"}));
}

TEST_F(LayoutInEnglish, EveryMaskOfTheTableHasItsLineAndClass) {
    const QStringList lines = DecodeStatusWord(2047);
    EXPECT_EQ(lines, (QStringList{
                         "1024: Tessra main board not calibrated (Failure)",
                         "512: Weight above maximum (Failure)",
                         "256: Weight below minimum (Failure)",
                         "128: Weight measurement failure (Failure)",
                         "64: Weight measurement unstable (noise) (Failure)",
                         "32: Supply voltage < 7 V (Warning)",
                         "16: Weight change out of range (Warning)",
                         "8: Restart due to power of watchdog (Warning)",
                         "4: Restart because of power failure (Warning)",
                         "2: USB interface connected (Warning)",
                         "1: Bucket content > 80% (Warning)",
                     }));
}

TEST_F(LayoutInEnglish, BitsOutsideTheTableAreIgnored) {
    EXPECT_TRUE(DecodeStatusWord(0).isEmpty());
    EXPECT_TRUE(DecodeStatusWord(2048).isEmpty());
    EXPECT_EQ(DecodeStatusWord(2048 + 4096 + 1), (QStringList{"1: Bucket content > 80% (Warning)"}));
}

TEST_F(LayoutInEnglish, TheStatusValueIsReadAsADecimalIntegerWithItsSign) {
    int word = -1;
    EXPECT_TRUE(ParseStatusWord("+0", word));
    EXPECT_EQ(word, 0);
    EXPECT_TRUE(ParseStatusWord("+1026", word));
    EXPECT_EQ(word, 1026);
    for (const char* bad : {"", "+", "+1.0", "1e3", "+10x", " 5"})
        EXPECT_FALSE(ParseStatusWord(bad, word)) << bad;
}

TEST_F(LayoutInEnglish, TheAnalysisNamesTheStatusRowTheWordItsLinesAndTheAdvice) {
    EXPECT_EQ(AnalysisReport(1026),
              "Analysis Axo Tessra2 status (1026)\r\n\r\n"
              "1024: Tessra main board not calibrated (Failure)\r\n"
              "2: USB interface connected (Warning)\r\n"
              "\r\n"
              "An error code was displayed.\r\nTo ensure wether the error is permanent,\r\n"
              "please repeat the measuring");
    EXPECT_EQ(DecodedLinesReport(6), "4: Restart because of power failure (Warning)\r\n"
                                     "2: USB interface connected (Warning)\r\n");
}

TEST_F(LayoutInEnglish, UnitsFollowTheGaugesUnitIndices) {
    EXPECT_EQ(UnitText(0, 0, 0), "mm/min");
    EXPECT_EQ(UnitText(0, 3, 0), "inch/h");
    EXPECT_EQ(UnitText(2, 2, 0), "inch (inactive while USB connected)");
    EXPECT_EQ(UnitText(5, 1, 0), "mm");
    EXPECT_EQ(UnitText(6, 0, 1), "°F");
    EXPECT_EQ(UnitText(9, 0, 0), "°C");
    EXPECT_EQ(UnitText(10, 0, 0), "V");
    EXPECT_EQ(UnitText(11, 0, 1), "°F");
    EXPECT_EQ(UnitText(7, 1, 0), "");
}

TEST_F(LayoutInEnglish, AFailedUnitQueryGivesNoUnitText) {
    for (const int unknown : {-1, 4, 9}) {
        EXPECT_EQ(UnitText(0, unknown, 0), "") << unknown;
        EXPECT_EQ(UnitText(4, unknown, 0), "") << unknown;
        EXPECT_EQ(UnitText(1, unknown, 0), "(inactive while USB connected)") << unknown;
    }
    for (const int unknown : {-1, 2})
        for (const int position : {6, 9, 11})
            EXPECT_EQ(UnitText(position, 0, unknown), "") << position << " " << unknown;
}

TEST_F(LayoutInEnglish, RowTitlesAreTheTextsOfTheGaugesMeasurementLayout) {
    const int expected[] = {110, 111, 112, 113, 114, 115, 116, 117, 118, 120, 121, 122};
    for (int position = 0; position < PositionCount; ++position)
        EXPECT_EQ(RowTitleTextId(position), expected[position]);
}
