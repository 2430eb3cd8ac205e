// Benchmark: how close one SDI-12 transaction through Qt Serial Port and a
// pseudo-terminal comes to the time the wire itself needs.
//
// Starts tessra2-sim --model 1 --pace --latency 10, opens its terminal
// through the serial backend and runs "0OUT!" (reply "a0" CR LF) a number of
// times on the real clock. Prints the median of measured / ideal, where
// ideal = 25 ms break + 8.33 ms marking + (5 + 4 characters) x 8.333 ms
// + 10 ms latency = 118.33 ms.
//
// usage: bench_transaction [path to tessra2-sim] [runs]
// (default: $TESSRA_SIM, else tessra2-sim beside this program's build folder)

#include "BenchSimulator.h"
#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "link/SerialBackend.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;

    SimProcess sim(PacedTessra2L());
    if (!StartBenchSimulator(argc, argv, sim, "bench_transaction"))
        return 2;
    const std::string path = sim.PtyPath();

    SerialBackend backend;
    backend.SetListSystemPorts(false);
    D2XXDriver::InstallBackend(&backend);
    if (SDI12IO::OpenSdiPort(backend.AddPath(path), 7, 2, 0) < 0) {
        std::fprintf(stderr, "bench_transaction: cannot open %s\n", path.c_str());
        return 2;
    }

    const std::string command = "0OUT!";
    const double charMs = 10000.0 / 1200.0;
    const double ideal = 25.0 + 8.33 + (5 + 4) * charMs + 10.0;
    RealClock clock;
    std::vector<double> ratios;
    int failures = 0;
    for (int run = 0; run < runs; ++run) {
        std::string reply;
        const double start = clock.NowMs();
        const int result = SDI12IO::SdiTransaction(command, reply, 300);
        const double measured = clock.NowMs() - start;
        if (result != 0 || reply != "00\r\n") {
            ++failures;
            continue;
        }
        ratios.push_back(measured / ideal);
    }
    SDI12IO::CloseSdiPort();
    D2XXDriver::InstallBackend(nullptr);
    sim.Stop(3000);
    // TESSRA_BENCH_SIM_LOG=file keeps the simulator's log (commands and replies with times).
    const QString simLog = qEnvironmentVariable("TESSRA_BENCH_SIM_LOG");
    if (!simLog.isEmpty()) {
        QFile file(simLog);
        if (file.open(QIODevice::WriteOnly))
            file.write(sim.Log().toUtf8());
    }

    if (ratios.empty()) {
        std::fprintf(stderr, "bench_transaction: no transaction succeeded\n");
        return 1;
    }
    std::printf("transactions: %zu of %d ok\n", ratios.size(), runs);
    std::printf("ideal: %.2f ms\n", ideal);
    std::printf("measured / ideal: min %.4f  median %.4f  max %.4f\n",
                *std::min_element(ratios.begin(), ratios.end()), Median(ratios),
                *std::max_element(ratios.begin(), ratios.end()));
    return failures == 0 ? 0 : 1;
}
