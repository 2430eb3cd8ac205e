#include "precision/WeightPlacement.h"

namespace {
WeightPlacement* installed = nullptr;
}

void InstallWeightPlacement(WeightPlacement* placement) {
    installed = placement;
}

WeightPlacement* InstalledWeightPlacement() {
    return installed;
}
