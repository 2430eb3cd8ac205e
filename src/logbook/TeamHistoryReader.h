#pragma once

// Reads one gauge's entries from the team server in a thread of its own,
// page after page until it has them all, so that a slow or absent server
// never holds up the window. Each page is handed to the owner's thread
// (through its event loop). The thread has its own connection.

#include "logbook/TeamServer.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TeamHistoryReader {
public:
    struct Page {
        std::vector<LogbookEntry> entries; // newest first, after the previous page's
        bool last = false;                 // nothing follows (also after a failure)
        TeamOutcome outcome;               // Sent: read; otherwise why not
    };
    using Deliver = std::function<void(const Page& page)>;

    // deliver runs on the thread that makes the reader, once per page.
    TeamHistoryReader(TeamServerAddress server, QString serialNumber, int connectTimeoutSeconds,
                      Deliver deliver, int pageSize = 1000);
    // Never waits: a connection attempt under way ends in its thread, and
    // what it reads is dropped.
    ~TeamHistoryReader();
    TeamHistoryReader(const TeamHistoryReader&) = delete;
    TeamHistoryReader& operator=(const TeamHistoryReader&) = delete;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};
