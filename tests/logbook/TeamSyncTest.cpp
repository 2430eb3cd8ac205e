// The team server: entries sent while it is away arrive once it is back,
// exactly once also when two logbooks send at once or a send is cut off;
// a refused login and a missing or older table are said once with their
// cause; the server's role may only add and read; and the window goes on
// while the server does not answer.

#include "LogbookFixture.h"
#include "logbook/ProgramLogbook.h"
#include "logbook/TeamServer.h"
#include "support/LanguageScope.h"
#include "support/PostgresServer.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTimer>
#include <thread>

using namespace LogbookTest;

namespace {

const QString Team = QStringLiteral("team");

class TeamSyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PostgresServer::Available())
            GTEST_SKIP() << "the PostgreSQL server is not installed";
        ASSERT_TRUE(server.Start()) << server.Error().toStdString();
        ASSERT_TRUE(server.CreateTeamDatabase(Team)) << server.Error().toStdString();
    }

    TeamServerAddress Address(const QString& database = Team) const {
        return *ParseTeamAddress(server.TeamUrl(database)).address;
    }
    QString PathOf(const QString& name) const { return folder.filePath(name); }
    // The rows on the server, as another program counts them.
    QString OnServer(const QString& sql, const QString& database = Team) {
        return server.Sql(sql, database).value_or(QStringLiteral("(psql failed)"));
    }
    static void Fill(LocalLogbook& local, int count, const QString& prefix) {
        for (int n = 1; n <= count; ++n)
            ASSERT_TRUE(
                local.Add(Entry(prefix, LogbookKind::MeasurementRun, prefix + QString::number(n))));
    }
    ProgramLogbook::Options Background(const TeamServerAddress& address) const {
        ProgramLogbook::Options options;
        options.path = PathOf(QStringLiteral("logbook.sqlite"));
        options.team = address;
        options.retryIntervalMs = 100;
        options.connectTimeoutSeconds = 2;
        return options;
    }

    PostgresServer server;
    QTemporaryDir folder;
    Warnings warnings;
    LanguageScope language{OffsetEnglish};
};

} // namespace

TEST_F(TeamSyncTest, EntriesWrittenOfflineArriveOnceWhenTheServerIsBack) {
    PgPassScope pgpass(server, Team);
    ASSERT_TRUE(server.Stop());
    ProgramLogbook logbook(Background(Address()), warnings.Sink());
    for (int n = 1; n <= 30; ++n)
        ReportToLogbook(Entry(QStringLiteral("111"), LogbookKind::Connection, QString::number(n)));
    ASSERT_TRUE(WaitFor([&] { return logbook.SendsDone() >= 2; }));
    EXPECT_EQ(logbook.LastSend()->status, TeamStatus::Unreachable);
    // Being offline is normal for a laptop: nobody is bothered.
    EXPECT_TRUE(warnings.texts.isEmpty()) << warnings.texts.join(u'\n').toStdString();

    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    ASSERT_TRUE(WaitFor([&] {
        return logbook.LastSend()->status == TeamStatus::Sent && logbook.LastSend()->waiting == 0;
    }));
    EXPECT_EQ(OnServer(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT summary) FROM "
                                      "tessra2_logbook")),
              QStringLiteral("30|30"));
    // A new entry goes at once.
    const int sends = logbook.SendsDone();
    ReportToLogbook(Entry(QStringLiteral("111"), LogbookKind::Connection, QStringLiteral("31")));
    ASSERT_TRUE(WaitFor([&] { return logbook.SendsDone() > sends; }));
    EXPECT_EQ(OnServer(QStringLiteral("SELECT COUNT(*) FROM tessra2_logbook")),
              QStringLiteral("31"));
    EXPECT_EQ(logbook.Local().UnsentCount(), std::optional<qint64>(0));
}

TEST_F(TeamSyncTest, TwoLogbooksSendingAtOnceDeliverEachEntryOnce) {
    PgPassScope pgpass(server, Team);
    const QString first = PathOf(QStringLiteral("first.sqlite"));
    const QString second = PathOf(QStringLiteral("second.sqlite"));
    {
        LocalLogbook a(first, {}, QStringLiteral("fill-a"));
        LocalLogbook b(second, {}, QStringLiteral("fill-b"));
        Fill(a, 1500, QStringLiteral("A"));
        Fill(b, 1500, QStringLiteral("B"));
    }
    // Two laptops, and on the first one two programs sending the same file.
    TeamOutcome outcomes[3];
    const auto send = [this](const QString& path, const QString& name, TeamOutcome& outcome) {
        LocalLogbook local(path, {}, name + QStringLiteral("-local"));
        TeamServerConnection connection(Address(), name + QStringLiteral("-team"));
        outcome = SendUnsent(local, connection, nullptr, 100);
    };
    std::thread one(send, first, QStringLiteral("one"), std::ref(outcomes[0]));
    std::thread two(send, first, QStringLiteral("two"), std::ref(outcomes[1]));
    std::thread three(send, second, QStringLiteral("three"), std::ref(outcomes[2]));
    one.join();
    two.join();
    three.join();

    for (const TeamOutcome& outcome : outcomes) {
        EXPECT_EQ(outcome.status, TeamStatus::Sent) << outcome.cause.toStdString();
        EXPECT_EQ(outcome.waiting, 0);
    }
    EXPECT_EQ(OnServer(QStringLiteral("SELECT serial_number, COUNT(*), COUNT(DISTINCT summary)"
                                      " FROM tessra2_logbook GROUP BY 1 ORDER BY 1")),
              QStringLiteral("A|1500|1500\nB|1500|1500"));
}

