#include "ui/WeightDialogs.h"

namespace {

// Answers as a window that was closed at once.
class ClosedWeightDialogs final : public WeightDialogProvider {
public:
    float WaitForWeight(TSDIHandler&, int, int, const QString&) override { return 0.0f; }
    WeightEntry RequestWeight(const QString&, const QString&, int) override { return {}; }
};

WeightDialogProvider* installed = nullptr;

} // namespace

WeightDialogProvider& WeightDialogs() {
    static ClosedWeightDialogs closed;
    return installed != nullptr ? *installed : closed;
}

void InstallWeightDialogs(WeightDialogProvider* provider) {
    installed = provider;
}

WeightDialogProvider* InstalledWeightDialogs() {
    return installed;
}
