// The points of a compare chart taken from the measurement history.

#include "support/QtPrinters.h"
#include "measurement/ComparePoints.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

// Makes loc the default locale for the lifetime of the guard.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) : saved_(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

// A history whose records carry value at position 4, one a second from 10:00:00.
TMeasurementValueArray History(const std::vector<std::string>& values) {
    TMeasurementValueArray history;
    for (std::size_t i = 0; i < values.size(); ++i) {
        MeasurementValues::Strings strings;
        strings[4] = values[i];
        strings[5] = "+99";
        history.Append(MeasurementValues(
            DateTimeValue(QDateTime(QDate(2024, 5, 6), QTime(10, 0, static_cast<int>(i)))), strings));
    }
    return history;
}

} // namespace

TEST(ComparePointsTest, EachRecordBecomesAPointWithItsTimeAndValue) {
    LocaleScope c(QLocale::c());
    ComparePoints points(4);
    EXPECT_EQ(points.Append(History({"+1.5", "-0.25", "+12"})), 3u);
    ASSERT_EQ(points.Count(), 3u);
    EXPECT_FLOAT_EQ(points.Y(0), 1.5f);
    EXPECT_FLOAT_EQ(points.Y(1), -0.25f);
    EXPECT_FLOAT_EQ(points.Y(2), 12.0f);
    EXPECT_EQ(points.TimeText(2), "10:00:02");
    EXPECT_EQ(points.ValueText(1), "-0.25") << "listed as received";
    EXPECT_FLOAT_EQ(points.Minimum(), -0.25f);
    EXPECT_FLOAT_EQ(points.Maximum(), 12.0f);
}

TEST(ComparePointsTest, OnlyRecordsBeyondThePointsAreConverted) {
    ComparePoints points(4);
    points.Append(History({"+1", "+2"}));
    EXPECT_EQ(points.Append(History({"+1", "+2"})), 0u);
    EXPECT_EQ(points.Append(History({"+7", "+8", "+3"})), 1u) << "the first two are charted already";
    EXPECT_FLOAT_EQ(points.Y(1), 2.0f);
    EXPECT_FLOAT_EQ(points.Y(2), 3.0f);
    // An emptied history leaves the points alone.
    EXPECT_EQ(points.Append(TMeasurementValueArray()), 0u);
    EXPECT_EQ(points.Count(), 3u);
}

TEST(ComparePointsTest, AValueThatIsNotANumberIsAGapListedWithItsText) {
    LocaleScope c(QLocale::c());
    ComparePoints points(4);
    points.Append(History({"+1", "", "abc", "+1e50", "nan", "inf", "+4"}));
    ASSERT_EQ(points.Count(), 7u);
    for (std::size_t i : {1u, 2u, 3u, 4u, 5u})
        EXPECT_TRUE(points.IsGap(i)) << i;
    EXPECT_FALSE(points.IsGap(6));
    EXPECT_EQ(points.ValueText(2), "abc");
    EXPECT_EQ(points.ValueText(1), "");
    EXPECT_FLOAT_EQ(points.Maximum(), 4.0f) << "gaps do not scale the axis";
}

TEST(ComparePointsTest, TheDecimalSeparatorBecomesTheLocales) {
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    ComparePoints points(4);
    points.Append(History({"+0.05", "12,5"}));
    EXPECT_EQ(points.ValueText(0), "+0,05");
    EXPECT_FLOAT_EQ(points.Y(0), 0.05f);
    EXPECT_FLOAT_EQ(points.Y(1), 12.5f);
    {
        LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
        ComparePoints dotted(4);
        dotted.Append(History({"12,5", "1,234,5"}));
        EXPECT_EQ(dotted.ValueText(0), "12.5");
        EXPECT_FLOAT_EQ(dotted.Y(0), 12.5f);
        EXPECT_EQ(dotted.ValueText(1), "1.234,5");
        EXPECT_TRUE(dotted.IsGap(1));
    }
}
