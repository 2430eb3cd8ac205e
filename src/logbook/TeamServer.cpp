#include "logbook/TeamServer.h"

#include "logbook/LocalLogbook.h"
#include "logbook/SqlStatement.h"
#include "ui/WideLanguageHandler.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QTcpSocket>
#include <optional>

namespace {

constexpr int RefusedText = 974;
constexpr int NoTableText = 975;
constexpr int OlderTableText = 976;
constexpr int UnreachableText = 977;
constexpr int FailedText = 978;
constexpr int EntriesWaitText = 979;

#define TEAM_TABLE "tessra2_logbook"

constexpr SqlText TableColumns = "SELECT a.attname FROM pg_attribute a"
                                 " WHERE a.attrelid = to_regclass(?) AND a.attnum > 0"
                                 " AND NOT a.attisdropped";
constexpr SqlText InsertEntry =
    "INSERT INTO " TEAM_TABLE " (id, time_utc, serial_number, hardware_index, model,"
    " firmware_version, kind, summary, details, files, os_user, host, program_version)"
    " VALUES (CAST(? AS uuid), CAST(? AS timestamptz), ?, ?, ?, ?, ?, ?, CAST(? AS jsonb),"
    " CAST(? AS jsonb), ?, ?, ?)"
    " ON CONFLICT (id) DO NOTHING";

// One gauge's entries from a position on, newest first. The time comes as
// the logbook stores it, so that it reads back the same on every computer.
constexpr SqlText ReadGaugePage =
    "SELECT CAST(id AS text),"
    " to_char(time_utc AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"'),"
    " serial_number, hardware_index, model, firmware_version, kind, summary,"
    " CAST(details AS text), CAST(files AS text), os_user, host, program_version"
    " FROM " TEAM_TABLE " WHERE serial_number = ?"
    " AND (time_utc, id) < (CAST(? AS timestamptz), CAST(? AS uuid))"
    " ORDER BY time_utc DESC, id DESC LIMIT ?";

// Before every entry there is: the first page.
const QString AfterEveryTime = QStringLiteral("infinity");
const QString AfterEveryId = QStringLiteral("ffffffff-ffff-ffff-ffff-ffffffffffff");

QString OneLine(const QString& text) {
    return text.simplified();
}

QString Cause(const QSqlError& error) {
    return OneLine(error.databaseText().isEmpty() ? error.text() : error.databaseText());
}

// Whether a TCP connection to the server's port can be made at all: tells
// a server that is not there from one that refused the login.
bool PortAnswers(const TeamServerAddress& address, int timeoutMs, QString& cause) {
    QTcpSocket socket;
    socket.connectToHost(address.host, static_cast<quint16>(address.port));
    if (socket.waitForConnected(timeoutMs)) {
        socket.abort();
        return true;
    }
    cause = socket.errorString();
    return false;
}

// What a failed statement means: the connection went (no SQL state, or a
// state of class 08 or 57P), the table is missing or older, or the server
// refused the entries.
TeamStatus StatusOf(const QSqlError& error) {
    const QString state = error.nativeErrorCode();
    if (state.isEmpty() || state.startsWith(QLatin1String("08")) ||
        state.startsWith(QLatin1String("57P")))
        return TeamStatus::Unreachable;
    if (state == QLatin1String("42P01"))
        return TeamStatus::NoTable;
    if (state == QLatin1String("42703"))
        return TeamStatus::OlderTable;
    return TeamStatus::Failed;
}

TeamOutcome Outcome(TeamStatus status, const QString& cause) {
    TeamOutcome outcome;
    outcome.status = status;
    outcome.cause = cause;
    return outcome;
}

} // namespace

QStringList TeamTableColumns() {
    return {QStringLiteral("id"),
            QStringLiteral("time_utc"),
            QStringLiteral("serial_number"),
            QStringLiteral("hardware_index"),
            QStringLiteral("model"),
            QStringLiteral("firmware_version"),
            QStringLiteral("kind"),
            QStringLiteral("summary"),
            QStringLiteral("details"),
            QStringLiteral("files"),
            QStringLiteral("os_user"),
            QStringLiteral("host"),
            QStringLiteral("program_version")};
}

