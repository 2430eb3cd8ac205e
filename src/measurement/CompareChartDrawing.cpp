#include "measurement/CompareChartDrawing.h"

#include "measurement/ComparePoints.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace CompareChartDrawing {

namespace {

// Points [begin, end) of one stretch.
struct Piece {
    std::size_t stretch;
    std::size_t begin;
    std::size_t end;
};

class RunBuilder {
public:
    explicit RunBuilder(const ComparePoints& points) : points_(points) {}

    // The piece's lowest and highest point, on the line of its stretch.
    void Draw(const Piece& piece) {
        if (piece.stretch != stretch_)
            End();
        stretch_ = piece.stretch;
        const auto [low, high] = points_.Extremes(piece.begin, piece.end);
        Add(std::min(low, high));
        if (low != high)
            Add(std::max(low, high));
    }

    // Of the pieces, only the lowest and the highest point, each alone.
    void DrawApart(const std::vector<Piece>& pieces) {
        std::size_t low = pieces.front().begin;
        std::size_t high = low;
        for (const Piece& piece : pieces) {
            const auto [pieceLow, pieceHigh] = points_.Extremes(piece.begin, piece.end);
            if (points_.Y(pieceLow) < points_.Y(low))
                low = pieceLow;
            if (points_.Y(pieceHigh) > points_.Y(high))
                high = pieceHigh;
        }
        End();
        Add(std::min(low, high));
        End();
        if (low != high) {
            Add(std::max(low, high));
            End();
        }
    }

    std::vector<QList<QPointF>> Finish() {
        End();
        return std::move(runs_);
    }

private:
    static constexpr std::size_t NoStretch = std::numeric_limits<std::size_t>::max();

    void Add(std::size_t i) {
        run_.append(QPointF(static_cast<double>(i), static_cast<double>(points_.Y(i))));
    }
    void End() {
        if (!run_.isEmpty()) {
            runs_.push_back(std::move(run_));
            run_ = QList<QPointF>();
        }
        stretch_ = NoStretch;
    }

    const ComparePoints& points_;
    std::vector<QList<QPointF>> runs_;
    QList<QPointF> run_;
    std::size_t stretch_ = NoStretch;
};

// Cuts [begin, end) at the holes into pieces of stretches. Slices are
// visited from left to right, so the holes are read once each.
class Slicer {
public:
    Slicer(const ComparePoints& points, std::size_t first) : holes_(points.Holes()) {
        // hole_: the number of holes that begin at or before the position.
        hole_ = static_cast<std::size_t>(
            std::upper_bound(
                holes_.begin(), holes_.end(), first,
                [](std::size_t at, const ComparePoints::Hole& hole) { return at < hole.begin; }) -
            holes_.begin());
    }

    void Cut(std::size_t begin, std::size_t end, std::vector<Piece>& pieces) {
        pieces.clear();
        std::size_t at = begin;
        while (hole_ < holes_.size() && holes_[hole_].begin <= at)
            ++hole_;
        if (hole_ > 0)
            at = std::max(at, holes_[hole_ - 1].end);
        while (at < end) {
            const std::size_t stop =
                hole_ < holes_.size() ? std::min(holes_[hole_].begin, end) : end;
            if (stop > at)
                pieces.push_back(Piece{hole_, at, stop});
            if (stop == end)
                break;
            at = holes_[hole_].end;
            ++hole_;
        }
    }

private:
    const std::vector<ComparePoints::Hole>& holes_;
    std::size_t hole_ = 0;
};

} // namespace

std::vector<QList<QPointF>> Runs(const ComparePoints& points, double low, double high,
                                 int columns) {
    const std::size_t count = points.Count();
    if (count == 0 || !(high >= low))
        return {};
    // The points in view and one beyond each end.
    const double firstShown = std::max(0.0, std::ceil(low) - 1.0);
    if (firstShown >= static_cast<double>(count))
        return {};
    const auto first = static_cast<std::size_t>(firstShown);
    const std::size_t end =
        std::min(count, static_cast<std::size_t>(std::max(0.0, std::floor(high) + 2.0)));
    if (first >= end)
        return {};

    // Slice k holds the positions [k width, (k + 1) width), a whole number
    // of points at least: slices fixed to the axis, so that panning moves
    // the picture and does not change it.
    const double width = std::max(1.0, (high - low) / std::max(1, columns));
    RunBuilder builder(points);
    Slicer slicer(points, first);
    std::vector<Piece> pieces;
    auto slice = static_cast<std::size_t>(std::floor(static_cast<double>(first) / width));
    for (std::size_t begin = first; begin < end; ++slice) {
        const std::size_t sliceEnd =
            std::min(end, std::max(begin + 1, static_cast<std::size_t>(std::ceil(
                                                  static_cast<double>(slice + 1) * width))));
        slicer.Cut(begin, sliceEnd, pieces);
        begin = sliceEnd;
        if (pieces.size() <= 3) {
            for (const Piece& piece : pieces)
                builder.Draw(piece);
            continue;
        }
        builder.Draw(pieces.front());
        builder.DrawApart(std::vector<Piece>(pieces.begin() + 1, pieces.end() - 1));
        builder.Draw(pieces.back());
    }
    return builder.Finish();
}

std::size_t LabelStep(double pixelsPerPoint, double labelWidth, std::size_t limit) {
    if (limit <= 1 || pixelsPerPoint <= 0.0)
        return 1;
    std::size_t decade = 1;
    for (;;) {
        for (const std::size_t factor : {1u, 2u, 5u}) {
            const std::size_t step = factor * decade;
            if (static_cast<double>(step) * pixelsPerPoint >= labelWidth || step >= limit)
                return step;
        }
        if (decade > std::numeric_limits<std::size_t>::max() / 10)
            return limit;
        decade *= 10;
    }
}

std::vector<std::size_t> LabelIndices(std::size_t first, std::size_t end, std::size_t step) {
    std::vector<std::size_t> indices;
    if (step == 0)
        return indices;
    for (std::size_t i = (first + step - 1) / step * step; i < end; i += step)
        indices.push_back(i);
    return indices;
}

std::optional<QPointF> Nearest(const std::vector<QList<QPointF>>& runs, double low, double high,
                               const std::function<QPointF(const QPointF&)>& toPixel,
                               const QPointF& pointer) {
    std::optional<QPointF> nearest;
    double best = std::numeric_limits<double>::infinity();
    for (const QList<QPointF>& run : runs) {
        for (const QPointF& point : run) {
            if (point.x() < low || point.x() > high)
                continue;
            const QPointF offset = toPixel(point) - pointer;
            const double distance = QPointF::dotProduct(offset, offset);
            if (distance < best) {
                best = distance;
                nearest = point;
            }
        }
    }
    return nearest;
}

} // namespace CompareChartDrawing
