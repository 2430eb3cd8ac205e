// The screenshot tour's steps of the terminal work area.

#include "app/ScreenshotTour.h"

std::vector<TourStep> TerminalTourSteps() {
    return {};
}
