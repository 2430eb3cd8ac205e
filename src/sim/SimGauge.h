#pragma once

// The simulated gauge: the gauge side of every command the program sends,
// for models 0, 1 and 2, with a wire-timing model and fault injection. It
// has no transport of its own: the in-process backend and tessra2-sim feed
// it the bytes the program writes and collect the bytes it answers, each
// with the time (ms) at which it reaches the other side.
//
// Behaviour worth knowing when testing against it:
// - Commands are recognised at "!"; a break clears a partial command and
//   aborts a measurement whose service request has not been sent yet.
// - Every complete command is recorded in Commands(), address included,
//   also those meant for another address (which the gauge does not answer).
// - Extended setters ("OUT1!", "OCHS+5!", "OTM...!", "ODC...!", "OMR!", ...)
//   are accepted only inside the write bracket "OOE0!" ... "OOE1!"; outside
//   it the gauge stays silent and keeps its settings. Getters, "OTC0!"/"OTC1!",
//   "OXU+...!" and the standard SDI-12 commands (including "aAb!") work
//   everywhere.
// - A setter echoes exactly the value text it received (a + text + CR LF)
//   when the value is valid for the model, and is silent otherwise.
// - "aM!" announces a0019, "aM1!" a0013; the service request a CR LF starts
//   100 ms before the announced second is over, so a master waiting exactly
//   the announced time receives it.
// - "aMC!", "aCC!" (and their groups "aMC1!", ...) add the SDI-12 CRC to
//   the data replies that follow; the continuous measurements "aR0!",
//   "aR1!" answer with the values of that group at once, "aRC0!", "aRC1!"
//   with the CRC added.
// - The loader ("OXU+0472!" 4800 baud, "OXU+0391!" 115200 baud, 8N1) sends
//   "C" every second until the first block, receives XModem-CRC blocks and,
//   after an acknowledged end of transmission, takes the new firmware
//   version from the image: the text at ImageVersionOffset (16 bytes, ended
//   by the first zero byte) of the first block, the place where firmware
//   images keep it after their 16-byte product identification. An image
//   without printable text there keeps the old version. Models 1 and 2 then
//   print dots for Settings::loaderDotsMs (2 s) and "APPLICATION DONE" CR LF
//   at the loader's speed;
//   every model then returns to SDI-12 at 1200 baud 7E1. A loader that gets
//   no valid byte for LoaderIdleLimitMs returns to SDI-12 unchanged.
// - Line settings matter: bytes sent at another baud rate or character
//   format than the receiving side uses arrive as garbage (the 7E1/8N1
//   mismatch at equal baud rate is modelled bit-exactly: the parity bit
//   becomes the eighth data bit, or the eighth bit is lost).

#include "sim/SimBucket.h"

#include <QDateTime>

#include <cstdint>
#include <deque>
#include <limits>
#include <optional>
#include <string>
#include <vector>

struct SimFaults {
    // Reply faults: they affect the next faultyReplies replies (-1 = every reply).
    bool silent = false;           // answers nothing at all
    bool garbage = false;          // answers noise of the reply's length, then CR LF
    bool noLineEnd = false;        // reply without CR LF
    double firstByteDelayMs = 0.0; // extra delay before the first reply byte
    int faultyReplies = -1;
    // Measurement faults.
    int valueCountDelta = 0; // D replies carry this many values more (or fewer) than announced
    int statusBits = 0;      // status word of "M!" (value 9)
    int mainValueCount = -1; // "M!" announces and delivers only this many values (-1: all nine)
    // Loader faults, counted per block: the first nakBlocks tries of each block
    // are answered with NAK, the next lostAcks tries with nothing, the next
    // corruptAcks tries with a damaged acknowledgement; then the block is taken.
    int nakBlocks = 0;
    int lostAcks = 0;
    int corruptAcks = 0;
    bool nakEndOfTransmission = false; // the end of transmission is always answered with NAK
    // The transfer-rate command switches to the loader without an answer.
    bool silentLoaderSwitch = false;
    // The gauge has no loader behind the transfer-rate command: it neither
    // answers nor switches.
    bool noLoader = false;
    // The loader acknowledges every block and the end of transmission but
    // keeps the firmware it has.
    bool keepsOldFirmware = false;
    // Models 1 and 2: the new application starts without its greeting
    // "APPLICATION DONE" (the dots come all the same).
    bool noApplicationDone = false;
    // The adapter is gone: every port call fails (the backends check it),
    // from now on or from the time vanishAtMs on.
    bool vanished = false;
    double vanishAtMs = std::numeric_limits<double>::infinity();
};

