// The screenshot tour's steps of the precision work area.

#include "app/ScreenshotTour.h"

std::vector<TourStep> PrecisionTourSteps() {
    return {};
}
