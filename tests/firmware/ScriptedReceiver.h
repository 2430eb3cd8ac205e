#pragma once

// A small XModem-CRC receiver behind the adapter interface, on the installed
// clock, for the cases the simulated loader cannot be told to play: "C" only
// at one speed, scripted answers per try, a short write, a cancel at a given
// block. It checks every packet with its own bitwise CRC and records what
// the program did on the line.

#include "link/AdapterBackend.h"
#include "link/Clock.h"

#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct ReceiverLine {
    // Script.
    std::uint32_t requestBaud = 0;          // "C" reaches the program only at this speed; 0 = any
    double requestPeriodMs = 1000.0;        // "C" while waiting for the first block
    double firstRequestMs = 0.0;            // time of the first "C"
    bool requests = true;                   // false: never asks
    double latencyMs = 0.05;                // from a write to the answer's arrival
    int nakTries = 0;                       // the first nakTries tries of every block get NAK
    std::map<int, std::string> answerOfTry; // overrides by try index over all packets (0-based)
    std::uint32_t shortWriteBy = 0;         // Write reports this many bytes fewer than given
    std::function<void(int acceptedBlocks)> onAccepted;

    // What happened.
    std::vector<std::vector<std::uint8_t>> writes;
    std::vector<int> packetNumbers; // wire block number of every packet, in order
    int acceptedBlocks = 0;
    int endOfTransmissions = 0;
    int tries = 0;
    int purgesRx = 0;
    std::vector<std::uint32_t> bauds; // every baud rate set, in order
    std::uint32_t baud = 0;

    // Bytes on their way to the program.
    struct Pending {
        double at;
        std::uint8_t byte;
    };
    std::deque<Pending> rx;
    double nextRequestAt = 0.0;
    bool requestsStarted = false;
    int expected = 1;
    std::map<int, int> triesOfBlock;

    static std::uint16_t Crc(const std::uint8_t* data, std::size_t count) {
        std::uint16_t crc = 0;
        for (std::size_t i = 0; i < count; ++i) {
            crc ^= static_cast<std::uint16_t>(data[i] << 8);
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ 0x1021)
                                     : static_cast<std::uint16_t>(crc << 1);
        }
        return crc;
    }

    void Send(std::uint8_t byte, double at) { rx.push_back({at, byte}); }

    // Moves the receiver to now: its "C" requests while no block has come.
    void Advance(double now) {
        if (!requestsStarted) {
            nextRequestAt = firstRequestMs;
            requestsStarted = true;
        }
        while (requests && acceptedBlocks == 0 && packetNumbers.empty() && nextRequestAt <= now) {
            if (requestBaud == 0 || requestBaud == baud)
                Send('C', nextRequestAt);
            nextRequestAt += requestPeriodMs;
        }
    }

    std::size_t Arrived(double now) const {
        std::size_t n = 0;
        while (n < rx.size() && rx[n].at <= now)
            ++n;
        return n;
    }

    void Answer(const std::string& text, double now) {
        for (char c : text)
            Send(static_cast<std::uint8_t>(c), now + latencyMs);
    }

    void Take(const std::uint8_t* data, std::uint32_t count, double now) {
        writes.emplace_back(data, data + count);
        if (count == 1 && data[0] == 0x04) {
            ++endOfTransmissions;
            Answer("\x06", now);
            return;
        }
        if (count != 133 || data[0] != 0x01 || (data[1] ^ data[2]) != 0xFF ||
            Crc(data + 3, 128) != ((data[131] << 8) | data[132])) {
            Answer("\x15", now);
            return;
        }
        packetNumbers.push_back(data[1]);
        const int tryIndex = tries++;
        if (auto it = answerOfTry.find(tryIndex); it != answerOfTry.end()) {
            Answer(it->second, now);
            return;
        }
        const int wire = data[1];
        if (triesOfBlock[wire]++ < nakTries) {
            Answer("\x15", now);
            return;
        }
        triesOfBlock.erase(wire);
        if (wire == (expected & 0xFF)) {
            ++expected;
            ++acceptedBlocks;
            Answer("\x06", now);
            if (onAccepted)
                onAccepted(acceptedBlocks);
        } else if (wire == ((expected - 1) & 0xFF)) {
            Answer("\x06", now); // a repeat of the block already taken
        } else {
            Answer("\x18\x18", now); // out of sequence: give up
        }
    }
};

class ReceiverPort final : public AdapterPort {
public:
    explicit ReceiverPort(ReceiverLine& line) : line_(line) {}
    int Close() override { return FT_OK; }
    int Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override {
        const double now = TheClock().NowMs();
        line_.Advance(now);
        got = 0;
        while (got < count && !line_.rx.empty() && line_.rx.front().at <= now) {
            buffer[got++] = line_.rx.front().byte;
            line_.rx.pop_front();
        }
        return FT_OK;
    }
    int Write(const std::uint8_t* buffer, std::uint32_t count, std::uint32_t& written) override {
        line_.Take(buffer, count, TheClock().NowMs());
        written = count > line_.shortWriteBy ? count - line_.shortWriteBy : 0;
        return FT_OK;
    }
    int SetBaudRate(std::uint32_t baud) override {
        line_.baud = baud;
        line_.bauds.push_back(baud);
        return FT_OK;
    }
    int SetDataCharacteristics(std::uint8_t, std::uint8_t, std::uint8_t) override { return FT_OK; }
    int SetRts(bool) override { return FT_OK; }
    int SetDtr(bool) override { return FT_OK; }
    int Purge(std::uint32_t mask) override {
        if ((mask & 1) != 0) {
            const double now = TheClock().NowMs();
            line_.Advance(now);
            line_.rx.erase(line_.rx.begin(),
                           line_.rx.begin() + static_cast<std::ptrdiff_t>(line_.Arrived(now)));
            ++line_.purgesRx;
        }
        return FT_OK;
    }
    int QueueStatus(std::uint32_t& rxBytes) override {
        const double now = TheClock().NowMs();
        line_.Advance(now);
        rxBytes = static_cast<std::uint32_t>(line_.Arrived(now));
        return FT_OK;
    }
    int SetBreak(bool) override { return FT_OK; }
    int Status(std::uint32_t& rxBytes, std::uint32_t& txBytes, std::uint32_t& events) override {
        txBytes = 0;
        events = 0;
        return QueueStatus(rxBytes);
    }

private:
    ReceiverLine& line_;
};

class ReceiverBackend final : public AdapterBackend {
public:
    explicit ReceiverBackend(ReceiverLine& line) : line_(line) {}
    int List(std::vector<AdapterListing>& adapters) override {
        adapters = {{"AX-XMODEM", "Tessra2 USB SDI-12 adapter"}};
        return FT_OK;
    }
    std::unique_ptr<AdapterPort> OpenBySerial(const std::string& serial) override {
        if (serial != "AX-XMODEM")
            return nullptr;
        return std::make_unique<ReceiverPort>(line_);
    }

private:
    ReceiverLine& line_;
};
