#pragma once

// The simulated gauge: the gauge side of every command the program sends,
// for models 0, 1 and 2, with a wire-timing model and fault injection. It
// has no transport of its own: the in-process backend and tessra2-sim feed
// it the bytes the program writes and collect the bytes it answers, each
// with the time (ms) at which it reaches the other side.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct SimFaults {
    bool silent = false;             // answers nothing at all
    bool garbage = false;            // answers noise instead of the reply
    bool noLineEnd = false;          // reply without CR LF
    double firstByteDelayMs = 0.0;   // extra delay before the first reply byte
    int valueCountDelta = 0;         // D replies carry this many values more (or fewer)
    int statusBits = 0;              // status word of "M!" (value 9)
    int nakBlocks = 0;               // loader answers NAK this many times before each ACK
    int lostAcks = 0;                // loader stays silent this many times before each ACK
    bool nakEndOfTransmission = false;
    bool vanished = false;           // the adapter is gone: every port call fails
};

class SimGauge {
public:
    struct Settings {
        int model = 1;              // 0 Tessra2, 1 Tessra2 L, 2 Tessra2 S
        char address = '0';
        double replyLatencyMs = 0.0; // between the end of a command and the first reply byte
        bool paceWire = true;       // bytes take 10 bits each at the line's baud rate
    };

    explicit SimGauge(Settings settings);

    // The program's side of the line changed its settings (baud rate, 7E1 / 8N1).
    void SetLine(std::uint32_t baud, int wordLength, int parity);
    // Bytes the program wrote at time nowMs.
    void Receive(const std::uint8_t* data, std::size_t count, double nowMs);
    void Break(double nowMs);
    // Moves time forward (the gauge produces service requests, loader "C"s, ...).
    void Tick(double nowMs);
    // Reply bytes that have reached the program by nowMs (removed from the gauge).
    std::size_t Available(double nowMs) const;
    std::size_t Take(std::uint8_t* out, std::size_t max, double nowMs);
    void DropPending(); // purge of the program's receive buffer

    // Every complete command the gauge received, in order (e.g. "0OOE0!").
    const std::vector<std::string>& Commands() const { return commands_; }
    void ClearCommands() { commands_.clear(); }

    SimFaults& Faults() { return faults_; }
    Settings& Config() { return settings_; }
    bool InLoader() const { return inLoader_; }
    // The image the loader received last (padded blocks as sent).
    const std::vector<std::uint8_t>& ReceivedImage() const { return image_; }

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
        double accumulatedTotal = 12.5;
    };
    State& Gauge() { return state_; }

private:
    struct Pending {
        double at;
        std::uint8_t byte;
    };
    void Answer(const std::string& command, double endOfCommandMs);
    void Send(const std::string& text, double fromMs);
    void LoaderReceive(std::uint8_t byte, double nowMs);

    Settings settings_;
    SimFaults faults_;
    State state_;
    std::uint32_t baud_ = 1200;
    int wordLength_ = 7;
    int parity_ = 2;
    std::string incoming_;
    std::deque<Pending> outgoing_;
    std::vector<std::string> commands_;
    bool inLoader_ = false;
    std::vector<std::uint8_t> image_;
    std::vector<std::uint8_t> block_;
    double lastActivityMs_ = 0.0;
};
