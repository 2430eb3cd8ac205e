// What tessra2-cli keeps in the logbook: one entry per event, with its
// details, read back with the sqlite3 program.

#include "CliFixture.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

namespace {

class CliLogbookEvents : public CliOnSim {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty())
            GTEST_SKIP() << "the sqlite3 program is not installed";
    }
    int RunLogged(QStringList arguments) {
        return Run(QStringList{QStringLiteral("--logbook"), Logbook()} + arguments);
    }
    QString Logbook() const { return PathOf(QStringLiteral("logbook.sqlite")); }
    // sqlite3's answer to sql on the logbook, one line per row.
    QStringList Query(const QString& sql) const {
        QProcess sqlite;
        sqlite.start(QStringLiteral("sqlite3"), {Logbook(), sql});
        EXPECT_TRUE(sqlite.waitForFinished(60000));
        return QString::fromUtf8(sqlite.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }
    // The details of the only entry of kind.
    QJsonObject Details(const QString& kind) const {
        const QStringList rows =
            Query(QStringLiteral("SELECT details FROM entries WHERE kind = '%1'").arg(kind));
        EXPECT_EQ(rows.size(), 1) << kind.toStdString();
        return QJsonDocument::fromJson(rows.value(0).toUtf8()).object();
    }
};

} // namespace

TEST_F(CliLogbookEvents, TheServiceCommandsKeepTheirEntries) {
    SimGauge& gauge = AddGauge(0);
    gauge.PinClock(QDateTime(QDate(2015, 2, 12), QTime(10, 11, 12)), clock.Peek());
    ASSERT_EQ(RunLogged({"clock", "set", "2020-06-30T23:59:58"}), 0) << err.toStdString();
    ASSERT_EQ(RunLogged({"clock", "sync"}), 0) << err.toStdString();
    ASSERT_EQ(RunLogged({"reset-total", "--yes"}), 0) << err.toStdString();
    ASSERT_EQ(RunLogged({"factory-reset", "--heating", "off", "--yes"}), 0) << err.toStdString();

    const QJsonObject set = Details(QStringLiteral("clock-set"));
    EXPECT_TRUE(set.value(QStringLiteral("before")).toString().startsWith(u"2015-02-12T10:11"));
    EXPECT_TRUE(set.value(QStringLiteral("after")).toString().startsWith(u"2020-06-30T23:59"))
        << set.value(QStringLiteral("after")).toString().toStdString();
    const QJsonObject sync = Details(QStringLiteral("clock-sync"));
    EXPECT_TRUE(sync.value(QStringLiteral("before")).toString().startsWith(u"2020-06-30T23:59"));
    EXPECT_EQ(sync.value(QStringLiteral("after")).toString().left(10),
              QDate::currentDate().toString(Qt::ISODate));
    EXPECT_EQ(Details(QStringLiteral("total-reset")), QJsonObject());
    EXPECT_EQ(Details(QStringLiteral("factory-reset")).value(QStringLiteral("heating")),
              QJsonValue(false));
    // Every entry names the gauge as the simulator identifies it.
    EXPECT_EQ(Query(QStringLiteral("SELECT DISTINCT model FROM entries")), QStringList{"0"});
}

TEST_F(CliLogbookEvents, InfoKeepsTheConnectionAndMeasureTheRun) {
    AddGauge(1);
    ASSERT_EQ(RunLogged({"info"}), 0) << err.toStdString();
    ASSERT_EQ(RunLogged({"measure", "--count", "3"}), 0) << err.toStdString();

    const QJsonObject connection = Details(QStringLiteral("connection"));
    EXPECT_TRUE(connection.value(QStringLiteral("identification")).toString().contains(u"TESR2"));
    const QJsonObject status = connection.value(QStringLiteral("status")).toObject();
    EXPECT_FALSE(status.value(QStringLiteral("firmware-version")).toString().isEmpty());
    EXPECT_FALSE(status.value(QStringLiteral("device-time")).toString().isEmpty());
    EXPECT_EQ(Query(QStringLiteral("SELECT firmware_version != '' FROM entries "
                                   "WHERE kind = 'connection'")),
              QStringList{"1"});

    const QJsonObject run = Details(QStringLiteral("measurement-run"));
    EXPECT_EQ(run.value(QStringLiteral("records")).toInt(), 3);
    EXPECT_FALSE(run.value(QStringLiteral("start")).toString().isEmpty());
}

TEST_F(CliLogbookEvents, ConfigurationCommandsKeepReadsWritesAndFiles) {
    AddGauge(1);
    const QString file = PathOf(QStringLiteral("config.txt"));
    ASSERT_EQ(RunLogged({"config", "export", file}), 0) << err.toStdString();
    ASSERT_EQ(RunLogged({"config", "set", "TEMPERATUREUNIT=1"}), 0) << err.toStdString();

    // Each command reads first; the write names the one key it changed.
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM entries WHERE kind = 'config-read'")),
              QStringList{"2"});
    const QStringList reads = Query(
        QStringLiteral("SELECT json_extract(details, '$.values.TEMPERATUREUNIT') FROM entries "
                       "WHERE kind = 'config-read'"));
    EXPECT_EQ(reads, (QStringList{"0", "0"}));
    EXPECT_EQ(Query(QStringLiteral("SELECT json_extract(details, '$.changes') FROM entries "
                                   "WHERE kind = 'config-write'")),
              QStringList{R"([{"key":"TEMPERATUREUNIT","new":"1","old":"0"}])"});
    EXPECT_EQ(Details(QStringLiteral("config-export")).value(QStringLiteral("file")).toString(),
              QFileInfo(file).absoluteFilePath());
}
