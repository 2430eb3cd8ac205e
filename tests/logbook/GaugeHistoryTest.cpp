// The gauge history: one gauge's entries from the local logbook and the
// team server, each once and newest first; the filter by kind and the
// reading a page at a time; the precision tests' deviations; and, in the
// window, the CSV export's bytes and the double click that opens an
// entry's file.

#include "LogbookFixture.h"
#include "logbook/GaugeHistoryWindow.h"
#include "logbook/LogbookEvents.h"
#include "logbook/TeamServer.h"
#include "support/FolderSettingsGuard.h"
#include "support/LanguageScope.h"
#include "support/PostgresServer.h"
#include "support/ScriptedDialogs.h"
#include "ui/UrlOpener.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTableView>

using namespace LogbookTest;

namespace {

const QString Serial = QStringLiteral("123456789");

QDateTime At(int month, int day, int hour = 8) {
    return QDateTime(QDate(2024, month, day), QTime(hour, 0), Qt::UTC);
}

QStringList Summaries(const std::vector<LogbookEntry>& entries) {
    QStringList summaries;
    for (const LogbookEntry& entry : entries)
        summaries.append(entry.summary);
    return summaries;
}

// Records the addresses the program asks the desktop to open.
class RecordingUrlOpener {
public:
    RecordingUrlOpener() {
        InstallUrlOpener([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
    }
    ~RecordingUrlOpener() { InstallUrlOpener({}); }
    RecordingUrlOpener(const RecordingUrlOpener&) = delete;
    RecordingUrlOpener& operator=(const RecordingUrlOpener&) = delete;
    QList<QUrl> opened;
};

class GaugeHistoryTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return folder.filePath(name); }
    HistorySources Local() const { return {PathOf(QStringLiteral("logbook.sqlite")), {}, 2}; }
    void Add(LocalLogbook& logbook, const QString& serial, LogbookKind kind, const QString& summary,
             const QDateTime& time) {
        ASSERT_TRUE(logbook.Add(Entry(serial, kind, summary, time)))
            << logbook.LastError().toStdString();
    }

    QTemporaryDir folder;
    LanguageScope language{OffsetEnglish};
};

} // namespace

TEST_F(GaugeHistoryTest, ShowsLocalAndTeamEntriesOnceNewestFirst) {
    if (!PostgresServer::Available())
        GTEST_SKIP() << "the PostgreSQL server is not installed";
    PostgresServer server;
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    ASSERT_TRUE(server.CreateTeamDatabase(QStringLiteral("team"))) << server.Error().toStdString();
    PgPassScope pgpass(server, QStringLiteral("team"));
    const TeamServerAddress address =
        *ParseTeamAddress(server.TeamUrl(QStringLiteral("team"))).address;

    // This laptop: one entry sent to the team, one still waiting.
    LocalLogbook mine(PathOf(QStringLiteral("logbook.sqlite")), {}, QStringLiteral("mine"));
    Add(mine, Serial, LogbookKind::Connection, QStringLiteral("sent from here"), At(1, 10));
    TeamServerConnection myConnection(address, QStringLiteral("mine"));
    ASSERT_EQ(SendUnsent(mine, myConnection).status, TeamStatus::Sent);
    Add(mine, Serial, LogbookKind::ClockSet, QStringLiteral("not sent yet"), At(3, 1));
    // A colleague's laptop: the same gauge, and another one.
    LocalLogbook theirs(PathOf(QStringLiteral("theirs.sqlite")), {}, QStringLiteral("theirs"));
    Add(theirs, Serial, LogbookKind::FirmwareUpdate, QStringLiteral("a colleague's"), At(2, 5));
    Add(theirs, QStringLiteral("987654321"), LogbookKind::Connection,
        QStringLiteral("another gauge"), At(2, 6));
    TeamServerConnection theirConnection(address, QStringLiteral("theirs"));
    ASSERT_EQ(SendUnsent(theirs, theirConnection).status, TeamStatus::Sent);

    GaugeHistory history({mine.Path(), address, 2}, Serial);
    ASSERT_TRUE(WaitFor([&] { return history.TeamState() != TeamHistoryState::Reading; }));
    EXPECT_EQ(history.TeamState(), TeamHistoryState::Read) << history.TeamProblem().toStdString();
    EXPECT_EQ(Summaries(history.Entries()),
              QStringList({"not sent yet", "a colleague's", "sent from here"}));
}