QString TeamOutcome::Message(const TeamServerAddress& server) const {
    const QString shown = server.Shown();
    QString text;
    switch (status) {
    case TeamStatus::Sent:
        return {};
    case TeamStatus::Unreachable:
        text = GetText(UnreachableText).arg(shown, cause);
        break;
    case TeamStatus::Refused:
        text = GetText(RefusedText).arg(shown, cause);
        break;
    case TeamStatus::NoTable:
        text = GetText(NoTableText).arg(shown, QLatin1String(TeamTableName));
        break;
    case TeamStatus::OlderTable:
        text = GetText(OlderTableText)
                   .arg(shown, QLatin1String(TeamTableName), missing.join(QStringLiteral(", ")));
        break;
    case TeamStatus::Failed:
        text = GetText(FailedText).arg(shown, cause);
        break;
    }
    return text + u' ' + GetText(EntriesWaitText);
}

TeamServerConnection::TeamServerConnection(TeamServerAddress address, QString connectionName,
                                           int connectTimeoutSeconds)
    : address_(std::move(address)),
      connectionName_(QStringLiteral("logbook-team:") + connectionName),
      connectTimeoutSeconds_(std::max(2, connectTimeoutSeconds)) {}

TeamServerConnection::~TeamServerConnection() {
    Disconnect();
}

void TeamServerConnection::Disconnect() {
    checked_ = false;
    if (!QSqlDatabase::contains(connectionName_))
        return;
    QSqlDatabase::database(connectionName_, false).close();
    QSqlDatabase::removeDatabase(connectionName_);
}

TeamOutcome TeamServerConnection::Connect() {
    if (QSqlDatabase::contains(connectionName_) &&
        QSqlDatabase::database(connectionName_, false).isOpen() && checked_)
        return {};
    Disconnect();
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName_);
    if (!database.isValid())
        return Outcome(TeamStatus::Failed, Cause(database.lastError()));
    database.setHostName(address_.host);
    database.setPort(address_.port);
    database.setDatabaseName(address_.database);
    database.setUserName(address_.user);
    // No password: libpq takes it from ~/.pgpass or PGPASSFILE. Keepalives
    // and the user timeout notice a server that went away mid-send.
    QStringList options = {
        QStringLiteral("connect_timeout=%1").arg(connectTimeoutSeconds_),
        QStringLiteral("keepalives=1"),
        QStringLiteral("keepalives_idle=10"),
        QStringLiteral("keepalives_interval=5"),
        QStringLiteral("keepalives_count=3"),
        QStringLiteral("tcp_user_timeout=30000"),
        QStringLiteral("application_name=tessra2"),
    };
    if (!address_.sslMode.isEmpty())
        options.append(QStringLiteral("sslmode=") + address_.sslMode);
    database.setConnectOptions(options.join(u';'));

    QElapsedTimer elapsed;
    elapsed.start();
    const bool opened = database.open();
    const QString cause = opened ? QString() : Cause(database.lastError());
    database = QSqlDatabase();
    if (!opened) {
        Disconnect();
        // It did not answer in time, or nothing listens there: unreachable.
        // It answered and said no: refused.
        const qint64 timeoutMs = connectTimeoutSeconds_ * 1000LL;
        QString network;
        if (elapsed.elapsed() >= timeoutMs - 500 ||
            !PortAnswers(address_, static_cast<int>(timeoutMs), network))
            return Outcome(TeamStatus::Unreachable, cause);
        return Outcome(TeamStatus::Refused, cause);
    }
    return CheckTable();
}

