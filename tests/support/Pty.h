#pragma once

// A pseudo-terminal pair for tests that need the far side of a serial line:
// the code under test opens SlavePath() like a serial adapter (for example
// through SerialBackend::AddPath); the test plays the device on the master
// side, or runs a program there (lrzsz rx for XModem).
//
//     PtyPair pty;
//     ASSERT_TRUE(pty.IsOpen());
//     backend.AddPath(pty.SlavePath());
//     ... program writes ...
//     EXPECT_EQ(pty.ReadUntil("!", 1000), "0I!");
//     pty.Write("013AXO     TESR2L131\r\n");
//     pty.CloseMaster(); // the line hangs up
//
// Waits are bounded by real time (the far side is a real file descriptor);
// nothing here sleeps for a fixed time.

#include <cstdint>
#include <string>
#include <vector>

class PtyPair {
public:
    // Opens a new pair in raw mode; the slave stays open here too, so the
    // path stays valid while the code under test opens and closes it.
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool IsOpen() const { return master_ >= 0; }
    const std::string& SlavePath() const { return slavePath_; }
    int MasterFd() const { return master_; }

    // Writes bytes on the device side; false when not all could be written.
    bool Write(const std::string& bytes);
    // What the device side has received: waits at most timeoutMs for the
    // first byte, then takes everything that is there.
    std::string Read(int timeoutMs);
    // Collects until the text contains until, or timeoutMs have passed.
    std::string ReadUntil(const std::string& until, int timeoutMs);
    // The baud rate the code under test set on its side (0 if unknown).
    std::uint32_t SlaveBaud() const;
    // Hangs up: closes the device side (and our copy of the slave), so the
    // code under test sees its line gone.
    void CloseMaster();

    // Runs a program with its standard input and output on the device side
    // (for example {"rx", "-c", "file.bin"}); false when it cannot start.
    bool StartOnMaster(const std::vector<std::string>& argv);
    // Waits at most timeoutMs for that program to end; true and its exit
    // code when it did.
    bool WaitForProgram(int timeoutMs, int& exitCode);
    // Ends that program (SIGTERM, then SIGKILL) if it still runs.
    void StopProgram();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    int child_ = -1;
};
