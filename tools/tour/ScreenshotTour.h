#pragma once

// --screenshot-tour DIR: walks the running program through a list of steps
// and saves what the window shows as PNG files, then quits. The steps of
// the shell, configuration and service areas live in ScreenshotSteps.cpp;
// every other work area keeps its own in ScreenshotSteps<Area>.cpp.

#include <QDir>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QWidget;
class SimBackend;
class SimGauge;
class TTessra2ParamMainForm;

// What a step works with.
class TourContext {
public:
    TourContext(TTessra2ParamMainForm& window, SimBackend* simulation, const QDir& folder)
        : window(window), simulation(simulation), folder(folder) {}

    // Saves what widget shows as folder/<name>.png.
    bool Save(const QString& name, QWidget* widget);
    // Lets the program run (timers, repaints) until done() holds or timeoutMs
    // have passed; true when done() held.
    bool WaitUntil(const std::function<bool()>& done, int timeoutMs);
    // Lets the program run for ms.
    void Settle(int ms);
    // Index of the simulated adapter with a gauge of model, or -1.
    int SimulatedAdapterOfModel(int model) const;
    // The simulated gauge of model (null without one).
    SimGauge* SimulatedGauge(int model) const;
    // Connects through the adapter selection window to the simulated gauge
    // of model, saving that window as selectionShot unless it is empty, and
    // waits until the connection area has read its rows.
    bool ConnectToModel(int model, const QString& selectionShot = {});
    // Ends the connection the way a lost adapter would.
    void Disconnect();

    TTessra2ParamMainForm& window;
    SimBackend* simulation; // null without --simulate
    QDir folder;
    QStringList saved;
};

struct TourStep {
    QString name;
    // True when the step did what it should.
    std::function<bool(TourContext&)> run;
};

// The steps, in order (ScreenshotSteps.cpp): the shell's, then each work
// area's own.
std::vector<TourStep> ScreenshotSteps();
std::vector<TourStep> MeasurementTourSteps(); // ScreenshotStepsMeasurement.cpp
std::vector<TourStep> TerminalTourSteps();    // ScreenshotStepsTerminal.cpp
std::vector<TourStep> PrecisionTourSteps();   // ScreenshotStepsPrecision.cpp
std::vector<TourStep> FirmwareTourSteps();    // ScreenshotStepsFirmware.cpp
std::vector<TourStep> HistoryTourSteps();     // ScreenshotStepsHistory.cpp

// Runs steps once the event loop is running, prints each saved file on
// standard output, and ends the program: exit code 0 when every step
// succeeded, 1 otherwise.
void StartScreenshotTour(TTessra2ParamMainForm& window, SimBackend* simulation,
                         const QString& folder, std::vector<TourStep> steps);
