// Numbers in the precision test's fixed patterns ("#0.00", "#0.000",
// "#0.0000", "#0.#####"): rounding, signs and the decimal separator.

#include "precision/DecimalFormat.h"
#include "support/DefaultLocaleScope.h"

#include <gtest/gtest.h>

using namespace Precision;

TEST(DecimalFormat, FixedDecimalsRoundHalfAwayFromZero) {
    const QChar point = u'.';
    EXPECT_EQ(FormatFixed(0.125, 2, point), "0.13"); // an exact half
    EXPECT_EQ(FormatFixed(-0.125, 2, point), "-0.13");
    EXPECT_EQ(FormatFixed(2.675, 2, point), "2.67"); // 2.67499999... in binary
    EXPECT_EQ(FormatFixed(0.0005, 3, point), "0.001");
    EXPECT_EQ(FormatFixed(9.995, 2, point), "9.99"); // 9.99499999... in binary
    EXPECT_EQ(FormatFixed(9.9951, 2, point), "10.00");
    EXPECT_EQ(FormatFixed(999.999, 2, point), "1000.00");
    EXPECT_EQ(FormatFixed(0.0, 2, point), "0.00");
    EXPECT_EQ(FormatFixed(1234567.0, 2, point), "1234567.00"); // no thousands separator
    EXPECT_EQ(FormatFixed(1.5, 4, point), "1.5000");
}

TEST(DecimalFormat, NegativeValuesKeepTheirSign) {
    const QChar point = u'.';
    EXPECT_EQ(FormatFixed(-0.0004, 3, point), "-0.000");
    EXPECT_EQ(FormatFixed(-1.0, 2, point), "-1.00");
    EXPECT_EQ(FormatFixed(-0.0, 2, point), "0.00"); // negative zero is zero
}

TEST(DecimalFormat, UpToFiveDecimalsWithoutTrailingZeros) {
    const QChar point = u'.';
    EXPECT_EQ(FormatUpTo(1000.0, 5, point), "1000");
    EXPECT_EQ(FormatUpTo(2.5, 5, point), "2.5");
    EXPECT_EQ(FormatUpTo(0.123456, 5, point), "0.12346");
    EXPECT_EQ(FormatUpTo(0.000004, 5, point), "0");
    EXPECT_EQ(FormatUpTo(-12.25, 5, point), "-12.25");
}

TEST(DecimalFormat, LocaleDecimalSeparator) {
    {
        DefaultLocaleScope german(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(FormatFixed(1234.5, 2), "1234,50");
        EXPECT_EQ(FormatUpTo(2.5, 5), "2,5");
    }
    DefaultLocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(FormatFixed(1234.5, 2), "1234.50");
}
