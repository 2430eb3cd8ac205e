#pragma once

// A scripted adapter for byte-exact tests of the gauge handler's reply
// handling: every write takes the next scripted answer (silence when the
// script is used up, or whatever a responder returns), and the answer's
// pieces become readable one per receive-queue query, as if they arrived
// from the wire in several reads.

#include "link/AdapterBackend.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct ScriptedLine {
    // Pieces of one answer; an empty list is silence.
    using Answer = std::vector<std::string>;

    std::deque<Answer> answers;
    // Asked for an answer when the script is used up (the command as written).
    std::function<Answer(const std::string&)> responder;

    // What the program did on the line.
    std::vector<std::string> written;
    int breaks = 0;
    int purgesRx = 0;
    int purgesTx = 0;
    std::uint32_t baud = 0;
    std::uint8_t wordLength = 0;
    std::uint8_t stopBits = 0;
    std::uint8_t parity = 0;
    std::vector<std::string> opened; // serial numbers, in order
    bool vanished = false;           // every port call fails

    std::string rx;                 // readable now
    std::deque<std::string> coming; // pieces still on their way

    // Script helpers.
    void Reply(const std::string& line) { answers.push_back({line}); }
    void ReplyInPieces(Answer pieces) { answers.push_back(std::move(pieces)); }
    // One silent transaction = three unanswered attempts.
    void SilentTransaction() {
        for (int i = 0; i < 3; ++i)
            answers.push_back({});
    }

    void Arrive() {
        if (rx.empty() && !coming.empty()) {
            rx = coming.front();
            coming.pop_front();
        }
    }
};

class ScriptedPort final : public AdapterPort {
public:
    explicit ScriptedPort(ScriptedLine& line) : line_(line) {}

    int Close() override { return FT_OK; }
    int Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override {
        got = 0;
        if (line_.vanished)
            return FT_IO_ERROR;
        got = static_cast<std::uint32_t>(std::min<std::size_t>(count, line_.rx.size()));
        std::memcpy(buffer, line_.rx.data(), got);
        line_.rx.erase(0, got);
        return FT_OK;
    }
    int Write(const std::uint8_t* buffer, std::uint32_t count, std::uint32_t& written) override {
        written = 0;
        if (line_.vanished)
            return FT_IO_ERROR;
        line_.written.emplace_back(reinterpret_cast<const char*>(buffer), count);
        written = count;
        ScriptedLine::Answer answer;
        if (!line_.answers.empty()) {
            answer = std::move(line_.answers.front());
            line_.answers.pop_front();
        } else if (line_.responder) {
            answer = line_.responder(line_.written.back());
        }
        for (std::string& piece : answer)
            if (!piece.empty())
                line_.coming.push_back(std::move(piece));
        return FT_OK;
    }
    int SetBaudRate(std::uint32_t baud) override {
        line_.baud = baud;
        return line_.vanished ? FT_IO_ERROR : FT_OK;
    }
    int SetDataCharacteristics(std::uint8_t wordLength, std::uint8_t stopBits,
                               std::uint8_t parity) override {
        line_.wordLength = wordLength;
        line_.stopBits = stopBits;
        line_.parity = parity;
        return line_.vanished ? FT_IO_ERROR : FT_OK;
    }
    int SetRts(bool) override { return line_.vanished ? FT_IO_ERROR : FT_OK; }
    int SetDtr(bool) override { return line_.vanished ? FT_IO_ERROR : FT_OK; }
    int Purge(std::uint32_t mask) override {
        if (mask & 1) {
            ++line_.purgesRx;
            line_.rx.clear();
            line_.coming.clear();
        }
        if (mask & 2)
            ++line_.purgesTx;
        return line_.vanished ? FT_IO_ERROR : FT_OK;
    }
    int QueueStatus(std::uint32_t& rxBytes) override {
        rxBytes = 0;
        if (line_.vanished)
            return FT_IO_ERROR;
        line_.Arrive();
        rxBytes = static_cast<std::uint32_t>(line_.rx.size());
        return FT_OK;
    }
    int SetBreak(bool on) override {
        if (on)
            ++line_.breaks;
        return line_.vanished ? FT_IO_ERROR : FT_OK;
    }
    int Status(std::uint32_t& rxBytes, std::uint32_t& txBytes, std::uint32_t& events) override {
        txBytes = 0;
        events = 0;
        return QueueStatus(rxBytes);
    }

private:
    ScriptedLine& line_;
};

// Lists the given adapters; every one opens onto the same scripted line.
class ScriptedBackend final : public AdapterBackend {
public:
    ScriptedLine line;
    std::vector<AdapterListing> adapters;

    int List(std::vector<AdapterListing>& out) override {
        out = adapters;
        return FT_OK;
    }
    std::unique_ptr<AdapterPort> OpenBySerial(const std::string& serial) override {
        const bool known =
            std::any_of(adapters.begin(), adapters.end(),
                        [&](const AdapterListing& a) { return a.serialNumber == serial; });
        if (!known)
            return nullptr;
        line.opened.push_back(serial);
        return std::make_unique<ScriptedPort>(line);
    }
};
