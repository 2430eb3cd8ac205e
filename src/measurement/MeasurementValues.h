#pragma once

// One completed measurement (its start time and the twelve value strings as
// the gauge sent them) and the growable history of them that the
// measurement area keeps and the compare charts read.
//
// A long continuous measurement records one measurement a second, 86,400 a
// day, so a record keeps its twelve strings packed in one buffer.

#include <QDateTime>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Value positions: 0 to 8 the values of "M!", 9 to 11 those of "M1!".
inline constexpr std::size_t MeasurementPositionCount = 12;

// Date and time as days since 30 December 1899, the fraction being the time
// of day (local time), to the millisecond.
double DateTimeValue(const QDateTime& when);
// The same of a date and a time of day taken as they are (a time that a
// daylight saving change skips is kept, not moved).
double DateTimeValue(const QDate& date, const QTime& time);
QDateTime DateTimeOf(double value);

// The fields of such a value, decoded without building a QDateTime.
struct DateTimeFields {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};
DateTimeFields DecodeDateTimeValue(double value);

class MeasurementValues {
public:
    using Strings = std::array<std::string_view, MeasurementPositionCount>;

    MeasurementValues() = default;
    MeasurementValues(double time, const Strings& values);

    // Start of the measurement (DateTimeValue).
    double Time = 0.0;
    // The value string of position 0 to 11 (empty for any other position).
    std::string_view Value(std::size_t position) const;

    // Heap bytes the record holds beyond its own size.
    std::size_t HeapBytes() const;

private:
    std::string text_; // the twelve strings one after the other
    std::array<std::uint32_t, MeasurementPositionCount> ends_{};
};

// The history: grows by one record per measurement, has no limit. A run
// that lost its gauge and resumed marks the gap: the record taken after it
// starts a new stretch, so no line joins it to the one before.
class TMeasurementValueArray {
public:
    void Append(MeasurementValues record) { records_.push_back(std::move(record)); }
    void Clear() {
        std::vector<MeasurementValues>().swap(records_);
        gaps_.clear();
    }
    std::size_t Size() const { return records_.size(); }
    bool Empty() const { return records_.empty(); }
    const MeasurementValues& operator[](std::size_t index) const { return records_[index]; }
    const MeasurementValues& Last() const { return records_.back(); }
    void Reserve(std::size_t count) { records_.reserve(count); }

    // The next record appended follows a gap (nothing happens on an empty
    // history, or when a gap is already marked there).
    void MarkGap();
    // Whether record index follows a gap.
    bool GapBefore(std::size_t index) const;
    // The indices of the records that follow a gap, ascending.
    const std::vector<std::size_t>& Gaps() const { return gaps_; }

private:
    std::vector<MeasurementValues> records_;
    std::vector<std::size_t> gaps_;
};
