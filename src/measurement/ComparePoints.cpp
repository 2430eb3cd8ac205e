#include "measurement/ComparePoints.h"

#include "link/ByteText.h"
#include "ui/TimeTexts.h"
#include "ui/UiHelpers.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool ComparePoints::ToNumber(std::string_view raw, float& value) {
    // The gauge's usual form, an optional sign, digits and at most one
    // decimal separator, reads the same in every locale once that separator
    // is the locale's; it is read here without building texts.
    std::size_t at = raw.empty() || (raw[0] != '+' && raw[0] != '-') ? 0 : 1;
    const std::size_t digitsStart = at;
    while (at < raw.size() && IsDigit(raw[at]))
        ++at;
    bool plain = at > digitsStart;
    char buffer[32];
    if (plain && at < raw.size()) {
        const std::size_t separator = at++;
        const std::size_t decimals = at;
        while (at < raw.size() && IsDigit(raw[at]))
            ++at;
        plain = (raw[separator] == '.' || raw[separator] == ',') && at > decimals;
    }
    plain = plain && at == raw.size() && raw.size() < sizeof buffer;
    if (plain) {
        // from_chars reads no "+" and no ",".
        std::size_t length = 0;
        for (std::size_t i = raw[0] == '+' ? 1 : 0; i < raw.size(); ++i)
            buffer[length++] = raw[i] == ',' ? '.' : raw[i];
        double number = 0.0;
        const auto [end, error] = std::from_chars(buffer, buffer + length, number);
        if (error == std::errc() && end == buffer + length &&
            std::fabs(number) <= std::numeric_limits<float>::max()) {
            value = static_cast<float>(number);
            return true;
        }
        return false;
    }
    return ToNumber(LocalizeDecimalSeparator(Latin1Text(raw)), value);
}

bool ComparePoints::ToNumber(const QString& localized, float& value) {
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double number = locale.toDouble(localized, &ok);
    if (!ok || !std::isfinite(number) || std::fabs(number) > std::numeric_limits<float>::max())
        return false;
    value = static_cast<float>(number);
    return true;
}

std::size_t ComparePoints::Append(const TMeasurementValueArray& history) {
    const std::size_t first = Count();
    if (history.Size() <= first)
        return 0;
    const std::size_t added = history.Size() - first;
    // Many records at once (a chart opened on a long history): room for all
    // of them in one go. One record a tick grows the usual way.
    if (added > y_.capacity() - y_.size()) {
        const std::size_t room = std::max(history.Size(), 2 * y_.size());
        y_.reserve(room);
        time_.reserve(room);
        textEnds_.reserve(room);
    }
    for (std::size_t i = first; i < history.Size(); ++i) {
        const MeasurementValues& record = history[i];
        if (history.GapBefore(i))
            AddHole(i, i);
        const std::string_view raw = record.Value(position_);
        float value = std::numeric_limits<float>::quiet_NaN();
        if (ToNumber(raw, value)) {
            if (numbers_ == 0) {
                minimum_ = maximum_ = value;
            } else {
                minimum_ = std::min(minimum_, value);
                maximum_ = std::max(maximum_, value);
            }
            ++numbers_;
        } else {
            value = std::numeric_limits<float>::quiet_NaN();
            AddHole(i, i + 1);
        }
        y_.push_back(value);
        time_.push_back(record.Time);
        text_.append(raw);
        textEnds_.push_back(text_.size());
    }
    extremes_.Update(y_);
    return added;
}

void ComparePoints::AddHole(std::size_t begin, std::size_t end) {
    // A hole that meets the last one widens it.
    if (!holes_.empty() && holes_.back().end == begin) {
        holes_.back().end = end;
        return;
    }
    holes_.push_back(Hole{begin, end});
}

void ComparePoints::Clear() {
    y_.clear();
    time_.clear();
    text_.clear();
    textEnds_.clear();
    holes_.clear();
    extremes_.Clear();
    numbers_ = 0;
    minimum_ = maximum_ = 0.0f;
}

bool ComparePoints::IsGap(std::size_t i) const {
    return std::isnan(y_[i]);
}

QString ComparePoints::TimeText(std::size_t i) const {
    return ClockText(DateTimeOf(time_[i]));
}

QString ComparePoints::ValueText(std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : textEnds_[i - 1];
    return LocalizeDecimalSeparator(
        Latin1Text(std::string_view(text_).substr(begin, textEnds_[i] - begin)));
}

std::size_t ComparePoints::HeapBytes() const {
    return y_.capacity() * sizeof(float) + time_.capacity() * sizeof(double) +
           textEnds_.capacity() * sizeof(std::size_t) + text_.capacity() + 1 +
           holes_.capacity() * sizeof(Hole) + extremes_.HeapBytes();
}
