// The screenshot tour's steps of the shell, configuration and service areas.
// Each step brings the window into one state and saves it; the other work
// areas' steps follow. Run with
// three simulated adapters: tessra2 --simulate=0,1,2 --screenshot-tour DIR.

#include "app/ConnectionFrame.h"
#include "app/Main.h"
#include "ScreenshotTour.h"
#include "config/ParameterFrame.h"
#include "service/TimeSetFrame.h"
#include "sim/SimBackend.h"
#include "ui/TTNTPanel.h"


namespace {

constexpr int ReadTimeoutMs = 20000;

// Presets the simulated gauge of model, connects to it, opens the
// configuration area and waits until it has read the gauge.
bool ShowConfiguration(TourContext& tour, int model, int heatingMode, int interface) {
    const int adapter = tour.SimulatedAdapterOfModel(model);
    if (adapter < 0 || tour.simulation == nullptr)
        return false;
    SimGauge::State& state = tour.simulation->Gauge(static_cast<std::size_t>(adapter)).Gauge();
    state.heatingMode = heatingMode;
    state.communicationInterface = interface;
    tour.Disconnect();
    if (!tour.ConnectToModel(model, QString()))
        return false;
    tour.window.Navigate(tour.window.Tile(TTessra2ParamMainForm::ParameterTile));
    TParameterFrame* area = tour.window.ParameterArea;
    const bool read = tour.WaitUntil([area] { return area->ConfigurationRead(); }, ReadTimeoutMs);
    // Let the gauge clock of the switching-time row run for a moment.
    tour.Settle(1300);
    return read;
}

} // namespace

std::vector<TourStep> ScreenshotSteps() {
    std::vector<TourStep> steps = {
        {QStringLiteral("disconnected window"),
         [](TourContext& tour) {
             tour.Settle(300);
             return tour.Save(QStringLiteral("main-disconnected"), &tour.window);
         }},
        {QStringLiteral("connection area, model 0"),
         [](TourContext& tour) {
             return tour.ConnectToModel(0, QStringLiteral("adapter-selection")) &&
                    tour.Save(QStringLiteral("connection-model0"), &tour.window);
         }},
        {QStringLiteral("connection area, model 2"),
         [](TourContext& tour) {
             tour.Disconnect();
             return tour.ConnectToModel(2, QString()) &&
                    tour.Save(QStringLiteral("connection-model2"), &tour.window);
         }},
        {QStringLiteral("clock panel"),
         [](TourContext& tour) {
             TConnectionFrame* area = tour.window.ConnectionArea;
             if (area->AdjustTimeButton == nullptr)
                 return false;
             area->AdjustTimeButtonClick();
             // Let the shown gauge clock run for a moment.
             tour.Settle(1300);
             return tour.Save(QStringLiteral("clock-panel"), &tour.window) &&
                    tour.Save(QStringLiteral("clock-panel-alone"), area->TimeSetArea);
         }},
        {QStringLiteral("configuration area, model 0"),
         [](TourContext& tour) {
             return ShowConfiguration(tour, 0, 1, 1) &&
                    tour.Save(QStringLiteral("configuration-model0"), &tour.window);
         }},
        {QStringLiteral("configuration area, model 1, heating NWS-Standard"),
         [](TourContext& tour) {
             return ShowConfiguration(tour, 1, 3, 1) &&
                    tour.Save(QStringLiteral("configuration-model1-nws"), &tour.window);
         }},
        {QStringLiteral("service area"),
         [](TourContext& tour) {
             tour.window.Navigate(tour.window.Tile(TTessra2ParamMainForm::ServiceTile));
             tour.Settle(300);
             return tour.Save(QStringLiteral("service-area"), &tour.window);
         }},
    };
    for (auto more : {MeasurementTourSteps, TerminalTourSteps, PrecisionTourSteps, FirmwareTourSteps,
                      HistoryTourSteps})
        for (TourStep& step : more())
            steps.push_back(std::move(step));
    return steps;
}
