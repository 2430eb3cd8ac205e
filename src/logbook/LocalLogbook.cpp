#include "logbook/LocalLogbook.h"

#include "logbook/SqlStatement.h"
#include "ui/WideLanguageHandler.h"

#include "VersionResource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QStandardPaths>
#include <iterator>
#include <limits>
#include <span>

namespace {

constexpr int CannotWriteText = 970;
constexpr int DamagedText = 971;
constexpr int NewerSchemaText = 972;
constexpr int NoFolderText = 973;

// SQLite's primary result codes that the logbook tells apart.
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteNotADatabase = 26;

// How long a write waits for the team sync's short transactions.
constexpr int BusyTimeoutMs = 2000;

// One step of the schema: its statements, run in one transaction together
// with the row that records the version reached.
struct Migration {
    int version;
    std::span<const SqlText> statements;
};

// 1: the entries, the indexes the history and the command line read by,
// and the versions applied.
constexpr SqlText Version1[] = {
    "CREATE TABLE schema_versions (version INTEGER PRIMARY KEY, applied_utc TEXT NOT NULL)",
    "CREATE TABLE entries ("
    " seq INTEGER PRIMARY KEY,"
    " id TEXT NOT NULL UNIQUE,"
    " time_utc TEXT NOT NULL,"
    " serial_number TEXT NOT NULL,"
    " hardware_index TEXT NOT NULL,"
    " model INTEGER NOT NULL,"
    " firmware_version TEXT NOT NULL,"
    " kind TEXT NOT NULL,"
    " summary TEXT NOT NULL,"
    " details TEXT NOT NULL,"
    " files TEXT NOT NULL,"
    " os_user TEXT NOT NULL,"
    " host TEXT NOT NULL,"
    " program_version TEXT NOT NULL)",
    "CREATE INDEX entries_by_gauge ON entries (serial_number, time_utc)",
    "CREATE INDEX entries_by_kind ON entries (kind, time_utc)",
    "CREATE INDEX entries_by_time ON entries (time_utc)",
};
// 2: the queue of entries the team server has not confirmed yet; every
// entry written before is still to be sent.
constexpr SqlText Version2[] = {
    "CREATE TABLE team_unsent (seq INTEGER PRIMARY KEY REFERENCES entries (seq))",
    "INSERT INTO team_unsent (seq) SELECT seq FROM entries",
};

// Every version from the first on; a file of any earlier version is
// brought up to date step by step. A released step is never changed.
constexpr Migration Migrations[] = {{1, Version1}, {2, Version2}};
static_assert(std::size(Migrations) == LocalLogbook::SchemaVersion);

constexpr SqlText InsertEntry =
    "INSERT INTO entries (id, time_utc, serial_number, hardware_index, model, firmware_version,"
    " kind, summary, details, files, os_user, host, program_version)"
    " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
    " ON CONFLICT (id) DO NOTHING";
constexpr SqlText QueueEntry = "INSERT INTO team_unsent (seq) VALUES (last_insert_rowid())";

#define ENTRY_COLUMNS                                                                              \
    "e.seq, e.id, e.time_utc, e.serial_number, e.hardware_index, e.model, e.firmware_version,"     \
    " e.kind, e.summary, e.details, e.files, e.os_user, e.host, e.program_version"
// Newest first from a position on: the filters each have their statement,
// so that each can use its index.
#define PAGE                                                                                       \
    "e.time_utc >= ? AND (e.time_utc, e.seq) < (?, ?) ORDER BY e.time_utc DESC, e.seq DESC LIMIT " \
    "?"
constexpr SqlText ReadAll = "SELECT " ENTRY_COLUMNS " FROM entries e WHERE " PAGE;
constexpr SqlText ReadGauge =
    "SELECT " ENTRY_COLUMNS " FROM entries e WHERE e.serial_number = ? AND " PAGE;
constexpr SqlText ReadKind = "SELECT " ENTRY_COLUMNS " FROM entries e WHERE e.kind = ? AND " PAGE;
constexpr SqlText ReadGaugeKind =
    "SELECT " ENTRY_COLUMNS " FROM entries e WHERE e.serial_number = ? AND e.kind = ? AND " PAGE;
constexpr SqlText PositionOf = "SELECT time_utc, seq FROM entries WHERE id = ?";
constexpr SqlText ReadUnsent =
    "SELECT " ENTRY_COLUMNS " FROM team_unsent u JOIN entries e ON e.seq = u.seq"
    " ORDER BY u.seq LIMIT ?";
#undef PAGE
#undef ENTRY_COLUMNS

// Everything stored sorts below this time text.
const QString AfterEveryTime = QStringLiteral("9999");

int PrimaryCode(const QSqlError& error) {
    bool number = false;
    const int code = error.nativeErrorCode().toInt(&number);
    return number ? code & 0xff : -1;
}

QString Cause(const QSqlError& error) {
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.trimmed();
}

// The entry of a row of ENTRY_COLUMNS.
QueuedEntry EntryOfRow(const SqlStatement& row) {
    return {row.Value(0).toLongLong(), EntryOfColumns(row, 1)};
}

// "logbook.sqlite" -> "logbook.damaged-2025-03-01_09-30-00.sqlite", a
// name not taken yet.
QString AsideName(const QString& path) {
    const QFileInfo info(path);
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    QString aside =
        info.dir().filePath(info.completeBaseName() + QStringLiteral(".damaged-") + stamp + suffix);
    for (int n = 2; QFileInfo::exists(aside) && n < 1000; ++n)
        aside = info.dir().filePath(info.completeBaseName() + QStringLiteral(".damaged-") + stamp +
                                    QStringLiteral("_%1").arg(n) + suffix);
    return aside;
}

} // namespace

