#pragma once

// Sends the local logbook's entries to the team server in a thread of its
// own, so that no network wait ever holds up the window or the gauge. It
// sends at start, whenever Poke() says a new entry was written, and every
// retry interval while entries are waiting. The thread has its own
// connections to the local file and to the server.
//
// Each outcome is handed to the owner's thread (through its event loop).

#include "logbook/TeamServer.h"

#include <QString>
#include <functional>
#include <memory>

class TeamSync {
public:
    struct Settings {
        QString localPath;
        TeamServerAddress server;
        int retryIntervalMs = 60'000;
        int connectTimeoutSeconds = 10;
        int batchSize = 500;
    };
    using Report = std::function<void(const TeamOutcome& outcome)>;

    // report runs on the thread that makes the TeamSync, after each send.
    TeamSync(Settings settings, Report report);
    // Waits for a send under way to end (a connection attempt takes at
    // most the connect timeout).
    ~TeamSync();
    TeamSync(const TeamSync&) = delete;
    TeamSync& operator=(const TeamSync&) = delete;

    // A new entry is in the local logbook: send soon. Never waits.
    void Poke();

private:
    struct Shared;
    std::unique_ptr<Shared> shared_;
};
