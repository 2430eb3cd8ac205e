#pragma once

// The logbook on this computer: an SQLite file, the first home of every
// entry. Each entry is written in a transaction of its own, in write-ahead
// log mode, so a crash loses at most the entry being written. The schema
// carries its version and is brought up to date when the file is opened.
//
// Trouble never stops the program:
// - a folder or file that cannot be written, or a full disk: one warning;
//   the entries are kept in memory and written as soon as it works again;
// - a damaged file: moved aside with the date in its name, a new logbook
//   is started, and the warning says where the old one is.
//
// One object is one connection, used by the thread that made it. The team
// sync reads the same file through its own object.

#include "logbook/LogbookEntry.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct LogbookQuery {
    QString serialNumber;            // empty: every gauge
    std::optional<LogbookKind> kind; // none: every kind
    QDateTime since;                 // invalid: from the first entry on
    int limit = 100;                 // newest first; at most this many
    QUuid olderThan;                 // the next page: entries after this one (newest first)
};

// A sent entry together with its place in the queue of entries to send.
struct QueuedEntry {
    qint64 position = 0;
    LogbookEntry entry;
};

class LocalLogbook {
public:
    using Warn = std::function<void(const QString& text)>;

    // The schema version this program writes.
    static constexpr int SchemaVersion = 2;

    // path: the database file. warn receives the warnings (in the current
    // language); connectionName must be unique in the process.
    LocalLogbook(QString path, Warn warn, QString connectionName);
    ~LocalLogbook();
    LocalLogbook(const LocalLogbook&) = delete;
    LocalLogbook& operator=(const LocalLogbook&) = delete;

    const QString& Path() const { return path_; }

    // Opens the file (creating it and its folder when needed) and brings
    // its schema up to date; false (with the warning given) when it cannot.
    // Add, Read and the rest open it themselves when needed.
    bool Open();
    bool IsOpen() const { return open_; }

    // Writes entry (complete) in one transaction. false when it could not
    // be written now: it is then kept and written with the next entry.
    bool Add(const LogbookEntry& entry);
    // Entries waiting in memory because the file could not be written.
    std::size_t Waiting() const { return waiting_.size(); }

    // Whether a commit copies the write-ahead log into the file when the
    // log has grown (SQLite's default). That copy and its sync take tens of
    // milliseconds now and then: the program's logbook leaves it to a
    // thread of its own (LogbookCheckpointer). Set before the file is opened.
    void SetCheckpointOnCommit(bool on) { checkpointOnCommit_ = on; }
    // Copies the write-ahead log into the file as far as no reader needs it.
    bool Checkpoint();

    // Entries as query asks, newest first; empty when none or unreadable.
    std::vector<LogbookEntry> Read(const LogbookQuery& query);

    // The team server's queue: the oldest limit entries not yet sent, the
    // number waiting, and the end of a send (everything up to and including
    // position has arrived). None: the logbook cannot be read.
    std::optional<std::vector<QueuedEntry>> Unsent(int limit);
    std::optional<qint64> UnsentCount();
    bool MarkSent(qint64 upToPosition);

    // The last database error, for messages (empty when none).
    QString LastError() const { return lastError_; }

private:
    enum class Trouble { None, Unwritable, Damaged, Busy };

    bool OpenDatabase();
    std::optional<int> ReadVersion(const QSqlDatabase& database);
    bool Migrate(const QSqlDatabase& database);
    void Close();
    Trouble Write(const LogbookEntry& entry);
    Trouble Classify(const QSqlError& error) const;
    // Keeps error as the last one; returns false.
    bool Failed(const QSqlError& error);
    // A damaged file: moved aside, a new one begun.
    bool StartAfresh();
    void WarnUnwritable(const QString& cause);

    QString path_;
    Warn warn_;
    QString connectionName_;
    bool open_ = false;
    bool warned_ = false;
    bool checkpointOnCommit_ = true;
    std::deque<LogbookEntry> waiting_;
    QString lastError_;
    QSqlError lastSqlError_;
    struct Statements;
    std::unique_ptr<Statements> statements_;
};

// The per-user logbook file: "logbook.sqlite" in the program's per-user
// data folder (the same for tessra2 and tessra2-cli).
QString DefaultLogbookPath();
