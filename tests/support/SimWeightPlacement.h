#pragma once

// Puts weights on a simulated gauge's bucket when the precision test's
// technician confirms them, for the lifetime of the object:
//
//     SimWeightPlacement hand{gauge, 2500.0, 1000.0}; // base, test weight (gram)
//     sequence.ContinueButtonClick();                 // "apply the base weight": 2500 g on

#include "link/Clock.h"
#include "precision/WeightPlacement.h"
#include "sim/SimGauge.h"

class SimWeightPlacement : public WeightPlacement {
public:
    SimWeightPlacement(SimGauge& gauge, double baseGram, double testGram)
        : gauge_(gauge), base_(baseGram), test_(testGram), previous_(InstalledWeightPlacement()) {
        InstallWeightPlacement(this);
    }
    ~SimWeightPlacement() override { InstallWeightPlacement(previous_); }
    SimWeightPlacement(const SimWeightPlacement&) = delete;
    SimWeightPlacement& operator=(const SimWeightPlacement&) = delete;

    void WeightsApplied(PlacedWeights weights) override {
        ++placements_;
        gauge_.Bucket().PlaceWeights(weights == PlacedWeights::Base ? base_ : base_ + test_,
                                     TheClock().NowMs());
    }
    int Placements() const { return placements_; }

private:
    SimGauge& gauge_;
    double base_;
    double test_;
    WeightPlacement* previous_;
    int placements_ = 0;
};
