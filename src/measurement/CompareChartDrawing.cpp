#include "measurement/CompareChartDrawing.h"

#include <cmath>
#include <limits>

namespace CompareChartDrawing {

namespace {

void EndRun(std::vector<QList<QPointF>>& runs, QList<QPointF>& run) {
    if (!run.isEmpty()) {
        runs.push_back(std::move(run));
        run = QList<QPointF>();
    }
}

QPointF Point(const std::vector<float>& values, std::size_t i) {
    return QPointF(static_cast<double>(i), static_cast<double>(values[i]));
}

std::vector<QList<QPointF>> EveryPoint(const std::vector<float>& values) {
    std::vector<QList<QPointF>> runs;
    QList<QPointF> run;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (std::isnan(values[i]))
            EndRun(runs, run);
        else
            run.append(Point(values, i));
    }
    EndRun(runs, run);
    return runs;
}

} // namespace

std::vector<QList<QPointF>> Runs(const std::vector<float>& values, int columns) {
    const std::size_t count = values.size();
    if (columns <= 0 || count <= 2 * static_cast<std::size_t>(columns))
        return EveryPoint(values);

    std::vector<QList<QPointF>> runs;
    QList<QPointF> run;
    const auto width = static_cast<std::size_t>(columns);
    for (std::size_t column = 0; column < width; ++column) {
        const std::size_t begin = column * count / width;
        const std::size_t end = (column + 1) * count / width;
        std::size_t low = end;
        std::size_t high = end;
        bool gap = false;
        for (std::size_t i = begin; i < end; ++i) {
            const float y = values[i];
            if (std::isnan(y)) {
                gap = true;
                continue;
            }
            if (low == end || y < values[low])
                low = i;
            if (high == end || y > values[high])
                high = i;
        }
        if (gap)
            EndRun(runs, run);
        if (low != end) {
            const std::size_t first = std::min(low, high);
            const std::size_t second = std::max(low, high);
            run.append(Point(values, first));
            if (second != first)
                run.append(Point(values, second));
        }
        if (gap)
            EndRun(runs, run);
    }
    EndRun(runs, run);
    return runs;
}

std::size_t LabelStep(std::size_t count, double plotWidth, double labelWidth) {
    if (count <= 1 || plotWidth <= 0.0)
        return 1;
    const double perPoint = plotWidth / static_cast<double>(count);
    std::size_t decade = 1;
    for (;;) {
        for (const std::size_t factor : {1u, 2u, 5u}) {
            const std::size_t step = factor * decade;
            if (static_cast<double>(step) * perPoint >= labelWidth || step >= count)
                return step;
        }
        if (decade > std::numeric_limits<std::size_t>::max() / 10)
            return count;
        decade *= 10;
    }
}

std::vector<std::size_t> LabelIndices(std::size_t count, std::size_t step) {
    std::vector<std::size_t> indices;
    if (step == 0)
        return indices;
    for (std::size_t i = 0; i < count; i += step)
        indices.push_back(i);
    return indices;
}

} // namespace CompareChartDrawing
