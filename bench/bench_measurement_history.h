#pragma once

// The history of 24 hours of continuous measurement at one record a second
// (86,400 records), built directly from the simulated gauge's value model,
// and the heap in use, for the measurement and chart benchmarks.

#include "measurement/MeasurementValues.h"
#include "sim/SimValues.h"

#include <QDateTime>

#include <chrono>
#include <ctime>
#include <cstddef>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

inline constexpr std::size_t DayOfRecords = 86400;

// One record of the day: the nine "M!" values and the three "M1!" values
// the simulated gauge gives at that second.
inline MeasurementValues BenchRecord(std::size_t second) {
    static const QDateTime start(QDate(2024, 6, 1), QTime(0, 0));
    const double ms = 1000.0 * static_cast<double>(second);
    std::vector<std::string> values =
        SimValues::MainValues(SimValues::Inputs{ms, 12.5 + ms / 3.6e6, 125.3, 1, 0});
    const std::vector<std::string> aux = SimValues::AuxValues(ms);
    values.insert(values.end(), aux.begin(), aux.end());
    MeasurementValues::Strings strings;
    for (std::size_t p = 0; p < strings.size(); ++p)
        strings[p] = values[p];
    return MeasurementValues(DateTimeValue(start.addSecs(static_cast<qint64>(second))), strings);
}

inline void FillBenchHistory(TMeasurementValueArray& history, std::size_t count) {
    for (std::size_t second = history.Size(); second < count; ++second)
        history.Append(BenchRecord(second));
}

// Bytes the allocator has handed out; 0 where it cannot tell.
inline std::size_t HeapInUse() {
#if defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#else
    return 0;
#endif
}

inline double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Processor time of the process, which other programs on a busy machine do
// not inflate.
inline double CpuMs() {
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

inline const char* Verdict(double value, double goal) {
    return value <= goal ? "ok" : "OVER GOAL";
}