struct LocalLogbook::Statements {
    explicit Statements(const QSqlDatabase& database)
        : insert(database, InsertEntry), queue(database, QueueEntry) {}
    SqlStatement insert;
    SqlStatement queue;
};

QString DefaultLogbookPath() {
    // The window program's per-user data folder (AppDataLocation with its
    // organisation and application names), whichever program writes.
    const QDir data(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    return data.filePath(
        QStringLiteral(TESSRA_COMPANY_NAME "/" TESSRA_INTERNAL_NAME "/logbook.sqlite"));
}

LocalLogbook::LocalLogbook(QString path, Warn warn, QString connectionName)
    : path_(std::move(path)), warn_(std::move(warn)),
      connectionName_(QStringLiteral("logbook-file:") + connectionName) {}

LocalLogbook::~LocalLogbook() {
    Close();
}

bool LocalLogbook::Open() {
    if (open_)
        return true;
    if (OpenDatabase())
        return true;
    Close();
    if (Classify(lastSqlError_) == Trouble::Damaged)
        return StartAfresh();
    WarnUnwritable(lastError_);
    return false;
}

bool LocalLogbook::Failed(const QSqlError& error) {
    lastSqlError_ = error;
    lastError_ = Cause(error);
    return false;
}

bool LocalLogbook::OpenDatabase() {
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder)) {
        lastSqlError_ = QSqlError();
        lastError_ = GetText(NoFolderText).arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    if (!database.isValid())
        return Failed(database.lastError());
    database.setDatabaseName(path_);
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    if (!database.open())
        return Failed(database.lastError());
    // Write-ahead log: a commit is one append, readers never wait for it,
    // and a crash of the program leaves every committed entry. NORMAL: no
    // sync per commit, which the log does not need for that.
    QSqlError error;
    if (!RunSql(database, "PRAGMA journal_mode = WAL", {}, &error) ||
        !RunSql(database, "PRAGMA synchronous = NORMAL", {}, &error) ||
        !RunSql(database, "PRAGMA foreign_keys = ON", {}, &error) ||
        (!checkpointOnCommit_ && !RunSql(database, "PRAGMA wal_autocheckpoint = 0", {}, &error)))
        return Failed(error);
    if (!Migrate(database))
        return false;
    statements_ = std::make_unique<Statements>(database);
    open_ = true;
    return true;
}

std::optional<int> LocalLogbook::ReadVersion(const QSqlDatabase& database) {
    SqlStatement versions(database, "SELECT COUNT(*) FROM sqlite_master"
                                    " WHERE type = 'table' AND name = 'schema_versions'");
    if (!versions.Run() || !versions.Next()) {
        Failed(versions.Error());
        return std::nullopt;
    }
    if (versions.Value(0).toInt() == 0)
        return 0;
    SqlStatement current(database, "SELECT MAX(version) FROM schema_versions");
    if (!current.Run() || !current.Next()) {
        Failed(current.Error());
        return std::nullopt;
    }
    return current.Value(0).toInt();
}

