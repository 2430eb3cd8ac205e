// Reading the whole configuration of a Tessra2 L over a pseudo-terminal
// against tessra2-sim (wire paced at 1200 baud, 10 ms reply latency), as a
// ratio to the ideal wire time of the same exchanges: per transaction a
// 25 ms break, 8.33 ms of marking and the 10 ms latency, plus 8.333 ms per
// character sent or received. Goal: at most 1.02.
//
//     bench_config_read [path of tessra2-sim] [runs]
//
// Without a path the program takes TESSRA_SIM, else ../src/tessra2-sim
// beside this program. The figure printed first is the read sequence alone,
// the way the configuration area runs it without its window; the second adds
// the area's 20 ms pause after each row's mark.

#include "BenchSimulator.h"
#include "config/ConfigurationSequence.h"
#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SerialBackend.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr double BreakMs = 25.0;
constexpr double MarkingMs = 8.33;
constexpr double CharacterMs = 10.0 * 1000.0 / 1200.0;
constexpr double LatencyMs = 10.0;
constexpr double RowPauseMs = 20.0;

// Bytes and breaks that really crossed the line.
struct WireCount {
    long transactions = 0; // breaks sent
    long characters = 0;   // written and read
    double IdealMs() const {
        return transactions * (BreakMs + MarkingMs + LatencyMs) + characters * CharacterMs;
    }
};

class CountingPort : public AdapterPort {
public:
    CountingPort(std::unique_ptr<AdapterPort> port, WireCount& count)
        : port_(std::move(port)), count_(count) {}
    int Close() override { return port_->Close(); }
    int Read(std::uint8_t* buffer, std::uint32_t n, std::uint32_t& got) override {
        const int status = port_->Read(buffer, n, got);
        count_.characters += got;
        return status;
    }
    int Write(const std::uint8_t* buffer, std::uint32_t n, std::uint32_t& written) override {
        const int status = port_->Write(buffer, n, written);
        count_.characters += written;
        return status;
    }
    int SetBaudRate(std::uint32_t baud) override { return port_->SetBaudRate(baud); }
    int SetDataCharacteristics(std::uint8_t w, std::uint8_t s, std::uint8_t p) override {
        return port_->SetDataCharacteristics(w, s, p);
    }
    int SetRts(bool on) override { return port_->SetRts(on); }
    int SetDtr(bool on) override { return port_->SetDtr(on); }
    int Purge(std::uint32_t mask) override { return port_->Purge(mask); }
    int QueueStatus(std::uint32_t& rx) override { return port_->QueueStatus(rx); }
    int SetBreak(bool on) override {
        if (on)
            ++count_.transactions;
        return port_->SetBreak(on);
    }
    int Status(std::uint32_t& rx, std::uint32_t& tx, std::uint32_t& events) override {
        return port_->Status(rx, tx, events);
    }

private:
    std::unique_ptr<AdapterPort> port_;
    WireCount& count_;
};

class CountingBackend : public AdapterBackend {
public:
    CountingBackend(AdapterBackend& backend, WireCount& count) : backend_(backend), count_(count) {}
    int List(std::vector<AdapterListing>& adapters) override { return backend_.List(adapters); }
    std::unique_ptr<AdapterPort> OpenBySerial(const std::string& serial) override {
        std::unique_ptr<AdapterPort> port = backend_.OpenBySerial(serial);
        if (!port)
            return port;
        return std::make_unique<CountingPort>(std::move(port), count_);
    }

private:
    AdapterBackend& backend_;
    WireCount& count_;
};

// The area's view as far as time goes: the pause after each row's mark.
class PausingView : public Config::ConfigurationView {
public:
    void RowReported(Config::Row) override { TheClock().SleepMs(RowPauseMs); }
};

struct Run {
    double measuredMs;
    WireCount wire;
};

// One read of the whole configuration; commands and replies counted.
Run TimedRead(Config::ConfigurationSequence& sequence, WireCount& count) {
    count = WireCount();
    const auto start = std::chrono::steady_clock::now();
    sequence.Read();
    const auto end = std::chrono::steady_clock::now();
    return {std::chrono::duration<double, std::milli>(end - start).count(), count};
}

void Report(const char* what, std::vector<Run> runs) {
    std::sort(runs.begin(), runs.end(),
              [](const Run& a, const Run& b) { return a.measuredMs < b.measuredMs; });
    const Run& median = runs[runs.size() / 2];
    std::printf("%s: %zu runs, %ld transactions, %ld characters\n", what, runs.size(),
                median.wire.transactions, median.wire.characters);
    std::printf("  ideal wire time %.1f ms; measured best %.1f ms, median %.1f ms, worst %.1f ms\n",
                median.wire.IdealMs(), runs.front().measuredMs, median.measuredMs,
                runs.back().measuredMs);
    std::printf("  ratio (median / ideal): %.3f   (best %.3f)\n",
                median.measuredMs / median.wire.IdealMs(),
                runs.front().measuredMs / runs.front().wire.IdealMs());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;

    SimProcess sim(PacedTessra2L());
    if (!StartBenchSimulator(argc, argv, sim, "bench_config_read"))
        return 2;
    const std::string pty = sim.PtyPath();

    SerialBackend serial;
    serial.SetListSystemPorts(false);
    serial.AddPath(pty);
    WireCount count;
    CountingBackend counting(serial, count);
    D2XXDriver::InstallBackend(&counting);

    TSDIHandler gauge;
    if (!gauge.Connect() || gauge.QueryAddress().empty() || gauge.GetModel() != 1) {
        std::fprintf(stderr, "bench_config_read: no Tessra2 L answers on %s\n", pty.c_str());
        return 2;
    }

    Config::ParameterRows rows;
    Config::ConfigurationView silent;
    Config::ConfigurationSequence sequence(gauge, rows, silent);
    sequence.Prepare(1);
    TimedRead(sequence, count); // first contact: the terminal's buffers settle

    std::vector<Run> alone;
    for (int i = 0; i < runs; ++i)
        alone.push_back(TimedRead(sequence, count));
    bool allRead = true;
    for (int row = 0; row < Config::RowCount; ++row)
        allRead = allRead && rows.MarkOf(Config::Row(row)) == Config::Mark::Succeeded;

    PausingView pausing;
    Config::ConfigurationSequence paced(gauge, rows, pausing);
    std::vector<Run> withPauses;
    for (int i = 0; i < std::max(1, runs / 2); ++i)
        withPauses.push_back(TimedRead(paced, count));

    std::printf("Reading the configuration of a Tessra2 L over %s (tessra2-sim --model 1 "
                "--pace --latency 10)\n",
                pty.c_str());
    if (!allRead)
        std::printf("WARNING: not every setting was read successfully\n");
    Report("read sequence", alone);
    Report("read sequence with the area's 20 ms mark pauses", withPauses);

    gauge.Disconnect();
    D2XXDriver::InstallBackend(nullptr);
    sim.Stop(3000);
    return allRead ? 0 : 1;
}
