#pragma once

// What a compare chart draws of its points, without any widget.
//
// Lines: the points split into runs at every gap. While there are no more
// than two points per pixel column every point is drawn; beyond that each
// column draws its lowest and its highest point only (in the order they were
// recorded), so no extreme value disappears from view and the cost of
// drawing follows the width of the chart, not the length of the history.
// A column that holds a gap draws its extremes as a run of their own.
//
// Labels: the time labels of the horizontal axis are a subset of the
// points, every step-th one, with the step chosen from 1, 2, 5, 10, 20, 50,
// ... so that neighbouring labels never overlap.

#include <QList>
#include <QPointF>

#include <cstddef>
#include <vector>

namespace CompareChartDrawing {

// values: y of point i at x = i; NaN is a gap. columns: pixel columns of the plot.
std::vector<QList<QPointF>> Runs(const std::vector<float>& values, int columns);

// Smallest step of the 1-2-5 series so that labels every step points apart,
// on a plot of plotWidth pixels showing count points, keep at least
// labelWidth pixels between their centres.
std::size_t LabelStep(std::size_t count, double plotWidth, double labelWidth);
// The indices that carry a label: 0, step, 2 step, ... below count.
std::vector<std::size_t> LabelIndices(std::size_t count, std::size_t step);

} // namespace CompareChartDrawing
