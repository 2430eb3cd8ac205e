// The gauge handler's texts come from the program's text table.

#include "gauge/SDIHandler.h"
#include "support/LanguageScope.h"

#include <gtest/gtest.h>

TEST(GaugeTextSource, TheGaugeHandlerSpeaksTheCurrentLanguage) {
    InstallGaugeTextSource();
    LanguageScope english(OffsetEnglish);
    EXPECT_EQ(TSDIHandler::Text(186), "Weight change out of range");
    LanguageScope german(OffsetGerman);
    EXPECT_EQ(TSDIHandler::Text(186), TableEntry(186));
    EXPECT_EQ(TSDIHandler::Text(0), "");
}