class SimGauge {
public:
    static constexpr std::size_t ImageVersionOffset = 16;
    static constexpr double LoaderIdleLimitMs = 60000.0;
    static constexpr double Never = std::numeric_limits<double>::infinity();

    struct Settings {
        int model = 1;               // 0 Tessra2, 1 Tessra2 L, 2 Tessra2 S
        char address = '0';          // changed by "aAb!"
        double replyLatencyMs = 0.0; // between the end of a command and the first reply byte
        bool paceWire = true;        // bytes take 10 bits each at the line's baud rate
        // Models 1 and 2 after an acknowledged end of transmission: a dot
        // every loaderDotIntervalMs for loaderDotsMs, then "APPLICATION DONE"
        // one interval later.
        double loaderDotsMs = 2000.0;
        double loaderDotIntervalMs = 400.0;
    };

    // Line settings of one side. wordLength 0 = character format unknown
    // (a pseudo-terminal conveys only the baud rate): only the rates are compared.
    struct LineMode {
        std::uint32_t baud = 1200;
        int wordLength = 7;
        int parity = 2; // 0 none, 2 even (the codes of the adapter port)
    };

    explicit SimGauge(Settings settings);

    // The program's side of the line changed its settings (baud rate, 7E1 / 8N1).
    void SetLine(std::uint32_t baud, int wordLength, int parity);
    const LineMode& ProgramLine() const { return programLine_; }
    // The gauge's own side: 1200 7E1, or the loader's speed 8N1.
    LineMode GaugeLine() const;

    // Bytes the program wrote at time nowMs.
    void Receive(const std::uint8_t* data, std::size_t count, double nowMs);
    void Break(double nowMs);
    // Moves time forward (the gauge produces service requests, loader "C"s, ...).
    void Tick(double nowMs);
    // Reply bytes that have reached the program by nowMs.
    std::size_t Available(double nowMs);
    // Takes at most max of them (removed from the gauge).
    std::size_t Take(std::uint8_t* out, std::size_t max, double nowMs);
    // Purge of the program's receive buffer: drops what has arrived by nowMs.
    void DropPending(double nowMs);
    // Earliest time at which a byte arrives or the gauge has something to do
    // (Never when idle).
    double NextEventMs() const;
    // When whoever carries the bytes must act next: a reply byte or a timer
    // is due, or the last byte the program has sent so far has reached the
    // gauge. The bytes before that one are handled then, each at its own
    // time, so nothing is answered later than it would have been: the
    // program sends a whole command or block and then waits for the answer.
    // tessra2-sim sleeps until then.
    double NextWakeMs() const;
    // Noise on the line: bytes that reach the program at atMs, whatever the gauge does.
    void InjectNoise(const std::vector<std::uint8_t>& bytes, double atMs);

    // Every complete command the gauge received, in order (e.g. "0OOE0!").
    const std::vector<std::string>& Commands() const { return commands_; }
    void ClearCommands() { commands_.clear(); }
    // Breaks seen since the start.
    int BreakCount() const { return breaks_; }

    SimFaults& Faults() { return faults_; }
    const SimFaults& Faults() const { return faults_; }
    Settings& Config() { return settings_; }
    bool InLoader() const { return mode_ != Mode::Application; }
    std::uint32_t LoaderBaud() const { return loaderBaud_; }
    // The image the loader received last (padded blocks as sent).
    const std::vector<std::uint8_t>& ReceivedImage() const { return image_; }
    // Blocks the loader accepted and tries it answered in the last transfer.
    int AcceptedBlocks() const { return acceptedBlocks_; }
    int BlockTries() const { return blockTries_; }

    // State the tests may read or preset.
    struct State {
        std::string serialNumber = "123456789";
        std::string hardwareIndex = "03";
        std::string firmwareVersion = "V1.31.0";
        std::string lastConfiguration = "2024-03-01T10:00:00";
        std::string lastFirmwareUpdate = "2024-01-15T08:30:00";
        int gaugeType = 1;
        int temperatureUnit = 0;
        int intensityUnit = 1;
        int heatingMode = 1;
        int communicationInterface = 0;
        int protocolType = 0;
        int asciiBaud = 0;
        int impulseFrequency = 0;
        int impulseFactor = 1;
        int heatingTemperature = 4;
        int heatingThreshold = -5;
        std::string heatingSwitchTime = "06:00:00";
        int heatingDuration = 20;
        int heatingSelfTest = 60;
        double clockOffsetMs = 0.0; // gauge clock = PC clock + offset
        bool writeOpen = false;     // inside "OOE0!" ... "OOE1!"
        bool testMode = false;
        double accumulatedTotal = 12.5; // mm, grows with the simulated rain
        double bucketContent = 125.3;   // bucket reading (values 5 and 6 of "M!")
    };
    State& Gauge() { return state_; }
    // The weights on the bucket: in test mode the bucket values of "M!" are
    // their reading, in mm (3 decimals) or, with an inch intensity unit, in
    // inch (5 decimals).
    SimBucket& Bucket() { return bucket_; }

