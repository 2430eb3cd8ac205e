#pragma once

// Runs the built tessra2 for end-to-end tests and benchmarks, as a user
// would start it, but with a private home: English stored (no language
// selection at start), its own configuration and data folders, the
// offscreen platform, and --test-report, whose lines are read as they come.
//
//     ProgramUnderTest program(TESSRA_APP_BUILT, {"--port", link, "--test-click", "measurement"});
//     ASSERT_TRUE(program.Start()) << program.Error().toStdString();
//     EXPECT_EQ(program.WaitFor("presentation", 15000), "presentation connected model=1");
//     program.Kill(); // SIGKILL: nothing of the program's own ending runs
//
// The program's path is TESSRA_APP when that is set, else the one given.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class ProgramUnderTest {
public:
    ProgramUnderTest(const QString& builtPath, QStringList arguments);
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    // The program that runs: TESSRA_APP, else the built one; empty when
    // neither exists.
    QString ProgramPath() const;
    bool Start(int timeoutMs = 5000);
    // The next report line that starts with prefix (lines before it are
    // passed over), or empty when none came within timeoutMs or the program
    // ended.
    QString WaitFor(const QString& prefix, int timeoutMs);
    // Every report line read so far.
    const QStringList& Lines() const { return lines_; }
    // The per-user data folder the program writes into, and the folder of
    // its measurement journals there.
    QString DataFolder() const;
    QString JournalFolder() const;
    bool IsRunning() const { return process_.state() != QProcess::NotRunning; }
    // Ends it abruptly (SIGKILL) and waits for it to be gone.
    void Kill();
    // Asks it to end (SIGTERM), then kills it if it does not.
    void Stop();
    const QString& Error() const { return error_; }

private:
    void ReadAvailable();

    QString builtPath_;
    QStringList arguments_;
    QTemporaryDir home_;
    QProcess process_;
    QStringList lines_;
    qsizetype next_ = 0;
    QString error_;
};
