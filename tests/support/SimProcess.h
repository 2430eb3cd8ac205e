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
// With UseLink(path) before Start, the terminal is reached through a
// symbolic link there, and the adapter can be pulled and plugged in again
// with the same gauge behind it:
//
//     sim.UseLink(dir.filePath("adapter"));
//     ASSERT_TRUE(sim.Start()) << sim.Error().toStdString();
//     backend.AddPath(sim.LinkPath().toStdString());
//     ASSERT_TRUE(sim.Unplug()) << sim.Error().toStdString(); // line hung up, link gone
//     ASSERT_TRUE(sim.Replug()) << sim.Error().toStdString(); // new terminal, link re-pointed
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

    // Before Start: the program keeps a symbolic link at path pointing at
    // its terminal (--link).
    void UseLink(const QString& path);
    const QString& LinkPath() const { return linkPath_; }

    // Starts the program and reads the terminal's path from its first output
    // line; false (and Error()) when that does not happen within timeoutMs.
    bool Start(int timeoutMs = 5000);
    // The current terminal's path.
    const std::string& PtyPath() const { return ptyPath_; }
    // Pulls the adapter (SIGUSR1) and waits until its terminal and the link
    // are gone; false (and Error()) when that takes longer than timeoutMs.
    bool Unplug(int timeoutMs = 5000);
    // Plugs the adapter in again (SIGUSR2) and reads the new terminal's path
    // from the line the program prints; false (and Error()) when no line
    // comes within timeoutMs.
    bool Replug(int timeoutMs = 5000);
    bool IsRunning() const;
    // Ends it abruptly (SIGKILL): the terminal disappears with it.
    void Kill();
    // Ends it politely (SIGTERM) and waits; true when it ended on its own terms.
    bool Stop(int timeoutMs = 3000);
    // What it logged so far (commands and replies with their times).
    QString Log() const;
    const QString& Error() const { return error_; }

private:
    // The next line of standard output: a terminal's path.
    bool ReadPath(int timeoutMs);
    // Sends SIGUSR2 (plugIn) or SIGUSR1.
    bool SendPlugSignal(bool plugIn);

    QStringList arguments_;
    QString linkPath_;
    QProcess process_;
    QTemporaryFile log_;
    std::string ptyPath_;
    QString error_;
};