bool LocalLogbook::Migrate(const QSqlDatabase& database) {
    std::optional<int> version = ReadVersion(database);
    if (!version)
        return false;
    if (*version < SchemaVersion) {
        // Another program may be opening the same new file: the first one
        // to take the lock brings it up to date, the other finds it so.
        QSqlError error;
        if (!RunSql(database, "BEGIN IMMEDIATE", {}, &error))
            return Failed(error);
        version = ReadVersion(database);
        bool ok = version.has_value();
        for (const Migration& step : Migrations) {
            if (!ok || step.version <= *version)
                continue;
            for (const SqlText& statement : step.statements)
                ok = ok && RunSql(database, statement, {}, &error);
            ok = ok && RunSql(database,
                              "INSERT INTO schema_versions (version, applied_utc) VALUES (?, ?)",
                              {step.version, StoredTime(QDateTime::currentDateTimeUtc())}, &error);
        }
        ok = ok && RunSql(database, "COMMIT", {}, &error);
        if (!ok) {
            RunSql(database, "ROLLBACK", {});
            return error.type() == QSqlError::NoError ? false : Failed(error);
        }
    }
    if (*version > SchemaVersion) {
        lastSqlError_ = QSqlError();
        lastError_ = GetText(NewerSchemaText).arg(*version);
        return false;
    }
    return true;
}

