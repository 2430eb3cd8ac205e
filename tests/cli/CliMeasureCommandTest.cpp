// measure: one line per record, readable, CSV or JSON lines.

#include "CliFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <algorithm>

class CliMeasure : public CliOnSim {};

TEST_F(CliMeasure, EachRecordIsOneReadableLine) {
    AddGauge(1);
    EXPECT_EQ(Run({"measure", "--count", "2"}), 0) << err.toStdString();
    const QStringList lines = OutLines();
    ASSERT_EQ(lines.size(), 2) << out.toStdString();
    for (const QString& line : lines) {
        EXPECT_TRUE(line.contains("Intensity RT ( real-time ): ")) << line.toStdString();
        EXPECT_TRUE(line.contains("Supply voltage: ")) << line.toStdString();
        // The heating status row is never shown.
        EXPECT_FALSE(line.contains("Heating status")) << line.toStdString();
    }
}

TEST_F(CliMeasure, TheIntervalRunsFromStartToStart) {
    AddGauge(1);
    const double before = clock.Peek();
    EXPECT_EQ(Run({"measure", "--count", "3", "--interval", "60"}), 0) << err.toStdString();
    EXPECT_EQ(OutLines().size(), 3);
    // Two intervals lie between the first start and the last.
    EXPECT_GE(clock.Peek() - before, 120000.0);
    EXPECT_LT(clock.Peek() - before, 150000.0);
}

TEST_F(CliMeasure, CsvHasAHeaderAndTwelveValuesARecord) {
    AddGauge(1);
    EXPECT_EQ(Run({"measure", "--csv", "--count", "2"}), 0) << err.toStdString();
    const QStringList lines = OutLines();
    ASSERT_EQ(lines.size(), 3) << out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("time,Intensity RT ( real-time ) [mm/h],"))
        << lines[0].toStdString();
    for (int i = 1; i < 3; ++i)
        EXPECT_EQ(lines[i].split(u',').size(), 13) << lines[i].toStdString();
}

TEST_F(CliMeasure, JsonLinesCarryTheValuesAndTheStatusWord) {
    AddGauge(1).Faults().statusBits = 64;
    EXPECT_EQ(Run({"measure", "--jsonl"}), 0) << err.toStdString();
    const QJsonObject object = QJsonDocument::fromJson(out.toUtf8()).object();
    EXPECT_EQ(object.value("values").toArray().size(), 12);
    EXPECT_EQ(object.value("status").toInt(), 64);
    EXPECT_EQ(object.value("values").toArray().at(8).toString(), "+64");
    EXPECT_FALSE(object.value("time").toString().isEmpty());
}

TEST_F(CliMeasure, MissingValuesAreExitCodeThree) {
    AddGauge(1).Faults().valueCountDelta = -1;
    EXPECT_EQ(Run({"measure"}), 3);
    EXPECT_EQ(err.trimmed(), "Not all values could be recorded!");
    EXPECT_TRUE(out.isEmpty());
}

// The adapter unplugged while the third of four records waits for the
// gauge's service request (the records start a minute apart, the first
// after the connection's half second) and plugged in again at 200 s.
TEST_F(CliMeasure, AnUnpluggedAdapterIsWaitedForAndNoRecordIsLostOrDoubled) {
    AddGauge(1);
    backend.ScheduleOutage(0, 121000.0, 200000.0);
    EXPECT_EQ(Run({"measure", "--jsonl", "--count", "4", "--interval", "60"}), 0)
        << err.toStdString();

    const QStringList lines = OutLines();
    ASSERT_EQ(lines.size(), 4) << out.toStdString();
    QSet<QString> distinct;
    for (const QString& line : lines) {
        const QJsonArray values = QJsonDocument::fromJson(line.toUtf8())["values"].toArray();
        ASSERT_EQ(values.size(), 12) << line.toStdString();
        for (const QJsonValue& value : values)
            EXPECT_TRUE(value.toString().startsWith(u'+') || value.toString().startsWith(u'-'))
                << line.toStdString();
        distinct.insert(line);
    }
    // The intensity changes from minute to minute: a record printed twice would show.
    EXPECT_EQ(distinct.size(), 4) << out.toStdString();
    // The lost record was begun on the gauge and taken again after the return.
    const auto& commands = backend.Gauge().Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "0M!"), 5);

    const qsizetype lost = err.indexOf("the connection to the gauge was lost, the adapter is gone. "
                                       "Waiting up to 600 s for it to come back");
    const qsizetype back = err.indexOf("the adapter is back with the same gauge; the measurement "
                                       "goes on.");
    EXPECT_GE(lost, 0) << err.toStdString();
    EXPECT_GT(back, lost) << err.toStdString();
    // Retaken at the return, the last record one interval later.
    EXPECT_GE(clock.Peek(), 260000.0);
    EXPECT_LT(clock.Peek(), 275000.0);
}

TEST_F(CliMeasure, AnAdapterThatStaysAwayEndsTheRunAfterTheReconnectTimeout) {
    AddGauge(1);
    backend.ScheduleOutage(0, 60500.0, SimGauge::Never);
    EXPECT_EQ(Run({"--language", "de", "measure", "--count", "3", "--interval", "60",
                   "--reconnect-timeout", "30"}),
              3);
    EXPECT_EQ(OutLines().size(), 1) << out.toStdString();
    EXPECT_TRUE(err.contains("Die Verbindung zum Gerät ist verloren, der Adapter ist weg. Es wird "
                             "bis zu 30 s gewartet"))
        << err.toStdString();
    EXPECT_TRUE(err.endsWith("Der Adapter ist nicht innerhalb von 30 s wiedergekommen; die "
                             "Messung endet.\n"))
        << err.toStdString();
    // Lost during the second record: the wait ends 30 s later, not sooner.
    EXPECT_GE(clock.Peek(), 90500.0);
    EXPECT_LT(clock.Peek(), 95000.0);
}

TEST_F(CliMeasure, AnotherGaugeBehindTheReturningAdapterEndsTheRun) {
    AddGauge(1).Gauge().serialNumber = "111111111";
    backend.ScheduleOutage(0, 60500.0, 90000.0,
                           [](SimGauge& gauge) { gauge.Gauge().serialNumber = "222222222"; });
    EXPECT_EQ(Run({"measure", "--count", "3", "--interval", "60"}), 3);
    EXPECT_EQ(OutLines().size(), 1) << out.toStdString();
    EXPECT_TRUE(err.endsWith("Another gauge is behind the adapter now (serial number 222222222 "
                             "instead of 111111111); the measurement ends.\n"))
        << err.toStdString();
}
