#include "app/PrecisionTestWindows.h"

#include "app/WaitForm.h"
#include "link/Clock.h"
#include "precision/WeightRequestForm.h"
#include "sim/SimBackend.h"

#include <QApplication>

ProgramWeightDialogs::ProgramWeightDialogs() : previous_(InstalledWeightDialogs()) {
    InstallWeightDialogs(this);
}

ProgramWeightDialogs::~ProgramWeightDialogs() {
    if (InstalledWeightDialogs() == this)
        InstallWeightDialogs(previous_);
}

WaitResult ProgramWeightDialogs::WaitForWeight(TSDIHandler& gauge, int durationSeconds, int tickMs,
                                          const QString& text) {
    return TWaitForm::Run(gauge, QApplication::activeWindow(), durationSeconds, tickMs, text);
}

WeightEntry ProgramWeightDialogs::RequestWeight(const QString& title, const QString& prompt,
                                                int unit) {
    TWeightRequestForm form(QApplication::activeWindow());
    form.SetupWeightRequest(title, prompt, unit);
    form.exec();
    return {form.Weight(), form.Unit()};
}

SimulatedWeightPlacement::SimulatedWeightPlacement(SimBackend& simulation)
    : simulation_(simulation), previous_(InstalledWeightPlacement()) {
    InstallWeightPlacement(this);
}

SimulatedWeightPlacement::~SimulatedWeightPlacement() {
    if (InstalledWeightPlacement() == this)
        InstallWeightPlacement(previous_);
}

void SimulatedWeightPlacement::WeightsApplied(PlacedWeights weights) {
    const double grams =
        weights == PlacedWeights::Base ? BaseWeightGram : BaseWeightGram + TestWeightGram;
    const double now = TheClock().NowMs();
    for (std::size_t i = 0; i < simulation_.GaugeCount(); ++i)
        simulation_.Gauge(i).Bucket().PlaceWeights(grams, now);
}
