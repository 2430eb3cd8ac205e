#include "sim/SimBucket.h"

#include <cmath>

void SimBucket::PlaceWeights(double grams, double atMs) {
    previous_ = SettledGramAt(atMs);
    load_ = grams;
    changedAtMs_ = atMs;
}

double SimBucket::SettledGramAt(double atMs) const {
    const double since = atMs - changedAtMs_;
    if (since <= 0.0)
        return previous_;
    return load_ + (previous_ - load_) * std::exp(-since / SettlingMs);
}

double SimBucket::ReadGram(double atMs) {
    // A small linear congruential generator: the same readings on every run.
    noiseState_ = noiseState_ * 1664525u + 1013904223u;
    const double unit = static_cast<double>(noiseState_ >> 8) / static_cast<double>(1u << 24);
    return SettledGramAt(atMs) + (2.0 * unit - 1.0) * NoiseGram;
}

double SimBucket::GramPerMm(int gaugeType) {
    switch (gaugeType) {
    case 1:
        return 40.0;
    case 2:
        return 31.4;
    default:
        return 20.0;
    }
}
