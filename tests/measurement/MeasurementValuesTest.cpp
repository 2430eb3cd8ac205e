// Measurement records: the date-time value (days since 30 December 1899)
// and the twelve value strings kept as received.

#include "measurement/MeasurementValues.h"

#include <gtest/gtest.h>

TEST(DateTimeValueTest, CountsDaysFrom30December1899WithTheTimeOfDayAsFraction) {
    // Published reference points of this date-time format: day 2 is
    // 1 January 1900, 36526 is 1 January 2000.
    EXPECT_DOUBLE_EQ(DateTimeValue(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(DateTimeValue(QDateTime(QDate(1900, 1, 1), QTime(0, 0))), 2.0);
    EXPECT_DOUBLE_EQ(DateTimeValue(QDateTime(QDate(2000, 1, 1), QTime(18, 0))), 36526.75);
    EXPECT_DOUBLE_EQ(DateTimeValue(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
}

TEST(DateTimeValueTest, DecodesBackToTheMillisecond) {
    const QDateTime when(QDate(2014, 3, 5), QTime(14, 7, 9, 123));
    const double value = DateTimeValue(when);
    EXPECT_EQ(DateTimeOf(value), when);
    const DateTimeFields fields = DecodeDateTimeValue(value);
    EXPECT_EQ(fields.year, 2014);
    EXPECT_EQ(fields.month, 3);
    EXPECT_EQ(fields.day, 5);
    EXPECT_EQ(fields.hour, 14);
    EXPECT_EQ(fields.minute, 7);
    EXPECT_EQ(fields.second, 9);
    EXPECT_EQ(fields.millisecond, 123);
    // Just before midnight does not round into the next day.
    const DateTimeFields late =
        DecodeDateTimeValue(DateTimeValue(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999))));
    EXPECT_EQ(late.day, 29);
    EXPECT_EQ(late.millisecond, 999);
    const DateTimeFields leap = DecodeDateTimeValue(DateTimeValue(QDateTime(QDate(2000, 3, 1), QTime(0, 0))));
    EXPECT_EQ(leap.month, 3);
    EXPECT_EQ(leap.day, 1);
}

TEST(MeasurementValuesTest, KeepsEachOfTheTwelveStringsExactly) {
    const std::string nul("+1\0x", 4);
    MeasurementValues::Strings strings = {"+1.25", "", "-0.003", "+12345678.9", nul, "+0",
                                          "+21.5", "+1", "+1026", "+23.4", "+12.20", "+18.5"};
    const MeasurementValues record(41703.5, strings);
    EXPECT_EQ(record.Time, 41703.5);
    for (std::size_t i = 0; i < MeasurementPositionCount; ++i)
        EXPECT_EQ(record.Value(i), strings[i]) << i;
    EXPECT_EQ(record.Value(12), "");
}
