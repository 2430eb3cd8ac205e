#include "logbook/Logbook.h"

namespace {

Logbook* installed = nullptr;

} // namespace

Logbook* ActiveLogbook() {
    return installed;
}

void InstallLogbook(Logbook* logbook) {
    installed = logbook;
}

void ReportToLogbook(LogbookEntry entry) {
    if (installed == nullptr)
        return;
    CompleteEntry(entry);
    installed->Add(entry);
}
