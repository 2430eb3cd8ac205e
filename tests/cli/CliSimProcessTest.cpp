// The built tessra2-cli over a pseudo-terminal against tessra2-sim: a
// configuration exported, changed in the file, imported and written.

#include "support/SimProcess.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
