#pragma once

// The logbook of a running program: the local file (--logbook FILE, else
// the per-user one) and, when a team server is set, the sending to it in
// the background. While it lives it is the installed logbook, so every
// ReportToLogbook lands in it. Warnings (the file cannot be written, it was
// damaged, the team server refused the login or lacks its table) go to the
// given callback, each once.

#include "logbook/LocalLogbook.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookCheckpointer.h"
#include "logbook/TeamServerAddress.h"
#include "logbook/TeamSync.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class ProgramLogbook final : public Logbook {
public:
    struct Options {
        QString path; // empty: DefaultLogbookPath()
        std::optional<TeamServerAddress> team;
        // The window program opens the file at start and leaves the sending
        // and the copying of the log into the file to threads of their own;
        // the command line opens it when it first needs it, sends only when
        // told to ("logbook sync") and lets each commit copy the log.
        bool openNow = true;
        bool background = true;
        int retryIntervalMs = 60'000;
        int connectTimeoutSeconds = 10;
    };
    using Warn = std::function<void(const QString& text)>;

    ProgramLogbook(Options options, Warn warn);
    ~ProgramLogbook() override;
    ProgramLogbook(const ProgramLogbook&) = delete;
    ProgramLogbook& operator=(const ProgramLogbook&) = delete;

    void Add(const LogbookEntry& entry) override;

    LocalLogbook& Local() { return local_; }
    const std::optional<TeamServerAddress>& Team() const { return options_.team; }
    // The last outcome of a send in the background (none before the first),
    // and how many sends have ended so far.
    const std::optional<TeamOutcome>& LastSend() const { return lastSend_; }
    int SendsDone() const { return sendsDone_; }

private:
    void Sent(const TeamOutcome& outcome);

    Options options_;
    Warn warn_;
    LocalLogbook local_;
    std::unique_ptr<LogbookCheckpointer> checkpointer_;
    std::unique_ptr<TeamSync> sync_;
    std::optional<TeamOutcome> lastSend_;
    int sendsDone_ = 0;
    QString lastProblem_;
    Logbook* previous_;
};
