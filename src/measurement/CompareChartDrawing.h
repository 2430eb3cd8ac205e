#pragma once

// What a compare chart draws of its points, without any widget.
//
// Lines: the points from low to high on the time axis (and the nearest one
// beyond each end, so the line runs on to the plot's edge), split into one
// run per stretch (see ComparePoints). The axis is cut into as many slices
// as the plot has pixel columns; each slice draws the lowest and the highest
// point of each stretch in it, in the order they were recorded. So no
// extreme value disappears at any zoom, a slice of one or two points draws
// them all, and the cost of drawing follows the width of the chart, not
// the length of the history. A slice crossed by more than two holes draws
// the stretches at its ends and, of those between, only the lowest and the
// highest point, each as a mark of its own.
//
// Labels: the time labels of the horizontal axis are a subset of the
// points, every step-th one, with the step chosen from 1, 2, 5, 10, 20, 50,
// ... so that neighbouring labels never overlap.

#include <QList>
#include <QPointF>

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

class ComparePoints;

namespace CompareChartDrawing {

// columns: pixel columns of the plot, showing positions low to high.
std::vector<QList<QPointF>> Runs(const ComparePoints& points, double low, double high, int columns);

// Smallest step of the 1-2-5 series so that labels every step points apart,
// pixelsPerPoint apart on the plot, keep at least labelWidth pixels between
// their centres; at most limit.
std::size_t LabelStep(double pixelsPerPoint, double labelWidth, std::size_t limit);
// The positions that carry a label: the multiples of step in [first, end).
std::vector<std::size_t> LabelIndices(std::size_t first, std::size_t end, std::size_t step);

// The drawn point whose pixel (toPixel) lies nearest to pointer, among the
// points from low to high on the time axis; none when there is none.
std::optional<QPointF> Nearest(const std::vector<QList<QPointF>>& runs, double low, double high,
                               const std::function<QPointF(const QPointF&)>& toPixel,
                               const QPointF& pointer);

} // namespace CompareChartDrawing
