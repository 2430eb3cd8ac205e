#pragma once

// The team's PostgreSQL server as the logbook sends to it: one connection
// (by name, used by the thread that made it), the check that the server's
// table is there and has every column, and the sending of the local
// logbook's queue. Each entry is inserted by its id with nothing done on a
// conflict, and a batch is confirmed in the local logbook only after the
// server committed it: an entry sent twice (after a crash, a cut-off
// connection, or from two computers at once) still arrives once.

#include "logbook/TeamServerAddress.h"

#include "logbook/LogbookEntry.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <atomic>
#include <functional>
#include <optional>
#include <vector>

class LocalLogbook;
struct QueuedEntry;

enum class TeamStatus {
    Sent,        // the server took every entry sent (waiting: what is left)
    Unreachable, // no connection to the server (offline, or it did not answer)
    Refused,     // the server refused the login
    NoTable,     // the server has no logbook table
    OlderTable,  // the server's table lacks columns this program sends
    Failed,      // the server refused the entries, or the local logbook could not be read
};

struct TeamOutcome {
    TeamStatus status = TeamStatus::Sent;
    QString cause;       // what the server or the network said
    QStringList missing; // OlderTable: the columns the server's table lacks
    qint64 sent = 0;     // entries the server confirmed in this send
    qint64 waiting = 0;  // entries still to be sent (-1: not known)

    // The message for a user, in the current language (empty for Sent).
    QString Message(const TeamServerAddress& server) const;
};

class TeamServerConnection {
public:
    // connectTimeoutSeconds: how long a connection attempt may take (at least 2).
    TeamServerConnection(TeamServerAddress address, QString connectionName,
                         int connectTimeoutSeconds = 10);
    ~TeamServerConnection();
    TeamServerConnection(const TeamServerConnection&) = delete;
    TeamServerConnection& operator=(const TeamServerConnection&) = delete;

    const TeamServerAddress& Address() const { return address_; }

    // Connects when not connected and checks the table.
    TeamOutcome Connect();
    // Inserts the entries in one transaction; Sent when the server committed them.
    TeamOutcome Send(const std::vector<QueuedEntry>& entries);
    void Disconnect();

    // Where a page of the server's entries ends: the next page holds the
    // entries after this one (newest first, by time, then id).
    struct Position {
        QDateTime timeUtc;
        QUuid id;
    };
    // One gauge's entries on the server, newest first: at most limit, after
    // the position given (none: from the newest). Only reads. Sent when
    // they could be read; entries holds them.
    TeamOutcome ReadGauge(const QString& serialNumber, const std::optional<Position>& after,
                          int limit, std::vector<LogbookEntry>& entries);

    // Called after each entry inserted in the open transaction (tests cut
    // the connection there).
    void SetRowObserver(std::function<void(int row)> observer) {
        rowObserver_ = std::move(observer);
    }

private:
    TeamOutcome CheckTable();

    TeamServerAddress address_;
    QString connectionName_;
    int connectTimeoutSeconds_;
    bool checked_ = false;
    std::function<void(int)> rowObserver_;
};

// Sends the local logbook's queue in batches until it is empty, a send
// fails, or stop becomes true. The outcome counts the entries confirmed.
TeamOutcome SendUnsent(LocalLogbook& local, TeamServerConnection& server,
                       const std::atomic<bool>* stop = nullptr, int batchSize = 500);

// The name of the server's table and the columns the program sends.
inline constexpr const char* TeamTableName = "tessra2_logbook";
QStringList TeamTableColumns();
