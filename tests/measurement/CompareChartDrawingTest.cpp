// What a compare chart draws of many points: every extreme stays in view,
// the line breaks at gaps, and the time labels keep their distance.

#include "measurement/CompareChartDrawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace CompareChartDrawing;

namespace {

const float Gap = std::numeric_limits<float>::quiet_NaN();

std::vector<QPointF> Flat(const std::vector<QList<QPointF>>& runs) {
    std::vector<QPointF> points;
    for (const QList<QPointF>& run : runs)
        points.insert(points.end(), run.begin(), run.end());
    return points;
}

} // namespace

TEST(CompareChartDrawingTest, FewPointsAreDrawnEveryOneAtItsIndex) {
    const auto runs = Runs({1.5f, -2.0f, 3.25f}, 500);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], (QList<QPointF>{{0, 1.5}, {1, -2.0}, {2, 3.25}}));
}

TEST(CompareChartDrawingTest, AGapBreaksTheLineAtItsPosition) {
    const auto runs = Runs({1.0f, 2.0f, Gap, 4.0f, Gap, Gap, 7.0f}, 500);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0], (QList<QPointF>{{0, 1}, {1, 2}}));
    EXPECT_EQ(runs[1], (QList<QPointF>{{3, 4}}));
    EXPECT_EQ(runs[2], (QList<QPointF>{{6, 7}}));
    EXPECT_TRUE(Runs({Gap, Gap}, 500).empty());
}

TEST(CompareChartDrawingTest, ADayOfPointsDrawsAtMostTwoPerColumnAndKeepsEveryColumnsExtremes) {
    std::mt19937 random(7);
    std::normal_distribution<float> noise(10.0f, 3.0f);
    std::vector<float> values(86400);
    for (float& value : values)
        value = noise(random);
    values[40000] = 1000.0f; // one spike
    values[40001] = -1000.0f;
    const int columns = 450;
    const auto runs = Runs(values, columns);
    ASSERT_EQ(runs.size(), 1u);
    const std::vector<QPointF> drawn = Flat(runs);
    EXPECT_LE(drawn.size(), 2u * columns);
    for (std::size_t i = 1; i < drawn.size(); ++i)
        EXPECT_LT(drawn[i - 1].x(), drawn[i].x()) << "in recording order";
    // Every pixel column: its lowest and highest value are drawn.
    for (int column = 0; column < columns; ++column) {
        const double left = 86400.0 * column / columns;
        const double right = 86400.0 * (column + 1) / columns;
        float low = std::numeric_limits<float>::max();
        float high = -low;
        for (std::size_t i = static_cast<std::size_t>(std::ceil(left)); i < right; ++i) {
            low = std::min(low, values[i]);
            high = std::max(high, values[i]);
        }
        bool lowDrawn = false;
        bool highDrawn = false;
        for (const QPointF& point : drawn) {
            if (point.x() >= left && point.x() < right) {
                lowDrawn |= point.y() == low;
                highDrawn |= point.y() == high;
            }
        }
        EXPECT_TRUE(lowDrawn && highDrawn) << "column " << column;
    }
}

TEST(CompareChartDrawingTest, AColumnWithAGapDrawsItsExtremesApart) {
    std::vector<float> values(10000, 5.0f);
    values[5000] = Gap;
    values[5001] = 9.0f;
    const auto runs = Runs(values, 100);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_LT(runs[0].back().x(), 5000.0);
    EXPECT_TRUE(runs[1].contains(QPointF(5001, 9))) << "the column's highest value";
    EXPECT_GT(runs[2].front().x(), 5001.0);
}

TEST(CompareChartDrawingTest, LabelStepsAreTheSmallestOfOneTwoFiveThatKeepLabelsApart) {
    // 500 pixels, labels 60 pixels wide.
    EXPECT_EQ(LabelStep(3, 500, 60), 1u);     // 166 px a point
    EXPECT_EQ(LabelStep(10, 500, 60), 2u);    // 50 px a point: every second
    EXPECT_EQ(LabelStep(100, 500, 60), 20u);  // 5 px a point: 12 needed
    EXPECT_EQ(LabelStep(1000, 500, 60), 200u);
    EXPECT_EQ(LabelStep(86400, 500, 60), 20000u); // 10368 needed
    EXPECT_EQ(LabelStep(1, 500, 60), 1u);
    EXPECT_EQ(LabelIndices(86400, 20000), (std::vector<std::size_t>{0, 20000, 40000, 60000, 80000}));
    EXPECT_EQ(LabelIndices(3, 1), (std::vector<std::size_t>{0, 1, 2}));
}
