#include "ui/WeightDialogs.h"

namespace {

// Answers as a window that was closed at once.
class ClosedWeightDialogs final : public WeightDialogProvider {
public:
    WaitResult WaitForWeight(TSDIHandler&, int, int, const QString&) override { return {}; }
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
