#include "WideLanguageHandler.h"

#include "gauge/SDIHandler.h"

// Kept apart from the text lookups so that programs using only the texts do
// not pull in the gauge handler.
void InstallGaugeTextSource() {
    TSDIHandler::SetTextSource(&GetText);
}
