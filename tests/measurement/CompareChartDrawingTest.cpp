// What a compare chart draws of many points: every extreme stays in view,
// the line breaks at holes, and the time labels keep their distance.

#include "measurement/CompareChartDrawing.h"
#include "measurement/ComparePoints.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

using namespace CompareChartDrawing;

namespace {

const float Gap = std::numeric_limits<float>::quiet_NaN();

// Points of values (a gap: a record without a number), with the lost
// gauges before the records gapsBefore.
ComparePoints PointsOf(const std::vector<float>& values,
                       const std::vector<std::size_t>& gapsBefore = {}) {
    TMeasurementValueArray history;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (std::find(gapsBefore.begin(), gapsBefore.end(), i) != gapsBefore.end())
            history.MarkGap();
        char text[32] = "";
        if (!std::isnan(values[i]))
            std::snprintf(text, sizeof text, "%.2f", static_cast<double>(values[i]));
        MeasurementValues::Strings strings;
        strings[0] = text;
        history.Append(MeasurementValues(45000.0 + static_cast<double>(i) / 86400.0, strings));
    }
    ComparePoints points(0);
    points.Append(history);
    return points;
}

std::vector<QList<QPointF>> WholeRuns(const ComparePoints& points, int columns) {
    return Runs(points, -0.5, static_cast<double>(points.Count()) - 0.5, columns);
}

std::vector<QPointF> Flat(const std::vector<QList<QPointF>>& runs) {
    std::vector<QPointF> points;
    for (const QList<QPointF>& run : runs)
        points.insert(points.end(), run.begin(), run.end());
    return points;
}

// A run that holds two neighbouring points on either side of position at.
bool AnyRunCrosses(const std::vector<QList<QPointF>>& runs, double at) {
    for (const QList<QPointF>& run : runs)
        for (qsizetype i = 1; i < run.size(); ++i)
            if (run[i - 1].x() < at && run[i].x() >= at)
                return true;
    return false;
}

} // namespace

TEST(CompareChartDrawingTest, FewPointsAreDrawnEveryOneAtItsIndex) {
    const auto runs = WholeRuns(PointsOf({1.5f, -2.0f, 3.25f}), 500);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], (QList<QPointF>{{0, 1.5}, {1, -2.0}, {2, 3.25}}));
}

TEST(CompareChartDrawingTest, AGapBreaksTheLineAtItsPosition) {
    const auto runs = WholeRuns(PointsOf({1.0f, 2.0f, Gap, 4.0f, Gap, Gap, 7.0f, 8.0f}, {7}), 500);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0], (QList<QPointF>{{0, 1}, {1, 2}}));
    EXPECT_EQ(runs[1], (QList<QPointF>{{3, 4}}));
    EXPECT_EQ(runs[2], (QList<QPointF>{{6, 7}}));
    EXPECT_EQ(runs[3], (QList<QPointF>{{7, 8}})) << "the gauge was lost before record 7";
    EXPECT_TRUE(WholeRuns(PointsOf({Gap, Gap}), 500).empty());
}

TEST(CompareChartDrawingTest, ADayOfPointsDrawsAtMostTwoPerColumnAndEverySpike) {
    std::mt19937 random(7);
    std::normal_distribution<float> noise(10.0f, 3.0f);
    std::vector<float> values(86400);
    for (float& value : values)
        value = noise(random);
    const std::vector<std::size_t> spikes = {0, 1234, 40000, 40001, 77777, 86399};
    for (std::size_t k = 0; k < spikes.size(); ++k)
        values[spikes[k]] = k % 2 == 0 ? 1000.0f : -1000.0f;
    const ComparePoints points = PointsOf(values);
    const int columns = 450;
    const auto runs = WholeRuns(points, columns);
    ASSERT_EQ(runs.size(), 1u);
    const std::vector<QPointF> drawn = Flat(runs);
    EXPECT_LE(drawn.size(), 2u * columns + 2);
    for (std::size_t i = 1; i < drawn.size(); ++i)
        EXPECT_LT(drawn[i - 1].x(), drawn[i].x()) << "in recording order";
    for (const std::size_t spike : spikes)
        EXPECT_NE(std::find(drawn.begin(), drawn.end(),
                            QPointF(static_cast<double>(spike), values[spike])),
                  drawn.end())
            << "spike at " << spike;
}

TEST(CompareChartDrawingTest, HolesEverywhereNeverJoinedAndTheDrawingStaysAsWideAsThePlot) {
    // A value that fails every third measurement, and lost gauges between.
    std::vector<float> values(60000);
    std::vector<std::size_t> lost;
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = i % 3 == 2 ? Gap : static_cast<float>(i % 17);
        if (i % 1000 == 500)
            lost.push_back(i);
    }
    const ComparePoints points = PointsOf(values, lost);
    const int columns = 100;
    for (const double span : {60000.0, 2000.0, 150.0}) {
        const double low = 30000.0 - span / 2;
        const auto runs = Runs(points, low, low + span, columns);
        EXPECT_LE(runs.size(), 4u * columns) << "span " << span;
        EXPECT_LE(Flat(runs).size(), 6u * columns) << "span " << span;
        for (std::size_t i = 2; i < values.size(); i += 3)
            ASSERT_FALSE(AnyRunCrosses(runs, static_cast<double>(i))) << i << ", span " << span;
        for (const std::size_t at : lost)
            ASSERT_FALSE(AnyRunCrosses(runs, static_cast<double>(at))) << at << ", span " << span;
    }
}

TEST(CompareChartDrawingTest, LabelStepsAreTheSmallestOfOneTwoFiveThatKeepLabelsApart) {
    // Labels 60 pixels wide.
    EXPECT_EQ(LabelStep(166, 60, 3), 1u);
    EXPECT_EQ(LabelStep(50, 60, 10), 2u);  // every second
    EXPECT_EQ(LabelStep(5, 60, 100), 20u); // 12 needed
    EXPECT_EQ(LabelStep(0.5, 60, 1000), 200u);
    EXPECT_EQ(LabelStep(500.0 / 86400, 60, 86400), 20000u); // 10368 needed
    EXPECT_EQ(LabelStep(500, 60, 1), 1u);
    EXPECT_EQ(LabelIndices(0, 86400, 20000),
              (std::vector<std::size_t>{0, 20000, 40000, 60000, 80000}));
    EXPECT_EQ(LabelIndices(0, 3, 1), (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(LabelIndices(1234, 1800, 200), (std::vector<std::size_t>{1400, 1600}));
}
