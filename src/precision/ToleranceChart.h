#pragma once

// The tolerance chart of the evaluation page: the permitted band as a green
// area from -permitted to +permitted, a black zero mark, and a black
// downward triangle at the deviation; no title, legend or zoom, the left
// axis hidden. The report draws the chart straight from this widget.

#include "precision/PrecisionTestRecord.h"

#include <QChartView>

class QAreaSeries;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

class TToleranceChart : public QChartView {
    Q_OBJECT
public:
    static constexpr int ChartHeight = 64;
    static constexpr int BandHeight = 2;
    static constexpr float MarkerHeight = 1.0f;
    static constexpr double AxisMargin = 0.5;
    static constexpr int MarkerWidth = 7;
    static constexpr int MarkerDepth = 5;
    static constexpr int AxisHeight = 28; // labels and title below the plot
    static constexpr int SideMargin = 16;
    static constexpr int AxisTicks = 5;

    explicit TToleranceChart(QWidget* parent = nullptr);

    // Clears the series and shows data.
    void ShowToleranceChart(const Precision::ToleranceChartData& data);

    // Draws the chart as it is shown into target of painter (a page of the
    // report, at the page's own resolution). A chart that is not on the
    // screen just now (its page hidden, or not yet laid out) is drawn by an
    // unshown twin of the same size and data.
    void RenderInto(QPainter& painter, const QRectF& target);
    // The size the chart has on its page (its last size while shown).
    QSize ShownSize() const;

    QLineSeries* BandLine = nullptr;   // upper edge of Series1
    QAreaSeries* Series1 = nullptr;    // the permitted band
    QScatterSeries* Series2 = nullptr; // the deviation
    QLineSeries* Series3 = nullptr;    // the zero mark
    QValueAxis* AxisX = nullptr;
    QValueAxis* AxisY = nullptr;

private:
    Precision::ToleranceChartData data_;
    QSize shownSize_;

protected:
    // The plot keeps the upper part; labels and title the lower one.
    void resizeEvent(QResizeEvent* event) override;
    // The axis labels and title, drawn here: in 64 px the chart's own
    // layout would shorten them to "...".
    void drawForeground(QPainter* painter, const QRectF& rect) override;
};
