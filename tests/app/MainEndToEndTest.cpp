// The real program over a pseudo-terminal: tessra2 --port PATH against
// tessra2-sim. The program reports what its window shows (--test-report)
// and clicks its tiles and buttons itself once shown (--test-click).

#include "measurement/MeasurementExport.h"
#include "support/ProgramUnderTest.h"
#include "support/SimProcess.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>

namespace {

// The program and tessra2-sim, or why the test cannot run.
bool Available() {
    return SimProcess::Available() &&
           !ProgramUnderTest(QStringLiteral(TESSRA_APP_BUILT), {}).ProgramPath().isEmpty();
}

QStringList PortAndClicks(const SimProcess& sim, const QStringList& clicks) {
    QStringList arguments{QStringLiteral("--port"), QString::fromStdString(sim.PtyPath())};
    for (const QString& click : clicks)
        arguments << QStringLiteral("--test-click") << click;
    return arguments;
}

} // namespace

// The window reads the gauge, then the adapter's other end goes away.
TEST(EndToEnd, ConnectReadAndLoseTheGaugeOverAPseudoTerminal) {
    if (!Available())
        GTEST_SKIP() << "TESSRA_APP or TESSRA_SIM is not set";
    SimProcess sim({QStringLiteral("--model"), QStringLiteral("1")});
    ASSERT_TRUE(sim.Start()) << sim.Error().toStdString();
    ProgramUnderTest program(QStringLiteral(TESSRA_APP_BUILT),
                             PortAndClicks(sim, {QStringLiteral("ConnectPanel")}));
    ASSERT_TRUE(program.Start()) << program.Error().toStdString();

    EXPECT_EQ(program.WaitFor(QStringLiteral("shown"), 15000), QStringLiteral("shown"));
    EXPECT_EQ(program.WaitFor(QStringLiteral("presentation"), 15000),
              QStringLiteral("presentation connected model=1"));
    const QString end = program.WaitFor(QStringLiteral("read "), 30000);
    EXPECT_EQ(end, QStringLiteral("read complete")) << sim.Log().toStdString();
    const QStringList& lines = program.Lines();
    EXPECT_TRUE(lines.contains(QStringLiteral("row 1 ok 123456789 / 03")));
    EXPECT_TRUE(lines.contains(QStringLiteral("row 2 ok V1.31.0")));
    EXPECT_TRUE(lines.contains(QStringLiteral("row 7 ok permanent")));
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^row \\d ok"))).size(), 8);
    EXPECT_TRUE(lines.filter(QStringLiteral("message")).isEmpty())
        << lines.join(u'\n').toStdString();

    // Within one watch period (2 s) and some slack the window shows the
    // disconnected presentation.
    sim.Kill();
    QElapsedTimer sinceKill;
    sinceKill.start();
    EXPECT_EQ(program.WaitFor(QStringLiteral("presentation"), 10000),
              QStringLiteral("presentation disconnected"));
    EXPECT_LT(sinceKill.elapsed(), 6000);
    EXPECT_TRUE(program.IsRunning()) << "the program must survive the loss";
}

// kill -9 while continuous measurement runs: the journal on disk reads back
// whole with the export reader, every record that was reported in it.
TEST(EndToEnd, AProgramKilledWhileMeasuringLeavesAJournalThatReadsWhole) {
    if (!Available())
        GTEST_SKIP() << "TESSRA_APP or TESSRA_SIM is not set";
    SimProcess sim({QStringLiteral("--model"), QStringLiteral("1"), QStringLiteral("--no-pace")});
    ASSERT_TRUE(sim.Start()) << sim.Error().toStdString();
    ProgramUnderTest program(
        QStringLiteral(TESSRA_APP_BUILT),
        PortAndClicks(sim, {QStringLiteral("measurement"), QStringLiteral("MPermanentButton")}));
    ASSERT_TRUE(program.Start()) << program.Error().toStdString();

    ASSERT_EQ(program.WaitFor(QStringLiteral("record 2 "), 60000).isEmpty(), false)
        << program.Lines().join(u'\n').toStdString() << sim.Log().toStdString();
    program.Kill();
    const qsizetype reported = program.Lines().filter(QStringLiteral("record ")).size();

    const QStringList journals =
        QDir(program.JournalFolder()).entryList({QStringLiteral("*.txt")}, QDir::Files);
    ASSERT_EQ(journals.size(), 1) << program.JournalFolder().toStdString();
    EXPECT_TRUE(journals[0].startsWith(QStringLiteral("123456789_"))) << journals[0].toStdString();
    TMeasurementValueArray records;
    const MeasurementExport::ReadResult read =
        MeasurementExport::Read(QDir(program.JournalFolder()).filePath(journals[0]), records);
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    // Every reported record is there; one more may have reached the disk
    // just before the kill, but no part of one.
    EXPECT_GE(static_cast<qsizetype>(records.Size()), reported);
    EXPECT_LE(static_cast<qsizetype>(records.Size()), reported + 1);
    for (std::size_t i = 0; i < records.Size(); ++i)
        for (std::size_t position = 0; position < 12; ++position)
            EXPECT_FALSE(records[i].Value(position).empty()) << i << " " << position;
}