TEST_F(TeamSyncTest, ASendCutOffInTheMiddleIsCompletedOnce) {
    PgPassScope pgpass(server, Team);
    LocalLogbook local(PathOf(QStringLiteral("logbook.sqlite")), {}, QStringLiteral("cut"));
    Fill(local, 1200, QStringLiteral("C"));

    // A program that ended after the server took a batch, before it was
    // marked sent here: that batch goes again.
    {
        TeamServerConnection connection(Address(), QStringLiteral("crashed"));
        ASSERT_EQ(connection.Send(*local.Unsent(300)).status, TeamStatus::Sent);
    }
    EXPECT_EQ(local.UnsentCount(), std::optional<qint64>(1200));

    // The server goes away in the middle of the second batch.
    TeamServerConnection connection(Address(), QStringLiteral("cut-off"), 2);
    int batch = 0;
    connection.SetRowObserver([&](int row) {
        if (row == 1)
            ++batch;
        if (batch == 2 && row == 250)
            server.Stop(true);
    });
    const TeamOutcome cut = SendUnsent(local, connection, nullptr, 500);
    EXPECT_EQ(cut.status, TeamStatus::Unreachable);
    EXPECT_EQ(cut.sent, 500);
    EXPECT_EQ(cut.waiting, 700);

    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    connection.SetRowObserver({});
    const TeamOutcome done = SendUnsent(local, connection, nullptr, 500);
    EXPECT_EQ(done.status, TeamStatus::Sent) << done.cause.toStdString();
    EXPECT_EQ(done.waiting, 0);
    EXPECT_EQ(OnServer(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT summary) FROM "
                                      "tessra2_logbook")),
              QStringLiteral("1200|1200"));
}

TEST_F(TeamSyncTest, ARefusedLoginIsSaidOnceWithItsCauseAndTheEntriesWait) {
    auto wrong = std::make_unique<PgPassScope>(server, Team, QStringLiteral("not the password"));
    ProgramLogbook logbook(Background(Address()), warnings.Sink());
    for (int n = 1; n <= 3; ++n)
        ReportToLogbook(Entry(QStringLiteral("111"), LogbookKind::Connection, QString::number(n)));
    ASSERT_TRUE(WaitFor([&] { return logbook.SendsDone() >= 4; }));
    EXPECT_EQ(logbook.LastSend()->status, TeamStatus::Refused);
    ASSERT_EQ(warnings.texts.size(), 1) << warnings.texts.join(u'\n').toStdString();
    EXPECT_TRUE(warnings.texts[0].startsWith(QStringLiteral("The team logbook server ") +
                                             Address().Shown() +
                                             QStringLiteral(" refused the login: ")))
        << warnings.texts[0].toStdString();
    EXPECT_TRUE(warnings.texts[0].contains(QStringLiteral("password authentication failed")))
        << warnings.texts[0].toStdString();
    EXPECT_EQ(logbook.Local().UnsentCount(), std::optional<qint64>(3));

    // With the right password the waiting entries go, and nothing more is said.
    wrong.reset();
    PgPassScope right(server, Team);
    ASSERT_TRUE(WaitFor([&] { return logbook.LastSend()->status == TeamStatus::Sent; }));
    EXPECT_EQ(OnServer(QStringLiteral("SELECT COUNT(*) FROM tessra2_logbook")),
              QStringLiteral("3"));
    EXPECT_EQ(warnings.texts.size(), 1);
}

