#pragma once

// The stretch of the history a compare chart shows on its time axis, in
// point positions (point i at x = i), without any widget.
//
// At first the chart shows the whole run, and keeps showing it as records
// come in. Zooming (around a position that stays where it is on screen)
// and panning show a part of it; a part that reaches the newest point
// (or ends within a pixel of it)
// moves on with every new record, so the newest stays in view, while a
// part further back stays where it is. ShowWhole goes back to the whole run.

#include <cstddef>

class CompareChartRange {
public:
    // The narrowest part shown, in point positions.
    static constexpr double MinimumSpan = 4.0;

    // The chart holds count points now; columns: the plot's width in pixels.
    void Update(std::size_t count, int columns);

    bool Whole() const { return whole_; }
    double Low() const { return low_; }
    double High() const { return high_; }
    double Span() const { return high_ - low_; }

    // Narrows (factor < 1) or widens (factor > 1) the part shown so that
    // position anchor stays at the same place on the axis.
    void ZoomAt(double anchor, double factor);
    // Moves the part shown by delta positions (towards newer ones when positive).
    void PanBy(double delta);
    void ShowWhole();

private:
    // The outermost positions any part may show.
    double First() const { return -0.5; }
    double Last() const { return static_cast<double>(count_) - 0.5; }
    void SetWholeRange();
    void KeepInside();

    std::size_t count_ = 0;
    int columns_ = 1;
    bool whole_ = true;
    double low_ = -0.5;
    double high_ = 0.5;
};
