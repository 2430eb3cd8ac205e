#include "measurement/CompareChartRange.h"

#include <algorithm>

void CompareChartRange::Update(std::size_t count, int columns) {
    const std::size_t before = count_;
    count_ = count;
    columns_ = std::max(1, columns);
    if (!whole_ && (count < before || Last() - First() <= MinimumSpan)) {
        ShowWhole();
        return;
    }
    if (whole_) {
        SetWholeRange();
        return;
    }
    // A part that showed the newest point, or ended within a pixel of it,
    // follows it.
    const double pixel = Span() / columns_;
    if (count > before && high_ + pixel >= static_cast<double>(before) - 1.0) {
        const auto grown = static_cast<double>(count - before);
        low_ += grown;
        high_ += grown;
    }
    KeepInside();
}

void CompareChartRange::SetWholeRange() {
    // The whole run reaches a little beyond the last point, so that a long
    // history changes its scale only once it has grown by about a pixel's
    // worth of points, not on every new record.
    const double count = static_cast<double>(std::max<std::size_t>(1, count_));
    const double needed = count - 0.5;
    const double slack = count_ > 2 * static_cast<std::size_t>(columns_) ? count / columns_ : 0.0;
    low_ = First();
    if (high_ < needed || high_ > needed + slack)
        high_ = needed + slack;
}

void CompareChartRange::ZoomAt(double anchor, double factor) {
    const double full = Last() - First();
    if (full <= MinimumSpan || factor <= 0.0)
        return;
    const double span = Span();
    const double wanted = std::clamp(span * factor, MinimumSpan, full);
    if (wanted >= full) {
        ShowWhole();
        return;
    }
    const double ratio = wanted / span;
    low_ = anchor - (anchor - low_) * ratio;
    high_ = low_ + wanted;
    whole_ = false;
    KeepInside();
}

void CompareChartRange::PanBy(double delta) {
    if (whole_)
        return;
    low_ += delta;
    high_ += delta;
    KeepInside();
}

void CompareChartRange::ShowWhole() {
    whole_ = true;
    high_ = 0.0;
    SetWholeRange();
}

void CompareChartRange::KeepInside() {
    const double span = Span();
    if (low_ < First()) {
        low_ = First();
        high_ = low_ + span;
    }
    if (high_ > Last()) {
        high_ = Last();
        low_ = std::max(First(), high_ - span);
    }
}
