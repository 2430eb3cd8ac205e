#pragma once

// A private PostgreSQL server for tests, in a temporary folder: initdb,
// listening on 127.0.0.1 at a free port and on a socket in that folder,
// stopped and removed at the end. Run by an unprivileged user (nobody)
// when the tests run as root, as CI does; the folders belong to that user
// first. TCP logins need a password (scram); the fixture's own work goes
// through the socket as the superuser.
//
//     PostgresServer server;
//     if (!PostgresServer::Available())
//         GTEST_SKIP() << "the PostgreSQL server is not installed";
//     ASSERT_TRUE(server.Start()) << server.Error();
//     ASSERT_TRUE(server.CreateTeamDatabase("team")) << server.Error();
//     PgPassScope pgpass(server, "team");   // PGPASSFILE with the tester's password
//     ... postgresql://tester@127.0.0.1:<server.Port()>/team ...
//     server.Stop();                        // the server goes away; Start() brings it back

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <optional>

class PostgresServer {
public:
    // The login role CreateTeamDatabase makes, with the team's writer role.
    static constexpr const char* Tester = "tester";
    static constexpr const char* TesterPassword = "tester's p@ss:word";

    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // Whether initdb and postgres are installed (Debian's postgresql package).
    static bool Available();

    // The first call makes the cluster; a later one starts it again on the
    // same folder and port. false (Error()) when it does not come up.
    bool Start();
    // Stops the server: fast (sessions are ended) or immediate (as a crash).
    bool Stop(bool immediate = false);
    bool Running() const { return running_; }
    int Port() const { return port_; }
    const QString& Error() const { return error_; }

    // Runs sql with psql as the superuser in database; its output (rows
    // as "a|b" lines), or none on an error (Error()).
    std::optional<QString> Sql(const QString& sql, const QString& database = "postgres");
    // The same as Tester over TCP, with the password from PGPASSFILE.
    std::optional<QString> SqlAsTester(const QString& sql, const QString& database);
    // A database with the team logbook's table and role from packaging/,
    // and the login role Tester in the writer role.
    bool CreateTeamDatabase(const QString& database);
    // The team address of database for Tester.
    QString TeamUrl(const QString& database) const;

private:
    bool Run(const QStringList& command, QString* output = nullptr, int timeoutMs = 60000);
    std::optional<QString> Psql(const QString& sql, const QStringList& connection);
    QStringList AsServerUser(const QString& program, const QStringList& arguments) const;

    QTemporaryDir folder_;
    int port_ = 0;
    bool made_ = false;
    bool running_ = false;
    QString error_;
};

// Points PGPASSFILE at a ~/.pgpass-style file for the server's Tester (and
// the password given) while it lives.
class PgPassScope {
public:
    PgPassScope(const PostgresServer& server, const QString& database,
                const QString& password = QString::fromUtf8(PostgresServer::TesterPassword));
    ~PgPassScope();
    PgPassScope(const PgPassScope&) = delete;
    PgPassScope& operator=(const PgPassScope&) = delete;

private:
    QTemporaryDir folder_;
    std::optional<QByteArray> saved_;
};