TEST_F(TeamSyncTest, AServerWithoutTheTableOrWithAnOlderOneSaysWhatIsMissing) {
    ASSERT_TRUE(server.Sql(QStringLiteral("CREATE DATABASE empty; CREATE DATABASE older;")));
    // The table as an older program made it: without the columns added since.
    ASSERT_TRUE(server.Sql(
        QStringLiteral("CREATE TABLE tessra2_logbook (id uuid PRIMARY KEY, time_utc timestamptz,"
                       " serial_number text, hardware_index text, model integer,"
                       " firmware_version text, kind text, summary text, details jsonb,"
                       " files jsonb, os_user text);"
                       "GRANT SELECT, INSERT ON tessra2_logbook TO tessra2_logbook_writer;"),
        QStringLiteral("older")))
        << server.Error().toStdString();
    LocalLogbook local(PathOf(QStringLiteral("logbook.sqlite")), {}, QStringLiteral("tables"));
    Fill(local, 2, QStringLiteral("T"));

    {
        PgPassScope pgpass(server, QStringLiteral("empty"));
        TeamServerConnection connection(Address(QStringLiteral("empty")), QStringLiteral("empty"));
        const TeamOutcome outcome = SendUnsent(local, connection);
        EXPECT_EQ(outcome.status, TeamStatus::NoTable);
        EXPECT_EQ(outcome.Message(Address(QStringLiteral("empty"))),
                  QStringLiteral("The team logbook server %1 has no table tessra2_logbook. "
                                 "Whoever looks after the server creates it with "
                                 "tessra2-logbook-server.sql. The entries wait for the next send.")
                      .arg(Address(QStringLiteral("empty")).Shown()));
    }
    {
        PgPassScope pgpass(server, QStringLiteral("older"));
        TeamServerConnection connection(Address(QStringLiteral("older")), QStringLiteral("older"));
        const TeamOutcome outcome = SendUnsent(local, connection);
        EXPECT_EQ(outcome.status, TeamStatus::OlderTable);
        EXPECT_EQ(outcome.missing, QStringList({"host", "program_version"}));
        EXPECT_TRUE(outcome.Message(Address(QStringLiteral("older")))
                        .contains(QStringLiteral("it lacks the columns host, program_version.")));
    }
    EXPECT_EQ(local.UnsentCount(), std::optional<qint64>(2));
}

TEST_F(TeamSyncTest, TheWritersMayOnlyAddAndRead) {
    PgPassScope pgpass(server, Team);
    LocalLogbook local(PathOf(QStringLiteral("logbook.sqlite")), {}, QStringLiteral("writer"));
    LogbookEntry hostile = Entry(QStringLiteral("12'; DROP TABLE tessra2_logbook; --"),
                                 LogbookKind::ConfigurationWrite,
                                 QStringLiteral("O'Brien \"quoted\" \\ $1 ?; DELETE FROM x"));
    hostile.details = {{QStringLiteral("note"), QStringLiteral("'); DROP ROLE tester; --")}};
    ASSERT_TRUE(local.Add(hostile));
    TeamServerConnection connection(Address(), QStringLiteral("writer"));
    const TeamOutcome sent = SendUnsent(local, connection);
    ASSERT_EQ(sent.status, TeamStatus::Sent) << sent.cause.toStdString();

    // What was sent arrived as it was written.
    EXPECT_EQ(server.SqlAsTester(QStringLiteral("SELECT serial_number, summary, details->>'note'"
                                                " FROM tessra2_logbook"),
                                 Team),
              hostile.gauge.serialNumber + u'|' + hostile.summary +
                  QStringLiteral("|'); DROP "
                                 "ROLE tester; --"));
    // Nobody of the team can change or remove an entry.
    EXPECT_FALSE(
        server.SqlAsTester(QStringLiteral("UPDATE tessra2_logbook SET summary = 'x'"), Team));
    EXPECT_TRUE(server.Error().contains(QStringLiteral("permission denied")))
        << server.Error().toStdString();
    EXPECT_FALSE(server.SqlAsTester(QStringLiteral("DELETE FROM tessra2_logbook"), Team));
    EXPECT_FALSE(server.SqlAsTester(QStringLiteral("DROP TABLE tessra2_logbook"), Team));
    EXPECT_EQ(OnServer(QStringLiteral("SELECT COUNT(*) FROM tessra2_logbook")),
              QStringLiteral("1"));
}

// Needs no server: a port that takes the connection and never answers.
TEST(TeamSyncStall, TheWindowGoesOnWhileTheServerDoesNotAnswer) {
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    QTemporaryDir folder;
    ProgramLogbook::Options options;
    options.path = folder.filePath(QStringLiteral("logbook.sqlite"));
    options.team =
        *ParseTeamAddress(
             QStringLiteral("postgresql://tester@127.0.0.1:%1/team").arg(silent.serverPort()))
             .address;
    options.retryIntervalMs = 100;
    options.connectTimeoutSeconds = 2;
    std::optional<ProgramLogbook> logbook(std::in_place, options, ProgramLogbook::Warn());

    // The window's part: a tick every few milliseconds and an entry every 50.
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
    });
    QTimer entries;
    int written = 0;
    QObject::connect(&entries, &QTimer::timeout, [&] {
        ReportToLogbook(
            Entry(QStringLiteral("1"), LogbookKind::Connection, QString::number(++written)));
    });
    tick.start(2);
    entries.start(50);
    // Longer than a connection attempt, so that sends end and begin again.
    QTest::qWait(5000);
    tick.stop();
    entries.stop();

    EXPECT_GE(logbook->SendsDone(), 2);
    EXPECT_EQ(logbook->LastSend()->status, TeamStatus::Unreachable);
    EXPECT_LE(longestGap, 50) << "the window stood still for " << longestGap << " ms";
    EXPECT_EQ(logbook->Local().UnsentCount(), std::optional<qint64>(written));
}
