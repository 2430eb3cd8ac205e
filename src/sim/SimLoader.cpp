#include "sim/SimGauge.h"
#include "sim/SimValues.h"

#include <algorithm>

// The gauge's loader: an XModem-CRC receiver (128-byte blocks, CRC-16/XMODEM)
// at the speed the transfer-rate command chose, 8 data bits, no parity.

namespace {

constexpr std::uint8_t SOH = 0x01;
constexpr std::uint8_t EOT = 0x04;
constexpr std::uint8_t ACK = 0x06;
constexpr std::uint8_t NAK = 0x15;
constexpr std::uint8_t DamagedAck = 0x86; // an ACK that lost its framing on the way
constexpr std::size_t BlockBytes = 133;
constexpr double BlockTimeoutMs = 1000.0;

} // namespace

void SimGauge::EnterLoader(double atMs) {
    mode_ = Mode::LoaderWaiting;
    command_.clear();
    serviceRequestAt_ = Never;
    block_.clear();
    image_.clear();
    expectedBlock_ = 1;
    triesOfBlock_ = 0;
    acceptedBlocks_ = 0;
    blockTries_ = 0;
    nextPollAt_ = atMs + 500.0;
    loaderIdleAt_ = atMs + LoaderIdleLimitMs;
}

void SimGauge::LoaderByte(std::uint8_t byte, double atMs) {
    if (mode_ == Mode::LoaderFinishing)
        return;
    loaderIdleAt_ = atMs + LoaderIdleLimitMs;
    if (!block_.empty()) {
        block_.push_back(byte);
        blockTimeoutAt_ = atMs + BlockTimeoutMs;
        if (block_.size() == BlockBytes)
            LoaderBlock(atMs);
        return;
    }
    if (byte == SOH) {
        block_.push_back(byte);
        mode_ = Mode::LoaderReceiving;
        nextPollAt_ = Never;
        blockTimeoutAt_ = atMs + BlockTimeoutMs;
    } else if (byte == EOT) {
        if (faults_.nakEndOfTransmission) {
            LoaderAnswer(NAK, atMs);
            return;
        }
        LoaderAnswer(ACK, atMs);
        LoaderFinish(atMs);
    }
    // Anything else between blocks is line noise and ignored.
}

void SimGauge::LoaderBlock(double atMs) {
    blockTimeoutAt_ = Never;
    const std::vector<std::uint8_t> block = std::move(block_);
    block_.clear();
    const std::uint16_t crc = SimValues::XModemCrc(block.data() + 3, 128);
    const bool intact = (block[1] ^ block[2]) == 0xFF &&
                        crc == static_cast<std::uint16_t>((block[131] << 8) | block[132]);
    if (!intact) {
        LoaderAnswer(NAK, atMs);
        return;
    }
    const int number = block[1];
    if (acceptedBlocks_ > 0 && number == ((expectedBlock_ - 1) & 0xFF)) {
        LoaderAnswer(ACK, atMs); // our ACK got lost: the sender repeats a block we have
        return;
    }
    if (number != (expectedBlock_ & 0xFF)) {
        LoaderAnswer(NAK, atMs);
        return;
    }
    ++blockTries_;
    const int tryNumber = ++triesOfBlock_;
    if (tryNumber <= faults_.nakBlocks) {
        LoaderAnswer(NAK, atMs);
    } else if (tryNumber <= faults_.nakBlocks + faults_.lostAcks) {
        // The acknowledgement is lost: nothing reaches the sender.
    } else if (tryNumber <= faults_.nakBlocks + faults_.lostAcks + faults_.corruptAcks) {
        LoaderAnswer(DamagedAck, atMs);
    } else {
        image_.insert(image_.end(), block.begin() + 3, block.begin() + 131);
        ++acceptedBlocks_;
        ++expectedBlock_;
        triesOfBlock_ = 0;
        LoaderAnswer(ACK, atMs);
    }
}

void SimGauge::LoaderAnswer(std::uint8_t byte, double atMs) {
    // The loader takes as long to acknowledge as the gauge takes to reply.
    Send(std::string(1, static_cast<char>(byte)), atMs + settings_.replyLatencyMs);
}

void SimGauge::LoaderFinish(double atMs) {
    mode_ = Mode::LoaderFinishing;
    nextPollAt_ = Never;
    blockTimeoutAt_ = Never;
    loaderIdleAt_ = Never;
    if (image_.size() >= ImageVersionOffset + 16 && !faults_.keepsOldFirmware) {
        std::string version;
        for (std::size_t i = ImageVersionOffset; i < ImageVersionOffset + 16 && image_[i] != 0; ++i)
            version.push_back(static_cast<char>(image_[i]));
        bool printable = !version.empty();
        for (char c : version)
            if (c < 0x20 || c > 0x7E)
                printable = false;
        if (printable)
            state_.firmwareVersion = version;
    }
    if (settings_.model == 0) {
        applicationAt_ = atMs + 3000.0;
        return;
    }
    // Programming the flash: a dot now and then, then the new application greets.
    const double interval = std::max(1.0, settings_.loaderDotIntervalMs);
    double at = atMs + interval;
    for (; at <= atMs + settings_.loaderDotsMs; at += interval)
        Send(".", at);
    if (faults_.noApplicationDone)
        applicationAt_ = at;
    else
        applicationAt_ = Send("APPLICATION DONE\r\n", at);
}

void SimGauge::LeaveLoader() {
    mode_ = Mode::Application;
    nextPollAt_ = Never;
    blockTimeoutAt_ = Never;
    loaderIdleAt_ = Never;
    applicationAt_ = Never;
    block_.clear();
    command_.clear();
}
