#include "measurement/MeasurementValues.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 MsPerDay = 86400000;
// Days from 30 December 1899 to 1 January 1970.
constexpr qint64 DaysTo1970 = 25569;

// Whole days and milliseconds of the day of a value, rounded to the millisecond.
void Split(double value, qint64& days, qint64& ms) {
    if (!std::isfinite(value))
        value = 0.0;
    // Days before 1899 count backwards with a positive fraction of the day,
    // as the fraction always means the time of day.
    const double whole = std::trunc(value);
    double fraction = std::fabs(value - whole);
    days = static_cast<qint64>(whole);
    ms = static_cast<qint64>(std::llround(fraction * static_cast<double>(MsPerDay)));
    if (ms >= MsPerDay) {
        ms -= MsPerDay;
        days += value < 0 ? -1 : 1;
    }
}

// Civil date of a day count since 1 January 1970 (proleptic Gregorian).
void CivilFromDays(qint64 z, int& year, int& month, int& day) {
    z += 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 y = yoe + era * 400;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    const qint64 d = doy - (153 * mp + 2) / 5 + 1;
    const qint64 m = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(y + (m <= 2 ? 1 : 0));
    month = static_cast<int>(m);
    day = static_cast<int>(d);
}

} // namespace

double DateTimeValue(const QDateTime& when) {
    return DateTimeValue(when.date(), when.time());
}

double DateTimeValue(const QDate& date, const QTime& time) {
    const QDate epoch(1899, 12, 30);
    const qint64 days = epoch.daysTo(date);
    const double ms = static_cast<double>(time.msecsSinceStartOfDay());
    const double fraction = ms / static_cast<double>(MsPerDay);
    return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

QDateTime DateTimeOf(double value) {
    qint64 days = 0;
    qint64 ms = 0;
    Split(value, days, ms);
    return QDateTime(QDate(1899, 12, 30).addDays(days),
                     QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

DateTimeFields DecodeDateTimeValue(double value) {
    qint64 days = 0;
    qint64 ms = 0;
    Split(value, days, ms);
    DateTimeFields fields;
    CivilFromDays(days - DaysTo1970, fields.year, fields.month, fields.day);
    fields.hour = static_cast<int>(ms / 3600000);
    fields.minute = static_cast<int>(ms / 60000 % 60);
    fields.second = static_cast<int>(ms / 1000 % 60);
    fields.millisecond = static_cast<int>(ms % 1000);
    return fields;
}

MeasurementValues::MeasurementValues(double time, const Strings& values) : Time(time) {
    std::size_t total = 0;
    for (const std::string_view value : values)
        total += value.size();
    text_.reserve(total);
    for (std::size_t i = 0; i < MeasurementPositionCount; ++i) {
        text_.append(values[i]);
        // Gauge lines are short; twelve values never come near 4 GiB.
        ends_[i] = static_cast<std::uint32_t>(text_.size());
    }
}

std::string_view MeasurementValues::Value(std::size_t position) const {
    if (position >= MeasurementPositionCount)
        return {};
    const std::uint32_t begin = position == 0 ? 0 : ends_[position - 1];
    return std::string_view(text_).substr(begin, ends_[position] - begin);
}

std::size_t MeasurementValues::HeapBytes() const {
    // Short texts live inside the string itself.
    return text_.capacity() > std::string().capacity() ? text_.capacity() + 1 : 0;
}

void TMeasurementValueArray::MarkGap() {
    if (records_.empty() || (!gaps_.empty() && gaps_.back() == records_.size()))
        return;
    gaps_.push_back(records_.size());
}

bool TMeasurementValueArray::GapBefore(std::size_t index) const {
    return std::binary_search(gaps_.begin(), gaps_.end(), index);
}
