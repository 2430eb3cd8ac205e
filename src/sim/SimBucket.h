#pragma once

// The weights on the simulated gauge's bucket while the gauge is in its test
// mode ("OTC1!"): the bucket reading follows the weights placed on it,
// settles within a few seconds of each change, and carries a small noise of
// about +-0.05 g, as a good weighing gauge's does.

#include <cstdint>

class SimBucket {
public:
    // Time constant of the settling after a change (ms): within 0.01 g of
    // the new load some 15 s after a 2500 g change.
    static constexpr double SettlingMs = 1000.0;
    static constexpr double NoiseGram = 0.05;

    // From atMs on, grams lie on the bucket (the total, not an addition).
    void PlaceWeights(double grams, double atMs);
    double WeightsOnBucket() const { return load_; }
    // What the bucket weighs at atMs, settling included, without noise.
    double SettledGramAt(double atMs) const;
    // One reading at atMs: settled weight plus noise (gram).
    double ReadGram(double atMs);

    // Gram per mm of water depth over the collecting area of a gauge type:
    // 200 cm² (types 0, 3 and the user-defined 4), 400 cm² (1), 314 cm² (2).
    static double GramPerMm(int gaugeType);

private:
    double load_ = 0.0;
    double previous_ = 0.0;
    double changedAtMs_ = 0.0;
    std::uint32_t noiseState_ = 20240611u;
};
