// Texts and display values derived from the gauge's codes.

#include "support/LanguageScope.h"
#include "ui/GaugeVocabulary.h"
#include "ui/WideLanguageHandler.h"

#include <gtest/gtest.h>

namespace {

class EnglishTexts : public ::testing::Test {
    LanguageScope english_{OffsetEnglish};
};

} // namespace

TEST(GaugeVocabulary, FahrenheitIsRoundedToTheNearestDegree) {
    EXPECT_EQ(Vocabulary::DisplayedTemperature(5, 1), 41);
    EXPECT_EQ(Vocabulary::DisplayedTemperature(4, 1), 39); // 39.2
    EXPECT_EQ(Vocabulary::DisplayedTemperature(3, 1), 37); // 37.4
    EXPECT_EQ(Vocabulary::DisplayedTemperature(7, 1), 45); // 44.6
    EXPECT_EQ(Vocabulary::DisplayedTemperature(9, 1), 48); // 48.2
    EXPECT_EQ(Vocabulary::DisplayedTemperature(-3, 1), 27); // 26.6
    EXPECT_EQ(Vocabulary::DisplayedTemperature(-40, 1), -40);
    EXPECT_EQ(Vocabulary::DisplayedTemperature(5, 0), 5);
    EXPECT_EQ(Vocabulary::DisplayedTemperature(4, 0), 4);
}

TEST_F(EnglishTexts, CodesNameTheirTexts) {
    EXPECT_EQ(Vocabulary::ModelName(0), QStringLiteral("Axo Tessra2"));
    EXPECT_EQ(Vocabulary::ModelName(1), QStringLiteral("Axo Tessra2 L"));
    EXPECT_EQ(Vocabulary::ModelName(2), QStringLiteral("Axo Tessra2 S"));
    EXPECT_EQ(Vocabulary::ModelName(-5), QString());
    EXPECT_EQ(Vocabulary::ModelName(3), QString());
    EXPECT_EQ(Vocabulary::TemperatureUnitText(1), QStringLiteral("°F"));
    EXPECT_EQ(Vocabulary::IntensityUnitText(3), QStringLiteral("inch/h"));
    EXPECT_EQ(Vocabulary::HeatingModeText(1), QStringLiteral("permanent"));
    EXPECT_EQ(Vocabulary::GaugeTypeText(0), QStringLiteral("200 cm²"));
    EXPECT_EQ(Vocabulary::GaugeTypeText(4), QStringLiteral("user defined"));
    EXPECT_EQ(Vocabulary::GaugeTypeText(5), QString());
    EXPECT_EQ(Vocabulary::GaugeTypeText(-1), QString());
}
