// The screenshot tour's steps of the measurement work area: the area with
// a decoded status word, its error analysis and an open compare chart, a
// compare chart of a few hundred records, and one of two hours zoomed in
// on the place where the run lost its gauge, with the hover label shown.

#include "app/Main.h"
#include "ScreenshotTour.h"
#include "measurement/MeasurementFrame.h"
#include "sim/SimBackend.h"
#include "sim/SimValues.h"
#include "ui/TTNTStatusPanel.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QGuiApplication>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int Model = 1;
constexpr int StatusWithLines = 1026 + 32; // calibration lost, USB connected, low supply

// Saves the whole screen (the main window with the chart windows above it).
bool SaveScreen(TourContext& tour, const QString& name) {
    QCoreApplication::processEvents();
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return false;
    const QString path = tour.folder.filePath(name + QStringLiteral(".png"));
    if (!screen->grabWindow(0).save(path, "PNG"))
        return false;
    tour.saved.append(path);
    std::printf("%s\n", qPrintable(path));
    std::fflush(stdout);
    return true;
}

// Connects to the gauge of model and opens the measurement area.
TMeasurementFrame* ShowMeasurement(TourContext& tour) {
    tour.Disconnect();
    if (!tour.ConnectToModel(Model))
        return nullptr;
    tour.window.Navigate(tour.window.Tile(TTessra2ParamMainForm::MeasurementTile));
    tour.Settle(300);
    return tour.window.MeasurementArea;
}

// A history as a day of continuous measurement would have recorded it, one
// record a second from 08:00, made from the simulated gauge's own values
// (running the measurements themselves would take as many seconds). A few
// records lost their values to failed measurements. With lostAt, the run
// lost its gauge before that record and resumed lostSeconds later.
void FillHistory(TMeasurementValueArray& history, int count, int lostAt = -1, int lostSeconds = 0) {
    const QDateTime start(QDate::currentDate(), QTime(8, 0));
    double total = 12.5;
    for (int i = 0; i < count; ++i) {
        if (i == lostAt)
            history.MarkGap();
        const int second = i >= lostAt && lostAt >= 0 ? i + lostSeconds : i;
        const double simulated = 600000.0 + 1000.0 * second; // ms of the value model
        total += SimValues::IntensityAt(simulated) / 3600.0;
        std::vector<std::string> values =
            SimValues::MainValues(SimValues::Inputs{simulated, total, 125.3, 1, 0});
        const std::vector<std::string> aux = SimValues::AuxValues(simulated);
        values.insert(values.end(), aux.begin(), aux.end());
        if (i >= 40 && i < 55)
            values[0].clear();
        MeasurementValues::Strings strings;
        for (std::size_t p = 0; p < strings.size(); ++p)
            strings[p] = values[p];
        history.Append(MeasurementValues(DateTimeValue(start.addSecs(second)), strings));
    }
}

// Closes the compare charts an earlier step left open, as the user would;
// a lost connection keeps them open now.
void CloseChartWindows(TourContext& tour, TMeasurementFrame* area) {
    const QList<QPointer<TCompareChartForm>> charts = area->OpenCharts();
    for (const QPointer<TCompareChartForm>& chart : charts)
        if (!chart.isNull())
            chart->close();
    tour.WaitUntil([area] { return area->OpenCharts().isEmpty(); }, 3000);
}

// Where on the chart's viewport the point of record index is drawn.
QPointF ViewPositionOf(TCompareChartForm* chart, int index) {
    QChart* plot = chart->CompareChart->chart();
    double y = 0.0;
    for (QLineSeries* run : chart->Runs())
        for (const QPointF& point : run->points())
            if (static_cast<int>(point.x()) == index)
                y = point.y();
    return chart->CompareChart->viewportTransform().map(
        plot->mapToScene(plot->mapToPosition(QPointF(index, y), chart->Series1)));
}

// Turns the mouse wheel over the chart's viewport at at, as a user would.
void WheelAt(TCompareChartForm* chart, const QPointF& at, int notches) {
    QWidget* viewport = chart->CompareChart->viewport();
    QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport, &wheel);
}

void MoveTo(TCompareChartForm* chart, const QPointF& at) {
    QWidget* viewport = chart->CompareChart->viewport();
    QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
}

} // namespace

