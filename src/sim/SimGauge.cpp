#include "sim/SimGauge.h"

#include <algorithm>

// Time and wire model of the simulated gauge. Every byte in either direction
// carries the time it reaches the other side; the gauge acts on a byte, a
// timer or a line change strictly in time order, whenever a caller moves
// time forward with a later nowMs.

namespace {

bool Compatible(const SimGauge::LineMode& a, const SimGauge::LineMode& b) {
    if (a.baud != b.baud)
        return false;
    if (a.wordLength == 0 || b.wordLength == 0)
        return true;
    return a.wordLength == b.wordLength && a.parity == b.parity;
}

int OddBits(std::uint8_t byte) {
    int bits = 0;
    for (; byte != 0; byte = static_cast<std::uint8_t>(byte >> 1))
        bits ^= byte & 1;
    return bits;
}

} // namespace

SimGauge::SimGauge(Settings settings) : settings_(settings) {}

SimGauge::LineMode SimGauge::GaugeLine() const {
    if (mode_ == Mode::Application)
        return LineMode{1200, 7, 2};
    return LineMode{loaderBaud_, 8, 0};
}

void SimGauge::SetLine(std::uint32_t baud, int wordLength, int parity) {
    programLine_ = LineMode{baud, wordLength, parity};
}

double SimGauge::CharMs(std::uint32_t baud) const {
    if (!settings_.paceWire || baud == 0)
        return 0.0;
    return 10.0 * 1000.0 / static_cast<double>(baud);
}

void SimGauge::Receive(const std::uint8_t* data, std::size_t count, double nowMs) {
    Advance(nowMs);
    const double charMs = CharMs(programLine_.baud);
    double at = std::max(nowMs, inboundFreeAt_);
    for (std::size_t i = 0; i < count; ++i) {
        at += charMs;
        incoming_.push_back(Pending{at, data[i], programLine_});
    }
    inboundFreeAt_ = at;
}

void SimGauge::Break(double nowMs) {
    Advance(nowMs);
    // Characters still on their way are destroyed by the break.
    incoming_.clear();
    inboundFreeAt_ = nowMs;
    ++breaks_;
    if (mode_ != Mode::Application)
        return;
    command_.clear();
    // A measurement that has not reported yet is aborted.
    serviceRequestAt_ = Never;
}

void SimGauge::Tick(double nowMs) {
    Advance(nowMs);
}

std::size_t SimGauge::Available(double nowMs) {
    Advance(nowMs);
    const auto end = std::upper_bound(outgoing_.begin(), outgoing_.end(), nowMs,
                                      [](double t, const Pending& p) { return t < p.at; });
    return static_cast<std::size_t>(end - outgoing_.begin());
}

std::size_t SimGauge::Take(std::uint8_t* out, std::size_t max, double nowMs) {
    const std::size_t n = std::min(max, Available(nowMs));
    for (std::size_t i = 0; i < n; ++i)
        out[i] = AsReceived(outgoing_[i].byte, outgoing_[i].sentWith, programLine_);
    outgoing_.erase(outgoing_.begin(), outgoing_.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
}

void SimGauge::DropPending(double nowMs) {
    Advance(nowMs);
    while (!outgoing_.empty() && outgoing_.front().at <= nowMs)
        outgoing_.pop_front();
}

double SimGauge::NextEventMs() const {
    double next = NextTimerMs();
    if (!incoming_.empty())
        next = std::min(next, incoming_.front().at);
    if (!outgoing_.empty())
        next = std::min(next, outgoing_.front().at);
    return next;
}

double SimGauge::NextWakeMs() const {
    double next = NextTimerMs();
    if (!incoming_.empty())
        next = std::min(next, incoming_.back().at);
    if (!outgoing_.empty())
        next = std::min(next, outgoing_.front().at);
    return next;
}

void SimGauge::InjectNoise(const std::vector<std::uint8_t>& bytes, double atMs) {
    for (std::uint8_t byte : bytes)
        Enqueue(atMs, byte, LineMode{0, 0, 0});
}

void SimGauge::Advance(double nowMs) {
    for (;;) {
        const double timer = NextTimerMs();
        const double byte = incoming_.empty() ? Never : incoming_.front().at;
        if (std::min(timer, byte) > nowMs)
            return;
        if (byte <= timer) {
            const Pending p = incoming_.front();
            incoming_.pop_front();
            HandleByte(AsReceived(p.byte, p.sentWith, GaugeLine()), p.at);
        } else {
            RunTimer(timer);
        }
    }
}

double SimGauge::NextTimerMs() const {
    return std::min({serviceRequestAt_, loaderSwitchAt_, nextPollAt_, blockTimeoutAt_,
                     loaderIdleAt_, applicationAt_});
}

void SimGauge::RunTimer(double atMs) {
    if (serviceRequestAt_ == atMs) {
        serviceRequestAt_ = Never;
        Send(std::string(1, settings_.address) + "\r\n", atMs);
    } else if (loaderSwitchAt_ == atMs) {
        loaderSwitchAt_ = Never;
        loaderBaud_ = pendingLoaderBaud_;
        EnterLoader(atMs);
    } else if (nextPollAt_ == atMs) {
        nextPollAt_ = atMs + 1000.0;
        Send("C", atMs);
    } else if (blockTimeoutAt_ == atMs) {
        // A block that stopped half way: the receiver asks for it again.
        blockTimeoutAt_ = Never;
        block_.clear();
        LoaderAnswer(0x15, atMs);
    } else if (loaderIdleAt_ == atMs) {
        LeaveLoader();
    } else if (applicationAt_ == atMs) {
        LeaveLoader();
    }
}

double SimGauge::Send(const std::string& text, double fromMs) {
    const LineMode mode = GaugeLine();
    const double charMs = CharMs(mode.baud);
    double at = std::max(fromMs, outboundFreeAt_);
    for (char c : text) {
        at += charMs;
        Enqueue(at, static_cast<std::uint8_t>(c), mode);
    }
    outboundFreeAt_ = at;
    return at;
}

void SimGauge::Enqueue(double atMs, std::uint8_t byte, const LineMode& mode) {
    const Pending p{atMs, byte, mode};
    if (outgoing_.empty() || outgoing_.back().at <= atMs) {
        outgoing_.push_back(p);
        return;
    }
    const auto at = std::upper_bound(outgoing_.begin(), outgoing_.end(), atMs,
                                     [](double t, const Pending& q) { return t < q.at; });
    outgoing_.insert(at, p);
}

std::uint8_t SimGauge::AsReceived(std::uint8_t byte, const LineMode& sentWith,
                                  const LineMode& readWith) const {
    if (sentWith.baud == 0) // noise injected by a test arrives as it is
        return byte;
    if (Compatible(sentWith, readWith))
        return sentWith.wordLength == 7 || readWith.wordLength == 7
                   ? static_cast<std::uint8_t>(byte & 0x7F)
                   : byte;
    if (sentWith.baud == readWith.baud) {
        if (sentWith.wordLength == 7) // 7E1 read as 8N1: the parity bit is the eighth bit
            return static_cast<std::uint8_t>((byte & 0x7F) | (OddBits(byte & 0x7F) << 7));
        return static_cast<std::uint8_t>(byte & 0x7F); // 8N1 read as 7E1
    }
    // Another rate: framing garbage, never a control character.
    return static_cast<std::uint8_t>(0x80 | ((byte * 37 + 11) & 0x7F));
}
