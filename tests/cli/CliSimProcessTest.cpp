// The built tessra2-cli over a pseudo-terminal against tessra2-sim: a
// configuration exported, changed in the file, imported and written; a
// measurement run across an unplugged adapter.

#include "support/SimProcess.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>

namespace {

QString CliProgram() {
    const QByteArray named = qgetenv("TESSRA_CLI");
    return named.isEmpty() ? QStringLiteral(TESSRA_CLI_BUILT) : QString::fromLocal8Bit(named);
}

struct Result {
    int code = -1;
    QString out;
    QString err;
};

Result RunProgram(const QStringList& arguments) {
    QProcess process;
    process.setProgram(CliProgram());
    process.setArguments(arguments);
    process.start();
    process.closeWriteChannel();
    Result result;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("did not end");
        return result;
    }
    result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// From the simulator's log: milliseconds from the adapter's return to the
// first measurement command after it (-1 when the log has none).
double MsFromReturnToMeasurement(const QString& log) {
    double returned = -1.0;
    for (const QString& line : log.split(u'\n')) {
        const double time = line.section(u']', 0, 0).mid(1).trimmed().toDouble();
        if (line.contains("plugged in again"))
            returned = time;
        else if (returned >= 0.0 && line.endsWith("<- 0M!"))
            return time - returned;
    }
    return -1.0;
}

} // namespace

TEST(CliSimProcess, ExportImportAndWriteOverAPseudoTerminal) {
    if (!SimProcess::Available() || !QFile::exists(CliProgram()))
        GTEST_SKIP() << "tessra2-sim or tessra2-cli not built";
    SimProcess sim({"--model", "1", "--no-pace"});
    ASSERT_TRUE(sim.Start()) << sim.Error().toStdString();
    const QString port = QString::fromStdString(sim.PtyPath());
    QTemporaryDir dir;
    const QString file = dir.filePath("gauge.txt");

    Result exported = RunProgram({"--port", port, "config", "export", file});
    ASSERT_EQ(exported.code, 0) << exported.err.toStdString();
    QFile text(file);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    QByteArray bytes = text.readAll();
    text.close();
    ASSERT_TRUE(bytes.contains("\r\nTEMPERATUREUNIT=0\r\n")) << bytes.toStdString();
    bytes.replace("\r\nTEMPERATUREUNIT=0\r\n", "\r\nTEMPERATUREUNIT=1\r\n");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly | QIODevice::Truncate));
    text.write(bytes);
    text.close();

    const Result refused = RunProgram({"--port", port, "config", "import", file});
    EXPECT_EQ(refused.code, 2) << refused.err.toStdString();
    const Result imported = RunProgram({"--port", port, "config", "import", file, "--yes"});
    ASSERT_EQ(imported.code, 0) << imported.err.toStdString();
    EXPECT_TRUE(sim.Log().contains("0OUT1!")) << sim.Log().toStdString();

    const Result read = RunProgram({"--port", port, "config", "read"});
    ASSERT_EQ(read.code, 0) << read.err.toStdString();
    EXPECT_TRUE(read.out.split(u'\n').contains("TEMPERATUREUNIT=1")) << read.out.toStdString();
}

// The adapter pulled after the first record and plugged in again once the
// command has noticed: the terminal comes back (under a new name when the
// system gives one), reached through the same re-pointed link, and the
// command ends with both records.
TEST(CliSimProcess, MeasureGetsAllRecordsAcrossAnUnplugThroughARepointedLink) {
    if (!SimProcess::Available() || !QFile::exists(CliProgram()))
        GTEST_SKIP() << "tessra2-sim or tessra2-cli not built";
    QTemporaryDir dir;
    SimProcess sim({"--model", "1"});
    sim.UseLink(dir.filePath("ttyTessra"));
    ASSERT_TRUE(sim.Start()) << sim.Error().toStdString();

    QProcess cli;
    cli.setProgram(CliProgram());
    cli.setArguments(
        {"--port", sim.LinkPath(), "measure", "--csv", "--count", "2", "--interval", "1"});
    cli.start();
    ASSERT_TRUE(cli.waitForStarted()) << cli.errorString().toStdString();
    cli.closeWriteChannel();
    QString out, err;
    // Collects the command's output until condition holds; false after timeoutMs.
    const auto awaitOutput = [&](const auto& condition, int timeoutMs) {
        const QDeadlineTimer deadline(timeoutMs);
        for (;;) {
            out += QString::fromUtf8(cli.readAllStandardOutput());
            err += QString::fromUtf8(cli.readAllStandardError());
            if (condition() || deadline.hasExpired() || cli.state() != QProcess::Running)
                return condition();
            cli.waitForReadyRead(50);
        }
    };
    const auto records = [&] { return out.count(u'\n') - 1; }; // less the header

    ASSERT_TRUE(awaitOutput([&] { return records() >= 1; }, 30000))
        << out.toStdString() << err.toStdString();
    ASSERT_TRUE(sim.Unplug()) << sim.Error().toStdString();
    ASSERT_TRUE(
        awaitOutput([&] { return err.contains("the connection to the gauge was lost"); }, 30000))
        << err.toStdString();
    const qsizetype before = records();
    ASSERT_TRUE(sim.Replug()) << sim.Error().toStdString();
    QElapsedTimer sinceReturn;
    sinceReturn.start();
    EXPECT_EQ(QFileInfo(sim.LinkPath()).symLinkTarget().toStdString(), sim.PtyPath());
    ASSERT_TRUE(awaitOutput([&] { return records() > before; }, 30000))
        << out.toStdString() << err.toStdString();
    std::cout << "[ figure   ] adapter back to the resumed record printed: "
              << sinceReturn.elapsed()
              << " ms; to its first command on the line: " << MsFromReturnToMeasurement(sim.Log())
              << " ms\n";

    ASSERT_TRUE(cli.waitForFinished(30000)) << out.toStdString() << err.toStdString();
    out += QString::fromUtf8(cli.readAllStandardOutput());
    err += QString::fromUtf8(cli.readAllStandardError());
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 0) << err.toStdString();
    const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << out.toStdString();
    for (const QString& line : lines.mid(1)) {
        const QStringList fields = line.split(u',');
        EXPECT_EQ(fields.size(), 13) << line.toStdString();
        EXPECT_FALSE(fields.contains(QString())) << line.toStdString();
    }
    EXPECT_TRUE(err.contains("the adapter is back with the same gauge; the measurement goes on."))
        << err.toStdString();
}
