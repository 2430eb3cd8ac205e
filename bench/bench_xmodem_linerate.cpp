// XModem-CRC throughput into the simulated gauge's loader at 115200 baud
// with a 1 ms acknowledgement latency, on the manual clock: prints the
// payload's line time (payload bytes x 10 bits / 115200 per second) as a
// share of the manual-clock time the transfer took.
//
//   bench_xmodem_linerate [KiB]        (default: a 256 KiB image)
//
// The manual clock advances 1 us on every reading and every message
// processing, a fair price for one polling pass. XModem waits for each
// acknowledgement before the next block, so the share cannot exceed
// 128 / (133 + 1 + latency in characters): the program prints that bound
// beside the measured figure.
//
// The latency is set as the loader's reply latency, which the loader applies
// to its acknowledgements. Should they be seen to come sooner, the latency is
// added on the adapter's side instead (every byte from the gauge arrives 1 ms
// later) and the figure is printed for both.

#include "firmware/USBXModemUnit.h"
#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "sim/SimBackend.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <deque>
#include <memory>

namespace {

constexpr std::uint32_t Baud = 115200;
constexpr double LatencyMs = 1.0;
constexpr double CharMs = 10.0 * 1000.0 / Baud;

// An adapter whose received bytes arrive delayMs later than the inner one's.
class DelayedPort final : public AdapterPort {
public:
    DelayedPort(std::unique_ptr<AdapterPort> inner, double delayMs)
        : inner_(std::move(inner)), delayMs_(delayMs) {}
    int Close() override { return inner_->Close(); }
    int Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override {
        const double now = Pull();
        got = 0;
        while (got < count && !queue_.empty() && queue_.front().at <= now) {
            buffer[got++] = queue_.front().byte;
            queue_.pop_front();
        }
        return FT_OK;
    }
    int Write(const std::uint8_t* buffer, std::uint32_t count, std::uint32_t& written) override {
        return inner_->Write(buffer, count, written);
    }
    int SetBaudRate(std::uint32_t baud) override { return inner_->SetBaudRate(baud); }
    int SetDataCharacteristics(std::uint8_t w, std::uint8_t s, std::uint8_t p) override {
        return inner_->SetDataCharacteristics(w, s, p);
    }
    int SetRts(bool on) override { return inner_->SetRts(on); }
    int SetDtr(bool on) override { return inner_->SetDtr(on); }
    int Purge(std::uint32_t mask) override {
        if ((mask & 1) != 0) {
            const double now = Pull();
            while (!queue_.empty() && queue_.front().at <= now)
                queue_.pop_front();
        }
        return inner_->Purge(mask);
    }
    int QueueStatus(std::uint32_t& rxBytes) override {
        const double now = Pull();
        rxBytes = 0;
        for (const Byte& b : queue_)
            if (b.at <= now)
                ++rxBytes;
        return FT_OK;
    }
    int SetBreak(bool on) override { return inner_->SetBreak(on); }
    int Status(std::uint32_t& rxBytes, std::uint32_t& txBytes, std::uint32_t& events) override {
        txBytes = events = 0;
        return QueueStatus(rxBytes);
    }

private:
    struct Byte {
        double at;
        std::uint8_t byte;
    };
    // Takes what the inner adapter has received by now; returns now.
    double Pull() {
        const double now = TheClock().NowMs();
        std::uint32_t waiting = 0;
        if (inner_->QueueStatus(waiting) == FT_OK && waiting > 0) {
            std::uint8_t buffer[4096];
            std::uint32_t got = 0;
            inner_->Read(buffer, std::min<std::uint32_t>(waiting, sizeof buffer), got);
            for (std::uint32_t i = 0; i < got; ++i)
                queue_.push_back({now + delayMs_, buffer[i]});
        }
        return now;
    }

