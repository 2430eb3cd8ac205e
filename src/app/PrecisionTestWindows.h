#pragma once

// What the program installs behind the guided precision test's seams: the
// real wait dialog and weight entry, and, with simulated gauges, the hand
// that puts the weights on the simulated bucket when the technician
// confirms them (2500 g base weight, then a 1000 g test weight on it).
// Each installs itself for its lifetime.

#include "precision/WeightPlacement.h"
#include "ui/WeightDialogs.h"

class SimBackend;

class ProgramWeightDialogs final : public WeightDialogProvider {
public:
    ProgramWeightDialogs();
    ~ProgramWeightDialogs() override;
    ProgramWeightDialogs(const ProgramWeightDialogs&) = delete;
    ProgramWeightDialogs& operator=(const ProgramWeightDialogs&) = delete;

    WaitResult WaitForWeight(TSDIHandler& gauge, int durationSeconds, int tickMs,
                        const QString& text) override;
    WeightEntry RequestWeight(const QString& title, const QString& prompt, int unit) override;

private:
    WeightDialogProvider* previous_;
};

class SimulatedWeightPlacement final : public WeightPlacement {
public:
    static constexpr double BaseWeightGram = 2500.0;
    static constexpr double TestWeightGram = 1000.0;

    explicit SimulatedWeightPlacement(SimBackend& simulation);
    ~SimulatedWeightPlacement() override;
    SimulatedWeightPlacement(const SimulatedWeightPlacement&) = delete;
    SimulatedWeightPlacement& operator=(const SimulatedWeightPlacement&) = delete;

    // Every simulated gauge gets the weights (only the connected one is read).
    void WeightsApplied(PlacedWeights weights) override;

private:
    SimBackend& simulation_;
    WeightPlacement* previous_;
};