TEST_F(GaugeHistoryTest, TheKindFilterShowsOnlyThatKind) {
    {
        LocalLogbook logbook(Local().localPath, {}, QStringLiteral("fill"));
        Add(logbook, Serial, LogbookKind::Connection, QStringLiteral("connected"), At(1, 1));
        Add(logbook, Serial, LogbookKind::PrecisionTest, QStringLiteral("test 1"), At(1, 2));
        Add(logbook, Serial, LogbookKind::ConfigurationWrite, QStringLiteral("written"), At(1, 3));
        Add(logbook, Serial, LogbookKind::PrecisionTest, QStringLiteral("test 2"), At(1, 4));
        Add(logbook, QStringLiteral("5"), LogbookKind::PrecisionTest, QStringLiteral("other"),
            At(1, 5));
    }
    GaugeHistoryWindow window(Local(), Serial);
    // As the user picks it from the list.
    const int tests = window.KindFilter->findText(QStringLiteral("Accuracy test"));
    ASSERT_GE(tests, 0);
    window.KindFilter->setCurrentIndex(tests);
    emit window.KindFilter->activated(tests);
    EXPECT_EQ(Summaries(window.History().Entries()), QStringList({"test 2", "test 1"}));
    EXPECT_EQ(window.EntryList->model()->rowCount(), 2);

    window.KindFilter->setCurrentIndex(0);
    emit window.KindFilter->activated(0);
    EXPECT_EQ(Summaries(window.History().Entries()),
              QStringList({"test 2", "written", "test 1", "connected"}));
}

TEST_F(GaugeHistoryTest, ScrollingReadsTheOlderEntriesAPageAtATime) {
    const int total = GaugeHistory::PageSize * 2 + 30;
    {
        LocalLogbook logbook(Local().localPath, {}, QStringLiteral("fill"));
        for (int n = 0; n < total; ++n)
            Add(logbook, Serial, LogbookKind::Connection, QString::number(n),
                At(1, 1).addSecs(n * 60));
    }
    GaugeHistory history(Local(), Serial);
    EXPECT_EQ(history.Entries().size(), std::size_t(GaugeHistory::PageSize));
    for (int page = 0; page < 10 && history.CanLoadMore(); ++page)
        history.LoadMore();
    EXPECT_FALSE(history.CanLoadMore());
    QStringList expected;
    for (int n = total - 1; n >= 0; --n)
        expected.append(QString::number(n));
    EXPECT_EQ(Summaries(history.Entries()), expected);
}

TEST_F(GaugeHistoryTest, PrecisionTestsGiveTheirDeviationWithinTheBandOldestFirst) {
    {
        LocalLogbook logbook(Local().localPath, {}, QStringLiteral("fill"));
        const GaugeIdentity gauge{Serial, QStringLiteral("B"), 1, QStringLiteral("1.31")};
        PrecisionTestFacts passed;
        passed.values = {{QStringLiteral("DeviationMm"), 0.04},
                         {QStringLiteral("PermittedMm"), 0.1}};
        passed.passed = true;
        PrecisionTestFacts failed;
        failed.values = {{QStringLiteral("DeviationMm"), -0.25},
                         {QStringLiteral("PermittedMm"), 0.25}};
        LogbookEntry later = PrecisionTestDone(gauge, passed);
        later.timeUtc = At(6, 1);
        LogbookEntry earlier = PrecisionTestDone(gauge, failed);
        earlier.timeUtc = At(2, 1);
        for (LogbookEntry* entry : {&later, &earlier}) {
            CompleteEntry(*entry);
            ASSERT_TRUE(logbook.Add(*entry));
        }
        Add(logbook, Serial, LogbookKind::Connection, QStringLiteral("connected"), At(3, 1));
    }
    GaugeHistory history(Local(), Serial);
    ASSERT_TRUE(WaitFor([&] { return history.TestsRead(); }));
    const std::vector<DeviationPoint>& points = history.Deviations();
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].timeUtc, At(2, 1));
    EXPECT_DOUBLE_EQ(points[0].deviationMm, -0.25);
    EXPECT_DOUBLE_EQ(points[0].permittedMm, 0.25);
    EXPECT_FALSE(points[0].passed);
    EXPECT_EQ(points[1].timeUtc, At(6, 1));
    EXPECT_DOUBLE_EQ(points[1].deviationMm, 0.04);
    EXPECT_TRUE(points[1].passed);
}

