#pragma once

// What happens when the technician confirms that a weight is on the bucket
// (Continue on the page that asks for it). On a real gauge nothing: the
// technician has put it there. The program running against simulated
// gauges installs a placement that puts the weight on the simulated bucket,
// and tests do the same.

enum class PlacedWeights {
    Base,        // the base weight alone
    BaseAndTest, // the test weight on the base weight
};

class WeightPlacement {
public:
    virtual ~WeightPlacement() = default;
    virtual void WeightsApplied(PlacedWeights weights) = 0;
};

// Installs placement (not owned); nullptr removes it.
void InstallWeightPlacement(WeightPlacement* placement);
WeightPlacement* InstalledWeightPlacement();
