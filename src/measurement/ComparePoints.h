#pragma once

// The points of a compare chart without any widget: one value position
// followed over the measurement history. Each record becomes one point
// (x = its index in the history) with its time and value text; a value
// that is not a number is a gap. Records are converted once, when they are
// first seen; a history that was emptied meanwhile leaves the points alone
// until it holds more records than there are points.
//
// Stretches: the line of a chart joins neighbouring points of one stretch
// only. Holes part the stretches: the points that are gaps, and the place
// where the run lost its gauge and later resumed (a hole holding no point).

#include "measurement/ExtremesIndex.h"
#include "measurement/MeasurementValues.h"

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class ComparePoints {
public:
    explicit ComparePoints(std::size_t position = 0) : position_(position) {}

    std::size_t Position() const { return position_; }
    // Adds the records of history from index Count() on; returns how many.
    std::size_t Append(const TMeasurementValueArray& history);
    void Clear();

    std::size_t Count() const { return y_.size(); }
    // The value of point i; NaN for a gap.
    float Y(std::size_t i) const { return y_[i]; }
    bool IsGap(std::size_t i) const;
    // The record's time, "hh:nn:ss".
    QString TimeText(std::size_t i) const;
    // The value string with its decimal separator changed to the locale's.
    QString ValueText(std::size_t i) const;
    double Time(std::size_t i) const { return time_[i]; }
    const std::vector<float>& Values() const { return y_; }

    // Points [begin, end) have no line through them; begin == end marks a
    // lost gauge before point begin. Ascending, apart, never touching.
    struct Hole {
        std::size_t begin;
        std::size_t end;
    };
    const std::vector<Hole>& Holes() const { return holes_; }
    // Positions of the lowest and the highest point in [begin, end), a
    // range within one stretch; found in time independent of its length.
    std::pair<std::size_t, std::size_t> Extremes(std::size_t begin, std::size_t end) const {
        return extremes_.Find(y_, begin, end);
    }

    // Lowest and highest value of all points that are numbers.
    float Minimum() const { return minimum_; }
    float Maximum() const { return maximum_; }

    // Heap bytes held per point (for the memory figures).
    std::size_t HeapBytes() const;

    // s converted as the chart converts it: the value with its first "," or
    // "." as the locale's decimal separator, read in the locale, as a 32-bit
    // float; false for anything that is not a finite number.
    static bool ToNumber(const QString& localized, float& value);
    // The same for a value string as the gauge sent it.
    static bool ToNumber(std::string_view raw, float& value);

private:
    void AddHole(std::size_t begin, std::size_t end);

    std::size_t position_;
    std::vector<float> y_;
    std::vector<double> time_;
    // The value strings one after the other; point i's ends at textEnds_[i].
    // One buffer grows by copying bytes, not by moving a string per point.
    std::string text_;
    std::vector<std::size_t> textEnds_;
    std::vector<Hole> holes_;
    ExtremesIndex extremes_;
    std::size_t numbers_ = 0;
    float minimum_ = 0.0f;
    float maximum_ = 0.0f;
};
