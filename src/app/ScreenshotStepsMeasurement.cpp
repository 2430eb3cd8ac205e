// The screenshot tour's steps of the measurement work area.

#include "app/ScreenshotTour.h"

std::vector<TourStep> MeasurementTourSteps() {
    return {};
}
