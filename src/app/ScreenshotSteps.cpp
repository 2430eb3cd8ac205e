// The screenshot tour's steps. Each step brings the window into one state
// and saves it; later work areas add their own steps at the end. Run with
// three simulated adapters: tessra2 --simulate=0,1,2 --screenshot-tour DIR.

#include "app/ConnectionFrame.h"
#include "app/Main.h"
#include "app/ScreenshotTour.h"
#include "config/ParameterFrame.h"
#include "gauge/SDIHandler.h"
#include "service/TimeSetFrame.h"
#include "sim/SimBackend.h"
#include "ui/TTNTPanel.h"

#include <QTreeWidget>

namespace {

constexpr int ReadTimeoutMs = 20000;

// Connects through the adapter selection window to the simulated gauge of
// model, saving the window as selectionShot when that is not empty, and
// waits until the connection area has read its rows.
bool ConnectToModel(TourContext& tour, int model, const QString& selectionShot) {
    const int row = tour.SimulatedAdapterOfModel(model);
    if (row < 0)
        return false;
    bool saved = selectionShot.isEmpty();
    tour.window.ConnectFormChooser().SetWhileShown([&](TConnectForm& form) {
        tour.Settle(200);
        if (!selectionShot.isEmpty())
            saved = tour.Save(selectionShot, &form);
        form.USBDevicesListView->setCurrentItem(form.USBDevicesListView->topLevelItem(row));
        form.StartButtonClick();
    });
    tour.window.Navigate(tour.window.Tile(TTessra2ParamMainForm::ConnectTile));
    tour.window.ConnectFormChooser().SetWhileShown(nullptr);
    TConnectionFrame* area = tour.window.ConnectionArea;
    const bool read = tour.WaitUntil([area] { return area->InfosRead(); }, ReadTimeoutMs);
    tour.Settle(300);
    return saved && read && tour.window.ModelCode() == model;
}

void Disconnect(TourContext& tour) {
    tour.window.ConnectedTimer.stop();
    tour.window.Gauge().Disconnect();
    tour.window.ShowDisconnectedState();
}

// Presets the simulated gauge of model, connects to it, opens the
// configuration area and waits until it has read the gauge.
bool ShowConfiguration(TourContext& tour, int model, int heatingMode, int interface) {
    const int adapter = tour.SimulatedAdapterOfModel(model);
    if (adapter < 0 || tour.simulation == nullptr)
        return false;
    SimGauge::State& state = tour.simulation->Gauge(static_cast<std::size_t>(adapter)).Gauge();
    state.heatingMode = heatingMode;
    state.communicationInterface = interface;
    Disconnect(tour);
    if (!ConnectToModel(tour, model, QString()))
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
    return {
        {QStringLiteral("disconnected window"),
         [](TourContext& tour) {
             tour.Settle(300);
             return tour.Save(QStringLiteral("main-disconnected"), &tour.window);
         }},
        {QStringLiteral("connection area, model 0"),
         [](TourContext& tour) {
             return ConnectToModel(tour, 0, QStringLiteral("adapter-selection")) &&
                    tour.Save(QStringLiteral("connection-model0"), &tour.window);
         }},
        {QStringLiteral("connection area, model 2"),
         [](TourContext& tour) {
             Disconnect(tour);
             return ConnectToModel(tour, 2, QString()) &&
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
}
