// The real program over a pseudo-terminal: tessra2 --port PATH against
// tessra2-sim. The program reports what its window shows (--test-report)
// and clicks the connect tile itself once shown (--test-click); the test
// reads the report, ends tessra2-sim and watches the window fall back to
// its disconnected presentation.

#include "support/SimProcess.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

class ProgramReport {
public:
    explicit ProgramReport(QProcess& process) : process_(process) {}

    // Reads report lines until one starts with prefix; the line, or empty on timeout.
    QString WaitFor(const QString& prefix, int timeoutMs) {
        QElapsedTimer elapsed;
        elapsed.start();
        for (;;) {
            while (next_ < lines_.size()) {
                const QString& line = lines_[next_++];
                if (line.startsWith(prefix))
                    return line;
            }
            const qint64 left = timeoutMs - elapsed.elapsed();
            if (left <= 0 || process_.state() == QProcess::NotRunning)
                return {};
            if (process_.waitForReadyRead(static_cast<int>(left)))
                ReadAvailable();
        }
    }
    const QStringList& Lines() const { return lines_; }

private:
    void ReadAvailable() {
        while (process_.canReadLine())
            lines_.append(QString::fromUtf8(process_.readLine()).trimmed());
    }

    QProcess& process_;
    QStringList lines_;
    qsizetype next_ = 0;
};

} // namespace

TEST(EndToEnd, ConnectReadAndLoseTheGaugeOverAPseudoTerminal) {
    const QString app = qEnvironmentVariable("TESSRA_APP", QStringLiteral(TESSRA_APP_BUILT));
    if (!SimProcess::Available() || app.isEmpty() || !QFile::exists(app))
        GTEST_SKIP() << "TESSRA_APP or TESSRA_SIM is not set";

    SimProcess sim({QStringLiteral("--model"), QStringLiteral("1")});
    ASSERT_TRUE(sim.Start()) << sim.Error().toStdString();

    // A private user with English stored: no language selection at start.
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral("config/Axo-Gauges"));
    QFile language(home.filePath(QStringLiteral("config/Axo-Gauges/Tessra2Bediensoftware.conf")));
    ASSERT_TRUE(language.open(QIODevice::WriteOnly));
    language.write("[Language]\nOffset=10000\n");
    language.close();

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::SeparateChannels);
    program.start(app, {QStringLiteral("--port"), QString::fromStdString(sim.PtyPath()),
                        QStringLiteral("--test-report"), QStringLiteral("--test-click"),
                        QStringLiteral("ConnectPanel")});
    ASSERT_TRUE(program.waitForStarted(5000));
    ProgramReport report(program);

    EXPECT_EQ(report.WaitFor(QStringLiteral("shown"), 15000), QStringLiteral("shown"));
    EXPECT_EQ(report.WaitFor(QStringLiteral("presentation"), 15000),
              QStringLiteral("presentation connected model=1"));
    const QString end = report.WaitFor(QStringLiteral("read "), 30000);
    EXPECT_EQ(end, QStringLiteral("read complete")) << sim.Log().toStdString();
    const QStringList& lines = report.Lines();
    EXPECT_TRUE(lines.contains(QStringLiteral("row 1 ok 123456789 / 03")));
    EXPECT_TRUE(lines.contains(QStringLiteral("row 2 ok V1.31.0")));
    EXPECT_TRUE(lines.contains(QStringLiteral("row 7 ok permanent")));
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^row \\d ok"))).size(), 8);
    EXPECT_TRUE(lines.filter(QStringLiteral("message")).isEmpty())
        << lines.join(u'\n').toStdString();

    // The adapter's other end goes away: within one watch period (2 s) and
    // some slack the window shows the disconnected presentation.
    sim.Kill();
    QElapsedTimer sinceKill;
    sinceKill.start();
    EXPECT_EQ(report.WaitFor(QStringLiteral("presentation"), 10000),
              QStringLiteral("presentation disconnected"));
    EXPECT_LT(sinceKill.elapsed(), 6000);
    EXPECT_EQ(program.state(), QProcess::Running) << "the program must survive the loss";

    program.terminate();
    if (!program.waitForFinished(5000))
        program.kill();
}