    std::unique_ptr<AdapterPort> inner_;
    double delayMs_;
    std::deque<Byte> queue_;
};

class DelayedBackend final : public AdapterBackend {
public:
    DelayedBackend(AdapterBackend& inner, double delayMs) : inner_(inner), delayMs_(delayMs) {}
    int List(std::vector<AdapterListing>& adapters) override { return inner_.List(adapters); }
    std::unique_ptr<AdapterPort> OpenBySerial(const std::string& serial) override {
        std::unique_ptr<AdapterPort> port = inner_.OpenBySerial(serial);
        return port ? std::make_unique<DelayedPort>(std::move(port), delayMs_) : nullptr;
    }

private:
    AdapterBackend& inner_;
    double delayMs_;
};

struct Result {
    bool ok = false;
    double ms = 0;
    int blocks = 0;
};

// Sends the image into a fresh simulated loader; adapterDelayMs is added on
// the adapter's side.
Result Measure(const QString& imagePath, qint64 size, double adapterDelayMs) {
    Result result;
    ManualClock clock(0.001);
    clock.SetMessageStepMs(0.001);
    ScopedClock scoped(clock);
    D2XXDriver::ResetModuleState();
    SDI12IO::ResetModuleState();

    SimBackend sim;
    SimGauge::Settings settings;
    settings.model = 1;
    settings.replyLatencyMs = LatencyMs;
    SimGauge& gauge = sim.AddGauge(settings);
    DelayedBackend delayed(sim, adapterDelayMs);
    D2XXDriver::InstallBackend(&delayed);

    TSDIHandler handler;
    if (!handler.Connect() || handler.QueryAddress().empty())
        return result;
    handler.SetTransferRate(Baud);
    TUSBXModem sender;
    if (!sender.OpenFirmwareFile(imagePath) || !sender.SynchronizeReceiver())
        return result;
    const double start = clock.Peek();
    result.ok = sender.SendFirmwareFile(nullptr) &&
                gauge.AcceptedBlocks() == static_cast<int>((size + 127) / 128);
    result.ms = clock.Peek() - start;
    result.blocks = gauge.AcceptedBlocks();
    D2XXDriver::InstallBackend(nullptr);
    D2XXDriver::ResetModuleState();
    return result;
}

void Print(const char* title, const Result& r, qint64 size) {
    const double payloadMs = static_cast<double>(size) * CharMs;
    const double perBlock = r.ms / r.blocks;
    // What is left of a block's time after its 133 characters and the ACK.
    const double seenLatency = perBlock - 134 * CharMs;
    std::printf("%s: %s, %.1f ms for %d blocks (%.3f ms per block, %.3f ms beyond the wire)\n",
                title, r.ok ? "ok" : "FAILED", r.ms, r.blocks, perBlock, seenLatency);
    std::printf("  throughput %.1f %% of the line rate (goal >= 90 %%)\n",
                100.0 * payloadMs / r.ms);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int kib = argc > 1 ? std::max(1, std::atoi(argv[1])) : 256;
    const qint64 size = qint64(kib) * 1024;

    QTemporaryDir folder;
    const QString imagePath = folder.filePath("image.bin");
    {
        QFile file(imagePath);
        QByteArray image(size, '\0');
        std::uint32_t seed = 4711;
        for (char& c : image) {
            seed = seed * 1103515245u + 12345u;
            c = static_cast<char>(seed >> 24);
        }
        if (!file.open(QIODevice::WriteOnly) || file.write(image) != size) {
            std::printf("cannot write the image\n");
            return 1;
        }
    }

    const double latencyChars = LatencyMs / CharMs;
    std::printf("XModem-CRC into the simulated loader, %d KiB at %u baud, %.1f ms latency, "
                "manual clock\n",
                kib, Baud, LatencyMs);
    std::printf("bound for a stop-and-wait sender: 128 / (133 + 1 + %.2f) = %.1f %% "
                "(without latency %.1f %%)\n",
                latencyChars, 100.0 * 128 / (134 + latencyChars), 100.0 * 128 / 134);

    const Result loader = Measure(imagePath, size, 0.0);
    Print("loader reply latency 1 ms", loader, size);
    if (!loader.ok)
        return 1;
    if (loader.ms / loader.blocks - 134 * CharMs < 0.5 * LatencyMs) {
        std::printf("  (the loader's acknowledgements came sooner than its reply latency)\n");
        const Result delayed = Measure(imagePath, size, LatencyMs);
        Print("1 ms added on the adapter's side", delayed, size);
        if (!delayed.ok)
            return 1;
    }
    return 0;
}
