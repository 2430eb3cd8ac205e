#pragma once

// The logbook as the rest of the program sees it: work areas and the
// command line report each event with one call,
//
//     ReportToLogbook(ConfigurationWritten(gauge, changes));
//
// and the logbook installed at start-up keeps it. With none installed (the
// default, and in most tests) a report costs one branch. Tests install a
// recording logbook or one on a temporary database.

#include "logbook/LogbookEntry.h"

class Logbook {
public:
    virtual ~Logbook() = default;
    // entry is complete (id, time, user, host and version filled in).
    virtual void Add(const LogbookEntry& entry) = 0;
};

// The installed logbook, or null.
Logbook* ActiveLogbook();
// Installs logbook (not owned); nullptr removes it.
void InstallLogbook(Logbook* logbook);

// Completes entry (CompleteEntry) and hands it to the installed logbook.
// Called on the GUI thread (or the command line's one thread).
void ReportToLogbook(LogbookEntry entry);
