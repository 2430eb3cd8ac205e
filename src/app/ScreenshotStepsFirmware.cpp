// The screenshot tour's steps of the firmware work area.

#include "app/ScreenshotTour.h"

std::vector<TourStep> FirmwareTourSteps() {
    return {};
}
