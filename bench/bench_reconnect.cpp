// The window program's continuous measurement across unplugged adapters:
// tessra2 --port <link> against tessra2-sim --link <link>, paced at 1200
// baud, the adapter pulled and plugged in again several times. Prints, for
// each return, the time from the adapter's return (the moment it is plugged
// in again) to the start of the first resumed measurement, and the records
// lost per unplug: records the window had taken that are missing from its
// history or its journal afterwards.
//
//     bench_reconnect [tessra2-sim] [tessra2] [unplugs, default 5]

#include "BenchSimulator.h"
#include "measurement/MeasurementExport.h"
#include "support/ProgramUnderTest.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// "record <count> <start>": the count and the measurement's start.
bool ParseRecord(const QString& line, int& count, QDateTime& start) {
    const QStringList parts = line.split(u' ');
    if (parts.size() != 3)
        return false;
    bool ok = false;
    count = parts[1].toInt(&ok);
    start = QDateTime::fromString(parts[2], QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
    return ok && start.isValid();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString app2 = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                  : QDir(QCoreApplication::applicationDirPath())
                                        .filePath(QStringLiteral("../src/tessra2"));
    const int unplugs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;

    QTemporaryDir dir;
    SimProcess sim(PacedTessra2L());
    sim.UseLink(dir.filePath(QStringLiteral("adapter")));
    if (!StartBenchSimulator(argc, argv, sim, "bench_reconnect"))
        return 1;
    ProgramUnderTest program(app2, {QStringLiteral("--port"), sim.LinkPath(),
                                    QStringLiteral("--test-click"), QStringLiteral("measurement"),
                                    QStringLiteral("--test-click"),
                                    QStringLiteral("MPermanentButton")});
    if (!program.Start()) {
        std::fprintf(stderr, "bench_reconnect: %s\n", qPrintable(program.Error()));
        return 1;
    }

    std::vector<double> latencies;
    int lost = 0;
    int lastCount = 0;
    QDateTime start;
    const auto nextRecord = [&](int timeoutMs) {
        const QString line = program.WaitFor(QStringLiteral("record "), timeoutMs);
        int count = 0;
        if (!ParseRecord(line, count, start))
            return false;
        // The history grows by one a record; a jump would be records lost.
        lost += std::max(0, count - lastCount - 1);
        lastCount = count;
        return true;
    };
    for (int k = 0; k < unplugs; ++k) {
        for (int i = 0; i < 2; ++i)
            if (!nextRecord(60000)) {
                std::fprintf(stderr, "bench_reconnect: no record\n%s\n",
                             qPrintable(program.Lines().join(u'\n')));
                return 1;
            }
        if (!sim.Unplug()) {
            std::fprintf(stderr, "bench_reconnect: %s\n", qPrintable(sim.Error()));
            return 1;
        }
        program.WaitFor(QStringLiteral("presentation disconnected"), 10000);
        // The adapter stays away a moment, each time for another fraction
        // of the window's one-second look, so every phase of it is met.
        QThread::msleep(static_cast<unsigned long>(1000 + (k * 1000) / unplugs));
        const QDateTime returned = QDateTime::currentDateTime();
        if (!sim.Replug()) {
            std::fprintf(stderr, "bench_reconnect: %s\n", qPrintable(sim.Error()));
            return 1;
        }
        if (!nextRecord(60000)) {
            std::fprintf(stderr, "bench_reconnect: not resumed\n%s\n",
                         qPrintable(program.Lines().join(u'\n')));
            return 1;
        }
        latencies.push_back(static_cast<double>(returned.msecsTo(start)) / 1000.0);
    }
    program.Kill();

    // The journal holds every record the window took.
    const QStringList journals =
        QDir(program.JournalFolder()).entryList({QStringLiteral("*.txt")}, QDir::Files);
    TMeasurementValueArray saved;
    if (journals.size() == 1)
        MeasurementExport::Read(QDir(program.JournalFolder()).filePath(journals[0]), saved);
    const int missing = std::max(0, lastCount - static_cast<int>(saved.Size()));

    std::printf("bench_reconnect: %d unplugs of a paced Tessra2 L at 1200 baud during continuous "
                "measurement\n",
                unplugs);
    for (std::size_t i = 0; i < latencies.size(); ++i)
        std::printf("  return %zu: first resumed measurement started %.2f s after the adapter "
                    "came back\n",
                    i + 1, latencies[i]);
    std::sort(latencies.begin(), latencies.end());
    std::printf("adapter back -> first resumed measurement: median %.2f s, worst %.2f s (goal <= "
                "3 s)\n",
                latencies[latencies.size() / 2], latencies.back());
    std::printf("records lost per unplug: %.2f in the history, %.2f in the journal (%d records, "
                "%zu in %d journal file(s)); goal 0\n",
                static_cast<double>(lost) / unplugs, static_cast<double>(missing) / unplugs,
                lastCount, saved.Size(), static_cast<int>(journals.size()));
    return 0;
}
