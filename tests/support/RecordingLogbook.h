#pragma once

// A logbook that keeps every entry reported while it lives, installed in
// place of whatever was installed and restored at the end.

#include "logbook/Logbook.h"

#include <algorithm>
#include <vector>

class RecordingLogbook final : public Logbook {
public:
    RecordingLogbook() : previous_(ActiveLogbook()) { InstallLogbook(this); }
    ~RecordingLogbook() override { InstallLogbook(previous_); }
    RecordingLogbook(const RecordingLogbook&) = delete;
    RecordingLogbook& operator=(const RecordingLogbook&) = delete;

    void Add(const LogbookEntry& entry) override { entries.push_back(entry); }

    // The entries of kind, in the order reported.
    std::vector<LogbookEntry> OfKind(LogbookKind kind) const {
        std::vector<LogbookEntry> found;
        std::copy_if(entries.begin(), entries.end(), std::back_inserter(found),
                     [kind](const LogbookEntry& entry) { return entry.kind == kind; });
        return found;
    }

    std::vector<LogbookEntry> entries;

private:
    Logbook* previous_;
};
