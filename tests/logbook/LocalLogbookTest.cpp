// The logbook on this computer: what is stored, how it is read, files of
// the first version, and trouble with the folder, the disk and the file.

#include "LogbookFixture.h"
#include "logbook/LogbookEvents.h"
#include "logbook/ProgramLogbook.h"
#include "support/LanguageScope.h"
#include "ui/FileVersionInfo.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QSysInfo>

using namespace LogbookTest;

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList Ids(const std::vector<LogbookEntry>& entries) {
    QStringList ids;
    for (const LogbookEntry& entry : entries)
        ids.append(entry.summary);
    return ids;
}

QDateTime At(const char* iso) {
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

class LocalLogbookTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    Warnings warnings;
    LanguageScope language{OffsetEnglish};
};

} // namespace

TEST_F(LocalLogbookTest, AReportedEventIsStoredWholeInAWriteAheadLog) {
    if (!HaveSqlite3())
        GTEST_SKIP() << "the sqlite3 program is not installed";
    const QString path = PathOf(QStringLiteral("logbook.sqlite"));
    const GaugeIdentity gauge{QStringLiteral("123456789"), QStringLiteral("C"), 2,
                              QStringLiteral("1.32")};
    std::vector<LogbookEntry> read;
    {
        ProgramLogbook::Options options;
        options.path = path;
        ProgramLogbook logbook(options, warnings.Sink());
        ReportToLogbook(ConfigurationWritten(
            gauge,
            {{QStringLiteral("HEATINGMODE"), QStringLiteral("0"), QStringLiteral("2")},
             {QStringLiteral("TEMPERATUREUNIT"), QStringLiteral("0"), QStringLiteral("1")}}));
        ReportToLogbook(PrecisionTestDone(gauge, {{{QStringLiteral("deviation_2"), 0.4}},
                                                  true,
                                                  PathOf(QStringLiteral("t.log")),
                                                  PathOf(QStringLiteral("t.pdf")),
                                                  PathOf(QStringLiteral("t.trace.txt"))}));
        read = logbook.Local().Read({});
    }
    // Nothing is installed once the program's logbook is gone.
    EXPECT_EQ(ActiveLogbook(), nullptr);
    EXPECT_TRUE(warnings.texts.isEmpty()) << warnings.texts.join(u'\n').toStdString();

    EXPECT_EQ(Sqlite3(path, QStringLiteral("PRAGMA journal_mode")), QStringLiteral("wal"));
    EXPECT_EQ(Sqlite3(path, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    EXPECT_EQ(Sqlite3(path, QStringLiteral(
                                "SELECT serial_number, hardware_index, model, firmware_version,"
                                " kind, summary, json_extract(details, '$.changes[1].old'),"
                                " json_extract(details, '$.changes[1].new') FROM entries"
                                " WHERE kind = 'config-write'")),
              QStringLiteral("123456789|C|2|1.32|config-write|Configuration written; changed: "
                             "HEATINGMODE, TEMPERATUREUNIT|0|1"));
    EXPECT_EQ(Sqlite3(path, QStringLiteral("SELECT json_extract(details, '$.passed'),"
                                           " json_extract(details, '$.values.deviation_2'), files"
                                           " FROM entries WHERE kind = 'precision-test'")),
              QStringLiteral("1|0.4|[\"%1\",\"%2\",\"%3\"]")
                  .arg(PathOf(QStringLiteral("t.log")), PathOf(QStringLiteral("t.pdf")),
                       PathOf(QStringLiteral("t.trace.txt"))));
    // Who, where and with which program.
    EXPECT_EQ(Sqlite3(path, QStringLiteral("SELECT DISTINCT host, program_version FROM entries")),
              QSysInfo::machineHostName() + u'|' + GetProductVersion());
    EXPECT_EQ(Sqlite3(path, QStringLiteral("SELECT COUNT(*) FROM entries WHERE os_user = ''"
                                           " OR time_utc NOT LIKE '____-__-__T__:__:__.___Z'")),
              QStringLiteral("0"));

    // Read back as written, newest first.
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].kind, LogbookKind::PrecisionTest);
    EXPECT_EQ(read[1].gauge, gauge);
    EXPECT_EQ(read[1].details.value(QStringLiteral("changes")).toArray().size(), 2);
}