void LocalLogbook::Close() {
    statements_.reset();
    open_ = false;
    if (!QSqlDatabase::contains(connectionName_))
        return;
    {
        QSqlDatabase database = QSqlDatabase::database(connectionName_, false);
        database.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

LocalLogbook::Trouble LocalLogbook::Classify(const QSqlError& error) const {
    switch (PrimaryCode(error)) {
    case SqliteCorrupt:
    case SqliteNotADatabase:
        return Trouble::Damaged;
    case SqliteBusy:
    case SqliteLocked:
        return Trouble::Busy;
    default:
        return Trouble::Unwritable;
    }
}

bool LocalLogbook::StartAfresh() {
    Close();
    const QString aside = AsideName(path_);
    // The write-ahead log and its index belong to the damaged file.
    bool moved = QFile::rename(path_, aside);
    for (const QString& companion : {QStringLiteral("-wal"), QStringLiteral("-shm")})
        if (QFileInfo::exists(path_ + companion))
            moved = QFile::rename(path_ + companion, aside + companion) && moved;
    if (!moved || !OpenDatabase()) {
        Close();
        WarnUnwritable(moved ? lastError_ : QDir::toNativeSeparators(path_));
        return false;
    }
    if (warn_)
        warn_(GetText(DamagedText)
                  .arg(QDir::toNativeSeparators(path_), QDir::toNativeSeparators(aside)));
    return true;
}

void LocalLogbook::WarnUnwritable(const QString& cause) {
    if (warned_)
        return;
    warned_ = true;
    if (warn_)
        warn_(GetText(CannotWriteText).arg(QDir::toNativeSeparators(path_), cause));
}

bool LocalLogbook::Add(const LogbookEntry& entry) {
    waiting_.push_back(entry);
    if (!Open())
        return false;
    bool startedAfresh = false;
    while (!waiting_.empty()) {
        switch (Write(waiting_.front())) {
        case Trouble::None:
            waiting_.pop_front();
            continue;
        case Trouble::Damaged:
            if (!startedAfresh && StartAfresh()) {
                startedAfresh = true;
                continue;
            }
            return false;
        case Trouble::Busy:
            return false;
        case Trouble::Unwritable:
            WarnUnwritable(lastError_);
            return false;
        }
    }
    // It works again: a later failure is worth a warning of its own.
    warned_ = false;
    return true;
}

LocalLogbook::Trouble LocalLogbook::Write(const LogbookEntry& entry) {
    QSqlDatabase database = QSqlDatabase::database(connectionName_, false);
    if (!database.transaction()) {
        Failed(database.lastError());
        return Classify(lastSqlError_);
    }
    const bool inserted = statements_->insert.Run(EntryColumnValues(entry));
    if (!inserted) {
        Failed(statements_->insert.Error());
        database.rollback();
        return Classify(lastSqlError_);
    }
    // The same entry once more (its id is taken) is there already, and
    // queued or sent as it was.
    const bool added = statements_->insert.RowsChanged() > 0;
    if (added && !statements_->queue.Run()) {
        Failed(statements_->queue.Error());
        database.rollback();
        return Classify(lastSqlError_);
    }
    if (!database.commit()) {
        Failed(database.lastError());
        database.rollback();
        return Classify(lastSqlError_);
    }
    return Trouble::None;
}

std::vector<LogbookEntry> LocalLogbook::Read(const LogbookQuery& query) {
    std::vector<LogbookEntry> entries;
    if (!Open())
        return entries;
    QSqlDatabase database = QSqlDatabase::database(connectionName_, false);
    QString beforeTime = AfterEveryTime;
    qint64 beforeSeq = std::numeric_limits<qint64>::max();
    if (!query.olderThan.isNull()) {
        SqlStatement position(database, PositionOf);
        if (!position.Run({query.olderThan.toString(QUuid::WithoutBraces)}) || !position.Next())
            return entries;
        beforeTime = position.Value(0).toString();
        beforeSeq = position.Value(1).toLongLong();
    }
    const QString since = NotNull(query.since.isValid() ? StoredTime(query.since) : QString());
    const int limit = query.limit > 0 ? query.limit : -1;
    const bool bySerial = !query.serialNumber.isEmpty();
    const QString kind = query.kind ? KindName(*query.kind) : QString();

    std::optional<SqlStatement> rows;
    bool ok = false;
    if (bySerial && query.kind) {
        rows.emplace(database, ReadGaugeKind);
        ok = rows->Run({query.serialNumber, kind, since, beforeTime, beforeSeq, limit});
    } else if (bySerial) {
        rows.emplace(database, ReadGauge);
        ok = rows->Run({query.serialNumber, since, beforeTime, beforeSeq, limit});
    } else if (query.kind) {
        rows.emplace(database, ReadKind);
        ok = rows->Run({kind, since, beforeTime, beforeSeq, limit});
    } else {
        rows.emplace(database, ReadAll);
        ok = rows->Run({since, beforeTime, beforeSeq, limit});
    }
    if (!ok) {
        Failed(rows->Error());
        return entries;
    }
    while (rows->Next())
        entries.push_back(EntryOfRow(*rows).entry);
    return entries;
}

std::optional<std::vector<QueuedEntry>> LocalLogbook::Unsent(int limit) {
    if (!Open())
        return std::nullopt;
    SqlStatement rows(QSqlDatabase::database(connectionName_, false), ReadUnsent);
    if (!rows.Run({limit})) {
        Failed(rows.Error());
        return std::nullopt;
    }
    std::vector<QueuedEntry> entries;
    while (rows.Next())
        entries.push_back(EntryOfRow(rows));
    return entries;
}

std::optional<qint64> LocalLogbook::UnsentCount() {
    if (!Open())
        return std::nullopt;
    SqlStatement count(QSqlDatabase::database(connectionName_, false),
                       "SELECT COUNT(*) FROM team_unsent");
    if (!count.Run() || !count.Next()) {
        Failed(count.Error());
        return std::nullopt;
    }
    return count.Value(0).toLongLong();
}

bool LocalLogbook::MarkSent(qint64 upToPosition) {
    if (!Open())
        return false;
    // The queue is sent oldest first, and a new entry always comes after
    // every entry there is: so everything up to the last one sent has arrived.
    QSqlError error;
    if (!RunSql(QSqlDatabase::database(connectionName_, false),
                "DELETE FROM team_unsent WHERE seq <= ?", {upToPosition}, &error))
        return Failed(error);
    return true;
}

bool LocalLogbook::Checkpoint() {
    if (!Open())
        return false;
    QSqlError error;
    if (!RunSql(QSqlDatabase::database(connectionName_, false), "PRAGMA wal_checkpoint(PASSIVE)",
                {}, &error))
        return Failed(error);
    return true;
}