std::vector<TourStep> MeasurementTourSteps() {
    return {
        {QStringLiteral("measurement area, decoded status word, compare chart"),
         [](TourContext& tour) {
             SimGauge* gauge = tour.SimulatedGauge(Model);
             if (gauge == nullptr)
                 return false;
             gauge->Faults().statusBits = StatusWithLines;
             TMeasurementFrame* area = ShowMeasurement(tour);
             if (area == nullptr)
                 return false;
             for (int i = 0; i < 3; ++i)
                 area->MStartButtonClick();
             // The warning mark blinks: show it lit.
             TAXO_TTNTStatusPanel* status = area->RowPanel(8);
             tour.WaitUntil([status] { return status->IconShowsPicture(); }, 3000);
             bool saved = tour.Save(QStringLiteral("measurement-status"), &tour.window);
             area->RowClick(0);
             if (area->OpenCharts().isEmpty())
                 return false;
             // Beside the analysis panel, which opens over the right half of the rows.
             TCompareChartForm* chart = area->OpenCharts().last();
             const QRect window = tour.window.frameGeometry();
             chart->move(std::max(0, window.left() - 100), window.top() + 380);
             tour.Settle(1500);
             area->RowClick(8);
             tour.WaitUntil([status] { return status->IconShowsPicture(); }, 3000);
             saved = SaveScreen(tour, QStringLiteral("measurement-analysis-and-chart")) && saved;
             area->CloseLabelClick();
             gauge->Faults().statusBits = 0;
             return saved;
         }},
        {QStringLiteral("compare chart of a few hundred records"),
         [](TourContext& tour) {
             TMeasurementFrame* area = tour.window.MeasurementArea;
             CloseChartWindows(tour, area);
             area->ResetMeasurementArea();
             area->ShowMeasurementArea(Model);
             area->MStartButtonClick();
             TMeasurementValueArray& history = area->Sequence().History();
             history.Clear();
             FillHistory(history, 400);
             area->RowClick(0);
             area->RowClick(6);
             if (area->OpenCharts().size() != 2)
                 return false;
             tour.Settle(1500);
             const bool saved =
                 tour.Save(QStringLiteral("compare-chart-400-intensity"), area->OpenCharts()[0]) &&
                 tour.Save(QStringLiteral("compare-chart-400-temperature"), area->OpenCharts()[1]);
             tour.Disconnect();
             return saved;
         }},
        {QStringLiteral("compare chart zoomed in on a lost gauge"),
         [](TourContext& tour) {
             TMeasurementFrame* area = ShowMeasurement(tour);
             if (area == nullptr)
                 return false;
             CloseChartWindows(tour, area);
             area->MStartButtonClick();
             TMeasurementValueArray& history = area->Sequence().History();
             history.Clear();
             // Two hours of records; the adapter was unplugged for 20 minutes
             // after the first hour.
             constexpr int LostAt = 3600;
             FillHistory(history, 7200, LostAt, 1200);
             area->RowClick(6); // the temperature, which moves slowly
             if (area->OpenCharts().isEmpty())
                 return false;
             TCompareChartForm* chart = area->OpenCharts().last();
             tour.Settle(1500);
             const bool whole = tour.Save(QStringLiteral("compare-chart-lost-gauge-whole"), chart);
             WheelAt(chart, ViewPositionOf(chart, LostAt), 14);
             tour.Settle(300);
             MoveTo(chart, ViewPositionOf(chart, LostAt + 12) + QPointF(2, -3));
             tour.Settle(300);
             const bool saved =
                 tour.Save(QStringLiteral("compare-chart-lost-gauge-zoomed"), chart) && whole;
             tour.Disconnect();
             return saved;
         }},
        {QStringLiteral("continuous measurement across an unplugged adapter"),
         [](TourContext& tour) {
             const int adapter = tour.SimulatedAdapterOfModel(Model);
             TMeasurementFrame* area = ShowMeasurement(tour);
             if (area == nullptr || adapter < 0)
                 return false;
             CloseChartWindows(tour, area);
             TTessra2ParamMainForm& window = tour.window;
             const auto records = [area] { return area->GetMeasurementHistory().Size(); };
             area->MPermanentButtonClick();
             if (!tour.WaitUntil([&] { return records() >= 3; }, 30000))
                 return false;
             area->RowClick(9); // the internal temperature
             // The cable is pulled: the notice, the status bar, the logo.
             tour.simulation->Unplug(static_cast<std::size_t>(adapter));
             if (!tour.WaitUntil([&] { return window.WaitingForGauge(); }, 10000))
                 return false;
             tour.Settle(500);
             const std::size_t kept = records();
             bool saved = SaveScreen(tour, QStringLiteral("measurement-gauge-lost"));
             // Plugged in again: the same run goes on, the gap left open in the chart.
             tour.simulation->Replug(static_cast<std::size_t>(adapter));
             if (!tour.WaitUntil([&] { return records() >= kept + 2; }, 30000))
                 return false;
             tour.Settle(1200);
             saved = SaveScreen(tour, QStringLiteral("measurement-gauge-found")) && saved;
             area->MPermanentButtonClick();
             for (QWidget* top : QApplication::topLevelWidgets())
                 if (top->objectName() == QStringLiteral("NoticeBox"))
                     top->close();
             CloseChartWindows(tour, area);
             tour.Disconnect();
             return saved;
         }},
    };
}