TEST_F(LocalLogbookTest, ReadsByGaugeKindAndTimeNewestFirstPageByPage) {
    LocalLogbook logbook(PathOf(QStringLiteral("logbook.sqlite")), warnings.Sink(),
                         QStringLiteral("reading"));
    // Written out of time order, as entries from another computer's clock may be.
    const struct {
        const char* serial;
        LogbookKind kind;
        const char* time;
        const char* name;
    } rows[] = {
        {"111", LogbookKind::Connection, "2024-05-01T08:00:00Z", "a"},
        {"222", LogbookKind::Connection, "2024-05-01T09:00:00Z", "b"},
        {"111", LogbookKind::ConfigurationWrite, "2024-06-01T08:00:00Z", "c"},
        {"111", LogbookKind::Connection, "2024-04-01T08:00:00Z", "d"},
        {"111", LogbookKind::Connection, "2024-06-01T08:00:00Z", "e"},
        {"111", LogbookKind::ClockSet, "2024-07-01T08:00:00Z", "f"},
    };
    for (const auto& row : rows)
        ASSERT_TRUE(logbook.Add(
            Entry(QLatin1String(row.serial), row.kind, QLatin1String(row.name), At(row.time))));

    // Two entries of the same second keep the order they were written in.
    EXPECT_EQ(Ids(logbook.Read({})), QStringList({"f", "e", "c", "b", "a", "d"}));
    LogbookQuery gauge;
    gauge.serialNumber = QStringLiteral("111");
    EXPECT_EQ(Ids(logbook.Read(gauge)), QStringList({"f", "e", "c", "a", "d"}));
    LogbookQuery connections = gauge;
    connections.kind = LogbookKind::Connection;
    EXPECT_EQ(Ids(logbook.Read(connections)), QStringList({"e", "a", "d"}));
    LogbookQuery everyConnection;
    everyConnection.kind = LogbookKind::Connection;
    everyConnection.since = At("2024-05-01T09:00:00Z");
    EXPECT_EQ(Ids(logbook.Read(everyConnection)), QStringList({"e", "b"}));

    // Page by page: each page goes on where the one before ended.
    LogbookQuery page = gauge;
    page.limit = 2;
    QStringList pages;
    for (std::vector<LogbookEntry> entries = logbook.Read(page); !entries.empty();
         entries = logbook.Read(page)) {
        pages.append(Ids(entries).join(QString()));
        page.olderThan = entries.back().id;
    }
    EXPECT_EQ(pages, QStringList({"fe", "ca", "d"}));
}