TeamOutcome TeamServerConnection::CheckTable() {
    QStringList present;
    std::optional<QSqlError> error;
    {
        SqlStatement columns(QSqlDatabase::database(connectionName_, false), TableColumns);
        if (columns.Run({QLatin1String(TeamTableName)})) {
            while (columns.Next())
                present.append(columns.Value(0).toString());
        } else {
            error = columns.Error();
        }
    }
    TeamOutcome outcome;
    if (error) {
        outcome = Outcome(StatusOf(*error), Cause(*error));
    } else if (present.isEmpty()) {
        outcome.status = TeamStatus::NoTable;
    } else {
        for (const QString& column : TeamTableColumns())
            if (!present.contains(column))
                outcome.missing.append(column);
        if (!outcome.missing.isEmpty())
            outcome.status = TeamStatus::OlderTable;
    }
    if (outcome.status == TeamStatus::Sent)
        checked_ = true;
    else
        Disconnect();
    return outcome;
}

TeamOutcome TeamServerConnection::Send(const std::vector<QueuedEntry>& entries) {
    TeamOutcome connected = Connect();
    if (connected.status != TeamStatus::Sent)
        return connected;
    QSqlError error;
    bool ok = false;
    {
        QSqlDatabase database = QSqlDatabase::database(connectionName_, false);
        ok = database.transaction();
        if (!ok)
            error = database.lastError();
        {
            SqlStatement insert(database, InsertEntry);
            int row = 0;
            for (const QueuedEntry& queued : entries) {
                if (!ok)
                    break;
                const LogbookEntry& entry = queued.entry;
                ok = insert.Run(EntryColumnValues(entry));
                if (!ok)
                    error = insert.Error();
                else if (rowObserver_)
                    rowObserver_(++row);
            }
        }
        if (ok && !database.commit()) {
            ok = false;
            error = database.lastError();
        }
        if (!ok)
            database.rollback();
    }
    if (ok) {
        TeamOutcome outcome;
        outcome.sent = static_cast<qint64>(entries.size());
        return outcome;
    }
    Disconnect();
    return Outcome(StatusOf(error), Cause(error));
}

TeamOutcome TeamServerConnection::ReadGauge(const QString& serialNumber,
                                            const std::optional<Position>& after, int limit,
                                            std::vector<LogbookEntry>& entries) {
    TeamOutcome connected = Connect();
    if (connected.status != TeamStatus::Sent)
        return connected;
    std::optional<QSqlError> error;
    {
        SqlStatement rows(QSqlDatabase::database(connectionName_, false), ReadGaugePage);
        const bool ok = rows.Run({
            NotNull(serialNumber),
            after ? StoredTime(after->timeUtc) : AfterEveryTime,
            after ? after->id.toString(QUuid::WithoutBraces) : AfterEveryId,
            limit,
        });
        if (ok) {
            while (rows.Next())
                entries.push_back(EntryOfColumns(rows, 0));
        } else {
            error = rows.Error();
        }
    }
    if (!error)
        return {};
    Disconnect();
    return Outcome(StatusOf(*error), Cause(*error));
}

TeamOutcome SendUnsent(LocalLogbook& local, TeamServerConnection& server,
                       const std::atomic<bool>* stop, int batchSize) {
    const auto waiting = [&local] { return local.UnsentCount().value_or(-1); };
    TeamOutcome total = server.Connect();
    while (total.status == TeamStatus::Sent && (stop == nullptr || !stop->load())) {
        const std::optional<std::vector<QueuedEntry>> batch = local.Unsent(batchSize);
        if (!batch) {
            total.status = TeamStatus::Failed;
            total.cause = local.LastError();
            break;
        }
        if (batch->empty())
            break;
        const TeamOutcome sent = server.Send(*batch);
        if (sent.status != TeamStatus::Sent) {
            const qint64 before = total.sent;
            total = sent;
            total.sent = before;
            break;
        }
        // Confirmed only now that the server has them; a crash before this
        // line sends them again, and the server keeps the first.
        if (!local.MarkSent(batch->back().position)) {
            total.status = TeamStatus::Failed;
            total.cause = local.LastError();
            break;
        }
        total.sent += sent.sent;
    }
    total.waiting = waiting();
    return total;
}
