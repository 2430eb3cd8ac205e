#include "support/PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QVersionNumber>
#include <algorithm>
#include <pwd.h>
#include <unistd.h>

namespace {

// Debian keeps the server's programs in /usr/lib/postgresql/<version>/bin;
// elsewhere they may be on the PATH.
QString BinDir() {
    const QDir lib(QStringLiteral("/usr/lib/postgresql"));
    QStringList versions = lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(), [](const QString& a, const QString& b) {
        return QVersionNumber::fromString(a) > QVersionNumber::fromString(b);
    });
    for (const QString& version : versions) {
        const QString bin = lib.filePath(version + QStringLiteral("/bin"));
        if (QFileInfo(bin + QStringLiteral("/initdb")).isExecutable() &&
            QFileInfo(bin + QStringLiteral("/postgres")).isExecutable())
            return bin;
    }
    const QString initdb = QStandardPaths::findExecutable(QStringLiteral("initdb"));
    return initdb.isEmpty() ? QString() : QFileInfo(initdb).absolutePath();
}

QString Program(const QString& name) {
    return BinDir() + u'/' + name;
}

int FreePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

// The user the server runs as when the tests run as root.
const passwd* ServerUser() {
    return geteuid() == 0 ? getpwnam("nobody") : nullptr;
}

QString PgPassField(QString text) {
    return text.replace(QStringLiteral("\\"), QStringLiteral("\\\\"))
        .replace(QStringLiteral(":"), QStringLiteral("\\:"));
}

} // namespace

PostgresServer::PostgresServer() = default;

PostgresServer::~PostgresServer() {
    Stop();
}

bool PostgresServer::Available() {
    return !BinDir().isEmpty() && (geteuid() != 0 || getpwnam("nobody") != nullptr);
}

QStringList PostgresServer::AsServerUser(const QString& program,
                                         const QStringList& arguments) const {
    const passwd* user = ServerUser();
    if (user == nullptr)
        return QStringList{program} + arguments;
    return QStringList{QStringLiteral("setpriv"),
                       QStringLiteral("--reuid=%1").arg(user->pw_uid),
                       QStringLiteral("--regid=%1").arg(user->pw_gid),
                       QStringLiteral("--clear-groups"),
                       QStringLiteral("--"),
                       program} +
           arguments;
}

bool PostgresServer::Run(const QStringList& command, QString* output, int timeoutMs) {
    QProcess process;
    process.setProgram(command.first());
    process.setArguments(command.mid(1));
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start();
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        error_ = command.join(u' ') + QStringLiteral(" failed: ") +
                 QString::fromLocal8Bit(process.readAll()) + process.errorString();
        return false;
    }
    if (output != nullptr)
        *output = QString::fromUtf8(process.readAll());
    return true;
}

bool PostgresServer::Start() {
    if (!Available()) {
        error_ = QStringLiteral("the PostgreSQL server is not installed");
        return false;
    }
    if (!folder_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return false;
    }
    const QString data = folder_.filePath(QStringLiteral("data"));
    if (!made_) {
        // The server's user owns the folder it writes its data and socket in.
        if (const passwd* user = ServerUser();
            user != nullptr &&
            chown(QFile::encodeName(folder_.path()).constData(), user->pw_uid, user->pw_gid) != 0) {
            error_ = QStringLiteral("cannot give the folder to the server's user");
            return false;
        }
        if (!Run(AsServerUser(Program(QStringLiteral("initdb")),
                              {QStringLiteral("-D"), data, QStringLiteral("-U"),
                               QStringLiteral("postgres"), QStringLiteral("--auth-local=trust"),
                               QStringLiteral("--auth-host=scram-sha-256"),
                               QStringLiteral("--no-sync"), QStringLiteral("-E"),
                               QStringLiteral("UTF8"), QStringLiteral("--locale=C")})))
            return false;
        port_ = FreePort();
        made_ = true;
    }
    // pg_ctl waits until the server takes connections.
    const QString options =
        QStringLiteral("-k '%1' -h 127.0.0.1 -p %2 -c fsync=off -c full_page_writes=off"
                       " -c max_connections=30")
            .arg(folder_.path(), QString::number(port_));
    if (!Run(AsServerUser(Program(QStringLiteral("pg_ctl")),
                          {QStringLiteral("-D"), data, QStringLiteral("-o"), options,
                           QStringLiteral("-l"), folder_.filePath(QStringLiteral("server.log")),
                           QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"),
                           QStringLiteral("start")}))) {
        QFile log(folder_.filePath(QStringLiteral("server.log")));
        if (log.open(QIODevice::ReadOnly))
            error_ += QStringLiteral("\n") + QString::fromLocal8Bit(log.readAll());
        return false;
    }
    running_ = true;
    return true;
}

