#include "measurement/ComparePoints.h"

#include "ui/TimeTexts.h"
#include "ui/UiHelpers.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {

QString Latin1(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

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
    y_.reserve(history.Size());
    time_.reserve(history.Size());
    text_.reserve(history.Size());
    for (std::size_t i = first; i < history.Size(); ++i) {
        const MeasurementValues& record = history[i];
        const std::string_view raw = record.Value(position_);
        float value = std::numeric_limits<float>::quiet_NaN();
        if (ToNumber(LocalizeDecimalSeparator(Latin1(raw)), value)) {
            if (numbers_ == 0) {
                minimum_ = maximum_ = value;
            } else {
                minimum_ = std::min(minimum_, value);
                maximum_ = std::max(maximum_, value);
            }
            ++numbers_;
        } else {
            value = std::numeric_limits<float>::quiet_NaN();
        }
        y_.push_back(value);
        time_.push_back(record.Time);
        text_.emplace_back(raw);
    }
    return added;
}

void ComparePoints::Clear() {
    y_.clear();
    time_.clear();
    text_.clear();
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
    return LocalizeDecimalSeparator(Latin1(text_[i]));
}

std::size_t ComparePoints::HeapBytes() const {
    std::size_t bytes = y_.capacity() * sizeof(float) + time_.capacity() * sizeof(double) +
                        text_.capacity() * sizeof(std::string);
    for (const std::string& text : text_)
        if (text.capacity() > std::string().capacity())
            bytes += text.capacity() + 1;
    return bytes;
}