    // The gauge's clock follows the PC's clock (plus clockOffsetMs) unless it
    // is pinned: it then shows when at the simulation time atMs and runs on
    // with the simulation's own time (the manual clock's, in tests), so a
    // test never depends on the wall clock. Setting the clock with "OTM"
    // keeps it pinned, at the new time.
    void PinClock(const QDateTime& when, double atMs);
    // What the gauge's clock shows at the simulation time atMs.
    QDateTime ClockAt(double atMs) const;

private:
    enum class Mode { Application, LoaderWaiting, LoaderReceiving, LoaderFinishing };
    struct Pending {
        double at;
        std::uint8_t byte;
        LineMode sentWith;
    };
    struct Measurement {
        std::vector<std::string> values;
        std::size_t maxChars = 35; // value characters per D reply
        bool crc = false;
    };

    // Time and wire.
    void Advance(double nowMs);
    double NextTimerMs() const;
    void RunTimer(double atMs);
    double CharMs(std::uint32_t baud) const;
    // Queues text on the gauge's side from fromMs on; returns when its last byte arrives.
    double Send(const std::string& text, double fromMs);
    void Enqueue(double atMs, std::uint8_t byte, const LineMode& mode);
    std::uint8_t AsReceived(std::uint8_t byte, const LineMode& sentWith,
                            const LineMode& readWith) const;

    // SDI-12 side (SimCommands.cpp).
    void HandleByte(std::uint8_t byte, double atMs);
    void Answer(const std::string& command, double endOfCommandMs);
    // Content of the reply to an extended command (after the address), or nothing.
    std::optional<std::string> Extended(const std::string& body);
    std::optional<std::string> Setting(const std::string& body);
    // The announcement (ttt + n), or nothing for an unknown measurement command.
    std::optional<std::string> StartMeasurement(const std::string& body, double nowMs);
    std::optional<std::string> DataReply(int index) const;
    // The reply to "aR<group>!" or "aRC<group>!", or nothing for another command.
    std::optional<std::string> ContinuousReply(const std::string& body, double nowMs);
    std::string Identification() const;
    std::string ClockText(double atMs) const;
    bool SetClock(const std::string& text, double atMs);
    // Sends a reply with the reply faults applied; returns when its last byte
    // arrives, or nothing when the gauge kept silent.
    std::optional<double> Reply(const std::string& body, double endOfCommandMs);

    // Loader side (SimLoader.cpp).
    void EnterLoader(double atMs);
    void LoaderByte(std::uint8_t byte, double atMs);
    void LoaderBlock(double atMs);
    void LoaderAnswer(std::uint8_t byte, double atMs);
    void LoaderFinish(double atMs);
    void LeaveLoader();

    Settings settings_;
    SimFaults faults_;
    State state_;
    SimBucket bucket_;
    LineMode programLine_;
    Mode mode_ = Mode::Application;
    std::uint32_t loaderBaud_ = 115200;

    std::deque<Pending> incoming_; // program -> gauge, in arrival order
    double inboundFreeAt_ = 0.0;   // when the program's side of the wire is free
    std::deque<Pending> outgoing_; // gauge -> program, sorted by arrival
    double outboundFreeAt_ = 0.0;  // when the gauge's side of the wire is free
    std::string command_;
    std::vector<std::string> commands_;
    int breaks_ = 0;

    std::optional<Measurement> measurement_;
    double serviceRequestAt_ = Never;
    double loaderSwitchAt_ = Never;
    std::uint32_t pendingLoaderBaud_ = 0;
    double nextPollAt_ = Never;     // loader "C"
    double blockTimeoutAt_ = Never; // partial block given up
    double loaderIdleAt_ = Never;   // loader gives up and returns
    double applicationAt_ = Never;  // loader done, application starts
    double lastMeasurementMs_ = 0.0;
    double commandEndMs_ = 0.0; // end of the command being answered
    struct PinnedClock {
        QDateTime when;
        double atMs;
    };
    std::optional<PinnedClock> pinnedClock_;

    std::vector<std::uint8_t> block_;
    std::vector<std::uint8_t> image_;
    int expectedBlock_ = 1;
    int triesOfBlock_ = 0;
    int acceptedBlocks_ = 0;
    int blockTries_ = 0;
};