TEST_F(LocalLogbookTest, AFileOfTheFirstVersionIsBroughtUpToDate) {
    if (!HaveSqlite3())
        GTEST_SKIP() << "the sqlite3 program is not installed";
    const QString path = PathOf(QStringLiteral("logbook.sqlite"));
    // A logbook as the first version left it: its entries, and no queue
    // for the team server yet.
    ASSERT_TRUE(Sqlite3(
        path,
        QStringLiteral(
            "PRAGMA journal_mode = WAL;"
            "CREATE TABLE schema_versions (version INTEGER PRIMARY KEY, applied_utc TEXT NOT NULL);"
            "INSERT INTO schema_versions VALUES (1, '2024-01-10T07:00:00.000Z');"
            "CREATE TABLE entries (seq INTEGER PRIMARY KEY, id TEXT NOT NULL UNIQUE,"
            " time_utc TEXT NOT NULL, serial_number TEXT NOT NULL, hardware_index TEXT NOT NULL,"
            " model INTEGER NOT NULL, firmware_version TEXT NOT NULL, kind TEXT NOT NULL,"
            " summary TEXT NOT NULL, details TEXT NOT NULL, files TEXT NOT NULL,"
            " os_user TEXT NOT NULL, host TEXT NOT NULL, program_version TEXT NOT NULL);"
            "CREATE INDEX entries_by_gauge ON entries (serial_number, time_utc);"
            "CREATE INDEX entries_by_kind ON entries (kind, time_utc);"
            "CREATE INDEX entries_by_time ON entries (time_utc);"
            "INSERT INTO entries VALUES (1, '0b0e8f52-5d3c-4c38-9d4e-3f1f2a6f8a01',"
            " '2024-01-10T07:15:00.000Z', '123456789', 'A', 1, '1.31', 'total-reset',"
            " 'Accumulated precipitation reset', '{}', '[]', 'anna', 'laptop-3', 'V1.08.6');"
            "INSERT INTO entries VALUES (2, '0b0e8f52-5d3c-4c38-9d4e-3f1f2a6f8a02',"
            " '2024-01-11T07:15:00.000Z', '123456789', 'A', 1, '1.31', 'clock-sync',"
            " 'Clock synchronised', '{\"before\":\"x\"}', '[]', 'anna', 'laptop-3', 'V1.08.6');")));

    LocalLogbook logbook(path, warnings.Sink(), QStringLiteral("first-version"));
    ASSERT_TRUE(logbook.Open()) << logbook.LastError().toStdString();
    EXPECT_EQ(Sqlite3(path, QStringLiteral("SELECT group_concat(version) FROM schema_versions")),
              QStringLiteral("1,2"));
    // Its entries are all there, and all still to be sent to a team server.
    const std::vector<LogbookEntry> entries = logbook.Read({});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].kind, LogbookKind::ClockSync);
    EXPECT_EQ(entries[0].details.value(QStringLiteral("before")).toString(), QStringLiteral("x"));
    EXPECT_EQ(entries[1].osUser, QStringLiteral("anna"));
    EXPECT_EQ(logbook.UnsentCount(), std::optional<qint64>(2));
    // And the file takes new entries.
    ASSERT_TRUE(logbook.Add(
        Entry(QStringLiteral("123456789"), LogbookKind::Connection, QStringLiteral("new"))));
    EXPECT_EQ(logbook.UnsentCount(), std::optional<qint64>(3));
    EXPECT_TRUE(warnings.texts.isEmpty());
}

