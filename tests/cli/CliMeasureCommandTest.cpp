// measure: one line per record, readable, CSV or JSON lines.

#include "CliFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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
    EXPECT_TRUE(lines[0].startsWith("time,Intensity RT ( real-time ) [mm/h],")) << lines[0].toStdString();
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
