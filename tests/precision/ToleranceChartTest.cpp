// The tolerance chart: the permitted band, the zero mark and the deviation
// marker, and the horizontal axis with its half-unit margin.

#include "precision/ToleranceChart.h"

#include <gtest/gtest.h>

#include <QAreaSeries>
#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

TEST(ToleranceChart, BandZeroMarkAndDeviation) {
    TToleranceChart chart;
    chart.ShowToleranceChart({0.1f, -0.04f, QStringLiteral("mm")});
    const QList<QPointF> band = chart.Series1->upperSeries()->points();
    ASSERT_EQ(band.size(), 2);
    EXPECT_FLOAT_EQ(band[0].x(), -0.1f);
    EXPECT_EQ(band[0].y(), 2.0);
    EXPECT_FLOAT_EQ(band[1].x(), 0.1f);
    EXPECT_EQ(band[1].y(), 2.0);
    EXPECT_EQ(chart.Series1->lowerSeries(), nullptr); // filled down to 0
    EXPECT_EQ(chart.Series1->brush().color(), QColor(0, 255, 0));
    EXPECT_EQ(chart.Series1->pen().style(), Qt::NoPen);

    EXPECT_EQ(chart.Series3->points(), QList<QPointF>({{0, 2}, {0, 0}}));
    EXPECT_EQ(chart.Series3->pen().color(), QColor(Qt::black));

    const QList<QPointF> marker = chart.Series2->points();
    ASSERT_EQ(marker.size(), 1);
    EXPECT_FLOAT_EQ(marker[0].x(), -0.04f);
    EXPECT_EQ(marker[0].y(), 1.0);

    EXPECT_FLOAT_EQ(chart.AxisX->min(), -0.6f);
    EXPECT_FLOAT_EQ(chart.AxisX->max(), 0.6f);
    EXPECT_EQ(chart.AxisX->titleText(), "mm");
    EXPECT_FALSE(chart.AxisY->isVisible());
    EXPECT_EQ(chart.AxisY->max(), 2.0);
    EXPECT_FALSE(chart.chart()->legend()->isVisible());
    EXPECT_TRUE(chart.chart()->title().isEmpty());
    EXPECT_EQ(chart.height(), 64);

    // Shown again: the series hold only the new points.
    chart.ShowToleranceChart({0.004f, 0.001f, QStringLiteral("inch")});
    EXPECT_EQ(chart.Series2->points().size(), 1);
    EXPECT_EQ(chart.Series1->upperSeries()->points().size(), 2);
    EXPECT_FLOAT_EQ(chart.AxisX->max(), 0.504f); // the margin is 0.5 in inch too
    EXPECT_EQ(chart.AxisX->titleText(), "inch");
}