TEST_F(LocalLogbookTest, ADamagedFileIsMovedAsideAndANewOneIsStarted) {
    const QString path = PathOf(QStringLiteral("logbook.sqlite"));
    QByteArray damaged = "SQLite format 3";
    damaged.append(QByteArray(8192, '\x5a'));
    ASSERT_TRUE(WriteBytes(path, damaged));

    LocalLogbook logbook(path, warnings.Sink(), QStringLiteral("damaged"));
    ASSERT_TRUE(
        logbook.Add(Entry(QStringLiteral("1"), LogbookKind::Connection, QStringLiteral("after"))));

    // The old file is kept as it was, beside the new one, with today's date.
    const QStringList aside =
        QDir(folder.path()).entryList({QStringLiteral("logbook.damaged-*.sqlite")});
    ASSERT_EQ(aside.size(), 1) << aside.join(u' ').toStdString();
    EXPECT_TRUE(aside[0].contains(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    EXPECT_EQ(ReadBytes(folder.filePath(aside[0])), damaged);
    // The user is told, once, where it is.
    ASSERT_EQ(warnings.texts.size(), 1);
    EXPECT_TRUE(warnings.texts[0].startsWith(QStringLiteral("The logbook ") + path +
                                             QStringLiteral(" was damaged. It was moved to ") +
                                             folder.filePath(aside[0])))
        << warnings.texts[0].toStdString();
    EXPECT_EQ(Ids(logbook.Read({})), QStringList{"after"});
}

TEST_F(LocalLogbookTest, AFolderThatCannotBeMadeGivesOneWarningAndTheEntriesWait) {
    // A file where the logbook's folder should be: no user can make it.
    const QString blocked = PathOf(QStringLiteral("data"));
    ASSERT_TRUE(WriteBytes(blocked, "not a folder"));
    const QString path = blocked + QStringLiteral("/tessra2/logbook.sqlite");
    LocalLogbook logbook(path, warnings.Sink(), QStringLiteral("unwritable"));
    for (const char* name : {"1", "2", "3"})
        EXPECT_FALSE(
            logbook.Add(Entry(QStringLiteral("1"), LogbookKind::Connection, QLatin1String(name))));
    ASSERT_EQ(warnings.texts.size(), 1);
    EXPECT_TRUE(warnings.texts[0].contains(path)) << warnings.texts[0].toStdString();
    EXPECT_TRUE(warnings.texts[0].contains(QStringLiteral("the folder ") + blocked +
                                           QStringLiteral("/tessra2 cannot be created")))
        << warnings.texts[0].toStdString();
    EXPECT_EQ(logbook.Waiting(), 3u);

    // Once the folder can be made, the waiting entries are written first.
    ASSERT_TRUE(QFile::remove(blocked));
    ASSERT_TRUE(
        logbook.Add(Entry(QStringLiteral("1"), LogbookKind::Connection, QStringLiteral("4"))));
    EXPECT_EQ(logbook.Waiting(), 0u);
    EXPECT_EQ(Ids(logbook.Read({})), QStringList({"4", "3", "2", "1"}));
    EXPECT_EQ(warnings.texts.size(), 1);
}

TEST_F(LocalLogbookTest, AFullDiskGivesOneWarningAndTheEntriesWait) {
    // A small disk of the test's own: a tmpfs, which only root may mount
    // (CI runs the tests as root).
    const QString disk = PathOf(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkpath(disk));
    if (QProcess::execute(QStringLiteral("mount"),
                          {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                           QStringLiteral("size=1m"), QStringLiteral("tmpfs"), disk}) != 0)
        GTEST_SKIP() << "a tmpfs cannot be mounted here (the test needs root)";
    struct Unmount {
        QString disk;
        ~Unmount() { QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), disk}); }
    } unmount{disk};

    const QString path = disk + QStringLiteral("/logbook.sqlite");
    LocalLogbook logbook(path, warnings.Sink(), QStringLiteral("full"));
    ASSERT_TRUE(
        logbook.Add(Entry(QStringLiteral("1"), LogbookKind::Connection, QStringLiteral("0"))));
    // Everything else on the disk takes the rest of it.
    QFile filler(disk + QStringLiteral("/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();

    int refused = 0;
    for (int n = 1; n <= 20; ++n)
        if (!logbook.Add(Entry(QStringLiteral("1"), LogbookKind::Connection, QString::number(n))))
            ++refused;
    EXPECT_EQ(refused, 20);
    ASSERT_EQ(warnings.texts.size(), 1);
    EXPECT_TRUE(warnings.texts[0].startsWith(QStringLiteral("The logbook ") + path +
                                             QStringLiteral(" cannot be written (")))
        << warnings.texts[0].toStdString();
    EXPECT_EQ(logbook.Waiting(), 20u);

    // Room again: the waiting entries go in before the next one, in order.
    ASSERT_TRUE(QFile::remove(filler.fileName()));
    ASSERT_TRUE(
        logbook.Add(Entry(QStringLiteral("1"), LogbookKind::Connection, QStringLiteral("21"))));
    const std::vector<LogbookEntry> entries = logbook.Read({});
    ASSERT_EQ(entries.size(), 22u);
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(entries[i].summary, QString::number(21 - static_cast<int>(i)));
    EXPECT_EQ(warnings.texts.size(), 1);
}
