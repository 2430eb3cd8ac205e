#pragma once

// Starting tessra2-sim for a benchmark: its path is the first argument, or
// TESSRA_SIM, or the one built beside the benchmark.

#include "support/SimProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

// Starts sim (a paced Tessra2 L answering after 10 ms) and prints why not
// when that fails; name prefixes the message.
inline bool StartBenchSimulator(int argc, char** argv, SimProcess& sim, const char* name) {
    if (argc > 1)
        qputenv("TESSRA_SIM", QByteArray(argv[1]));
    else if (qEnvironmentVariableIsEmpty("TESSRA_SIM"))
        qputenv("TESSRA_SIM", QDir(QCoreApplication::applicationDirPath())
                                  .filePath("../src/tessra2-sim")
                                  .toLocal8Bit());
    if (!sim.Start()) {
        std::fprintf(stderr, "%s: %s\n", name, qPrintable(sim.Error()));
        return false;
    }
    return true;
}

// The arguments the benchmarks start tessra2-sim with.
inline QStringList PacedTessra2L() {
    return {"--model", "1", "--pace", "--latency", "10"};
}