bool PostgresServer::Stop(bool immediate) {
    if (!running_)
        return true;
    running_ = false;
    return Run(AsServerUser(Program(QStringLiteral("pg_ctl")),
                            {QStringLiteral("-D"), folder_.filePath(QStringLiteral("data")),
                             QStringLiteral("-m"),
                             immediate ? QStringLiteral("immediate") : QStringLiteral("fast"),
                             QStringLiteral("-w"), QStringLiteral("stop")}));
}

std::optional<QString> PostgresServer::Psql(const QString& sql, const QStringList& connection) {
    QProcess psql;
    psql.start(
        Program(QStringLiteral("psql")),
        connection +
            QStringList{QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-A"),
                        QStringLiteral("-t"), QStringLiteral("-v"),
                        QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-v"),
                        QStringLiteral("tester_password=") + QString::fromUtf8(TesterPassword)});
    psql.write(sql.toUtf8());
    psql.closeWriteChannel();
    if (!psql.waitForFinished(60000) || psql.exitCode() != 0) {
        error_ = QStringLiteral("psql: ") + QString::fromUtf8(psql.readAllStandardError());
        return std::nullopt;
    }
    return QString::fromUtf8(psql.readAllStandardOutput()).trimmed();
}

std::optional<QString> PostgresServer::Sql(const QString& sql, const QString& database) {
    return Psql(sql,
                {QStringLiteral("-h"), folder_.path(), QStringLiteral("-p"), QString::number(port_),
                 QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-d"), database});
}

std::optional<QString> PostgresServer::SqlAsTester(const QString& sql, const QString& database) {
    return Psql(sql, {QStringLiteral("-w"), QStringLiteral("-h"), QStringLiteral("127.0.0.1"),
                      QStringLiteral("-p"), QString::number(port_), QStringLiteral("-U"),
                      QLatin1String(Tester), QStringLiteral("-d"), database});
}

bool PostgresServer::CreateTeamDatabase(const QString& database) {
    QFile setup(
        QStringLiteral(TESSRA_SOURCE_DIR "/packaging/postgresql/tessra2-logbook-server.sql"));
    if (!setup.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("cannot read ") + setup.fileName();
        return false;
    }
    return Sql(QStringLiteral("CREATE DATABASE \"%1\";").arg(database)) &&
           Sql(QString::fromUtf8(setup.readAll()), database) &&
           Sql(QStringLiteral("DO $$ BEGIN\n"
                              "  IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = '%1') THEN\n"
                              "    CREATE ROLE %1 LOGIN;\n"
                              "  END IF;\n"
                              "END $$;\n"
                              "ALTER ROLE %1 PASSWORD :'tester_password';\n"
                              "GRANT tessra2_logbook_writer TO %1;\n")
                   .arg(QLatin1String(Tester)),
               database);
}

QString PostgresServer::TeamUrl(const QString& database) const {
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3")
        .arg(QLatin1String(Tester), QString::number(port_), database);
}

PgPassScope::PgPassScope(const PostgresServer& server, const QString& database,
                         const QString& password) {
    if (qEnvironmentVariableIsSet("PGPASSFILE"))
        saved_ = qgetenv("PGPASSFILE");
    const QString path = folder_.filePath(QStringLiteral("pgpass"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QStringLiteral("127.0.0.1:%1:%2:%3:%4\n")
                       .arg(QString::number(server.Port()), PgPassField(database),
                            QLatin1String(PostgresServer::Tester), PgPassField(password))
                       .toUtf8());
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    qputenv("PGPASSFILE", QFile::encodeName(path));
}

PgPassScope::~PgPassScope() {
    if (saved_)
        qputenv("PGPASSFILE", *saved_);
    else
        qunsetenv("PGPASSFILE");
}
