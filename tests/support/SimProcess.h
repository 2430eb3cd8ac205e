#pragma once

// Runs the built tessra2-sim for end-to-end tests: one simulated gauge on a
// pseudo-terminal, opened by the code under test like a serial adapter.
//
//     SimProcess sim({"--model", "2", "--no-pace"});
//     if (!SimProcess::Available())
//         GTEST_SKIP() << "TESSRA_SIM is not set";
//     ASSERT_TRUE(sim.Start()) << sim.Error();
//     SerialBackend backend;
//     const std::string serial = backend.AddPath(sim.PtyPath());
//     ... talk to the gauge ...
//     sim.Kill();             // the adapter vanishes
//     std::cout << sim.Log(); // every command and reply with its time
//
// The program's path comes from the environment variable TESSRA_SIM, else
// it is the tessra2-sim of this build. Its log goes to a temporary file, so a long run never blocks
// on a full pipe. The destructor stops the program.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>
#include <string>

class SimProcess {
public:
    explicit SimProcess(QStringList arguments = {});
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The tessra2-sim program named by TESSRA_SIM, or empty.
    static QString ProgramPath();
    // Whether TESSRA_SIM names an existing program.
    static bool Available();

    // Starts the program and reads the terminal's path from its first output
    // line; false (and Error()) when that does not happen within timeoutMs.
    bool Start(int timeoutMs = 5000);
    const std::string& PtyPath() const { return ptyPath_; }
    bool IsRunning() const;
    // Ends it abruptly (SIGKILL): the terminal disappears with it.
    void Kill();
    // Ends it politely (SIGTERM) and waits; true when it ended on its own terms.
    bool Stop(int timeoutMs = 3000);
    // What it logged so far (commands and replies with their times).
    QString Log() const;
    const QString& Error() const { return error_; }

private:
    QStringList arguments_;
    QProcess process_;
    QTemporaryFile log_;
    std::string ptyPath_;
    QString error_;
};
