#pragma once

// Compare chart: a small modeless window that follows one measured value
// over the measurement history of the measurement area. A red line with
// diamond marks over the sequence of measurements, labelled with their
// times, and beside it the list of time and value, newest first. Once a
// second it adds the measurements recorded since, unless paused.
//
// Reading a long run: the mouse wheel zooms the time axis around the
// pointer, a drag with the left button pans it, a double click shows the
// whole run again (keys: + and - zoom, Left and Right pan, Home shows the
// whole run). A zoomed view that shows the newest point follows new
// records; one further back stays where it is. The point nearest to the
// pointer is ringed and its time and value shown beside the pointer.

#include "measurement/CompareChartRange.h"
#include "measurement/ComparePoints.h"
#include "measurement/MeasurementValues.h"

#include <QList>
#include <QPointF>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class CompareChartHover;
class CompareValuesModel;
class QCheckBox;
class QLabel;
class QTreeView;

class QCategoryAxis;
class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;

// Where a chart finds the history it follows (the measurement area).
class MeasurementHistorySource {
public:
    virtual ~MeasurementHistorySource() = default;
    virtual const TMeasurementValueArray& GetMeasurementHistory() = 0;
};

class TCompareChartForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int ReadIntervalMs = 1000;
    static constexpr int TitleHeight = 35;
    static constexpr int TableWidth = 144;
    static constexpr int ValueColumnWidth = 70;
    static constexpr int PauseTextId = 920;
    // One notch of the wheel (or + / -) shows this share of the span.
    static constexpr double ZoomStep = 0.8;

    explicit TCompareChartForm(QWidget* parent = nullptr);
    ~TCompareChartForm() override;

    // Stores the area, the history and the value position (0 to 11), shows
    // the title and charts the history's records.
    void SetupCompareChart(MeasurementHistorySource* area, const TMeasurementValueArray& history,
                           int position, const QString& title);
    // Once a second: the records recorded since the last look (nothing
    // while paused).
    void ReadTimerTimer();
    // Texts of the window in the current language.
    void TranslateCompareChart();

    // Paused: the once-a-second refresh stops; the measurement goes on,
    // and unpausing catches up at once.
    void SetPaused(bool paused);
    bool Paused() const;

    const ComparePoints& Points() const { return points_; }
    int Position() const { return static_cast<int>(points_.Position()); }
    QString Title() const;

    QLabel* TitlePanel = nullptr;
    QWidget* ChartPanel = nullptr;
    QWidget* TablePanel = nullptr;
    QChartView* CompareChart = nullptr;
    QLineSeries* Series1 = nullptr; // the first run of the line
    QTreeView* ValuesListView = nullptr;
    QCheckBox* PauseCheckBox = nullptr;
    QTimer ReadTimer;

    // Every line series of the chart: Series1, then one more per gap.
    const std::vector<QLineSeries*>& Runs() const { return runs_; }
    QCategoryAxis* TimeAxis() const { return timeAxis_; }
    // The hover label: shown or not, and its text.
    bool HoverShown() const;
    QString HoverText() const;

signals:
    // The window is being destroyed (closed by the user or with its owner).
    void Destroying(TCompareChartForm* form);

protected:
    void showEvent(QShowEvent* event) override;   // FormShow
    void closeEvent(QCloseEvent* event) override; // FormClose
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AppendMeasurements(const TMeasurementValueArray& history);
    // Draws the points again for the chart's current width.
    void Redraw();
    void SetRuns(const std::vector<QList<QPointF>>& runs);
    QLineSeries* NewRun();
    void SetAxes();
    void SetTimeLabels();
    void LayoutPanels();
    int PlotColumns() const;

    // Reading the run with mouse and keys; pixel positions in the chart's
    // own coordinates.
    bool ChartMouseEvent(QEvent* event);
    bool ChartKeyEvent(QEvent* event);
    QPointF ChartPosition(const QPointF& viewPosition) const;
    double PositionAt(double pixelX) const;
    QPointF PixelOf(const QPointF& point) const;
    void ZoomAt(double pixelX, double factor);
    void PanPixels(double pixels);
    void ShowWholeRun();
    void ShowHover(const QPointF& pointer);
    void HideHover();

    MeasurementHistorySource* area_ = nullptr;
    ComparePoints points_;
    CompareValuesModel* model_ = nullptr;
    QChart* chart_ = nullptr;
    QCategoryAxis* timeAxis_ = nullptr;
    QValueAxis* valueAxis_ = nullptr;
    std::vector<QLineSeries*> runs_;
    std::vector<QList<QPointF>> drawn_;
    CompareChartRange range_;
    std::unique_ptr<CompareChartHover> hover_;
    std::optional<QPointF> pointer_; // over the plot, for the hover
    std::optional<double> dragFrom_; // pixel x where the last drag step ended
    int drawnColumns_ = -1;
    double scaledLow_ = 0.0;
    double scaledHigh_ = 0.0;
    std::vector<std::size_t> labelIndices_;
};