TEST_F(GaugeHistoryTest, ExportCsvWritesEveryEntryAsRfc4180Lines) {
    {
        LocalLogbook logbook(Local().localPath, {}, QStringLiteral("fill"));
        LogbookEntry entry;
        entry.id = QUuid::fromString(QStringLiteral("{0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0}"));
        entry.timeUtc = At(5, 1);
        entry.gauge = {Serial, QStringLiteral("B"), 1, QStringLiteral("1.31")};
        entry.kind = LogbookKind::PrecisionTest;
        entry.summary = QStringLiteral("Accuracy test passed, \"0.04 mm\"");
        entry.details = {{QStringLiteral("passed"), true}};
        entry.files = {QStringLiteral("/data/a.log"), QStringLiteral("/data/b.pdf")};
        entry.osUser = QStringLiteral("anna");
        entry.host = QStringLiteral("lab-pc");
        entry.programVersion = QStringLiteral("2.0.0");
        ASSERT_TRUE(logbook.Add(entry));
        entry.id = QUuid::fromString(QStringLiteral("{11111111-2222-3333-4444-555555555555}"));
        entry.timeUtc = At(5, 2);
        entry.kind = LogbookKind::ClockSet;
        entry.summary = QStringLiteral("two\nlines");
        entry.details = {};
        entry.files = {};
        ASSERT_TRUE(logbook.Add(entry));
    }
    FolderSettingsGuard folders;
    ScriptedDialogs dialogs;
    const QString path = PathOf(QStringLiteral("history.csv"));
    dialogs.QueueFileAnswer(path);
    GaugeHistoryWindow window(Local(), Serial);
    window.ExportButton->click();

    ASSERT_EQ(dialogs.FileRequests().size(), 1);
    EXPECT_TRUE(dialogs.Messages().isEmpty()) << dialogs.MessageTexts().join(u'\n').toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(),
              "id,time,serial_number,hardware_index,model,firmware_version,kind,summary,details,"
              "files,os_user,host,program_version\r\n"
              "11111111-2222-3333-4444-555555555555,2024-05-02T08:00:00.000Z,123456789,B,1,1.31,"
              "clock-set,\"two\nlines\",{},,anna,lab-pc,2.0.0\r\n"
              "0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0,2024-05-01T08:00:00.000Z,123456789,B,1,1.31,"
              "precision-test,\"Accuracy test passed, \"\"0.04 mm\"\"\",\"{\"\"passed\"\":true}\","
              "/data/a.log;/data/b.pdf,anna,lab-pc,2.0.0\r\n");
}

TEST_F(GaugeHistoryTest, DoubleClickOpensTheFirstReferencedFileThatIsThere) {
    const QString log = PathOf(QStringLiteral("PrecisionTest_2024_05_01_08_00_00.log"));
    const QString trace = PathOf(QStringLiteral("PrecisionTest_2024_05_01_08_00_00.trace.txt"));
    for (const QString& path : {log, trace}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    {
        LocalLogbook logbook(Local().localPath, {}, QStringLiteral("fill"));
        LogbookEntry entry = Entry(Serial, LogbookKind::PrecisionTest, QStringLiteral("test"));
        // The report was saved on a stick that is not here.
        entry.files = {PathOf(QStringLiteral("gone/report.pdf")), log, trace};
        ASSERT_TRUE(logbook.Add(entry));
    }
    RecordingUrlOpener opener;
    ScriptedDialogs dialogs;
    GaugeHistoryWindow window(Local(), Serial);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTableView* list = window.EntryList;
    const QPoint row =
        list->visualRect(list->model()->index(0, GaugeHistoryTable::SummaryColumn)).center();
    // A double click begins with a press on the row, as a real one does.
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);

    EXPECT_EQ(opener.opened, QList<QUrl>({QUrl::fromLocalFile(log)}));
    EXPECT_TRUE(dialogs.Messages().isEmpty()) << dialogs.MessageTexts().join(u'\n').toStdString();
}
