// Measurement history and export: 24 hours of continuous measurement at one
// record a second (86,400 records) built directly, then
//   - the heap the history holds per record (goal: at most 300 bytes),
//   - the export of all records, 1,036,800 lines (goal: at most 2 s), and
//     its ratio to a plain write of the same number of bytes.
//
//   bench_measurement [runs]        (default 9 runs; medians are printed)

#include "bench_measurement_history.h"

#include "measurement/MeasurementExport.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

MeasurementExport::RowTexts EnglishRows() {
    const char* titles[] = {"Intensity RT ( real-time )", "Accu RT/NRT", "Accu NRT",
                            "Accu total NRT", "Bucket RT (real-time)",
                            "Bucket NRT ( non real-time)", "Temperature load cell",
                            "Heating status", "Axo Tessra2 status", "Internal temperature",
                            "Supply voltage", "Temperature heating rim"};
    const char* units[] = {"mm/h", "mm (inactive while USB connected)",
                           "mm (inactive while USB connected)",
                           "mm (inactive while USB connected)", "mm", "mm", "°C", "", "",
                           "°C", "V", "°C"};
    MeasurementExport::RowTexts rows;
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = {QStringLiteral(" ") + QString::fromUtf8(titles[i]), QString::fromUtf8(units[i])};
    return rows;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

    const std::size_t heapBefore = HeapInUse();
    auto start = std::chrono::steady_clock::now();
    TMeasurementValueArray history;
    FillBenchHistory(history, DayOfRecords);
    const double buildMs = MsSince(start);
    const std::size_t heapAfter = HeapInUse();

    std::size_t ownBytes = 0;
    for (std::size_t i = 0; i < history.Size(); ++i)
        ownBytes += history[i].HeapBytes();
    // The array's slots as the growing vector left them (capacity, not size).
    std::size_t capacity = 1;
    while (capacity < history.Size())
        capacity *= 2;
    const double counted =
        static_cast<double>(ownBytes + capacity * sizeof(MeasurementValues)) / DayOfRecords;
    std::printf("history of %zu records built in %.0f ms\n", history.Size(), buildMs);
    if (heapAfter > heapBefore) {
        const double perRecord = static_cast<double>(heapAfter - heapBefore) / DayOfRecords;
        std::printf("history memory: %.0f bytes per record (allocator), goal <= 300  %s\n",
                    perRecord, Verdict(perRecord, 300));
    }
    std::printf("history memory: %.0f bytes per record (counted: %zu-byte record, packed "
                "values, array slack), goal <= 300  %s\n",
                counted, sizeof(MeasurementValues), Verdict(counted, 300));

    QTemporaryDir folder;
    const QString exportPath = folder.filePath("export.txt");
    const QString plainPath = folder.filePath("plain.txt");
    std::vector<double> exportMs;
    std::vector<double> plainMs;
    qint64 bytes = 0;
    // The two take turns, first one then the other, so that neither always
    // finds the disk busy with writing back what the other left behind.
    const auto exportOnce = [&] {
        const auto begin = std::chrono::steady_clock::now();
        const bool ok =
            MeasurementExport::ExportMeasurements(exportPath, history, EnglishRows(), u':');
        exportMs.push_back(MsSince(begin));
        bytes = QFile(exportPath).size();
        return ok;
    };
    // The same number of bytes, ready in memory, written the same way
    // (through a save file, in pieces of the export's size).
    QByteArray plain;
    const auto plainOnce = [&] {
        if (plain.size() != bytes)
            plain = QByteArray(bytes, 'x');
        constexpr qint64 Piece = 1 << 20;
        const auto begin = std::chrono::steady_clock::now();
        QSaveFile file(plainPath);
        bool written = file.open(QIODevice::WriteOnly);
        for (qint64 at = 0; written && at < plain.size(); at += Piece) {
            const qint64 size = std::min(Piece, plain.size() - at);
            written = file.write(plain.constData() + at, size) == size;
        }
        written = written && file.commit();
        plainMs.push_back(MsSince(begin));
        return written;
    };
    if (!exportOnce()) { // also tells the size of the plain write
        std::fprintf(stderr, "bench_measurement: the export failed\n");
        return 1;
    }
    exportMs.clear();
    for (int run = 0; run < runs; ++run) {
        const bool ok = run % 2 == 0 ? plainOnce() && exportOnce() : exportOnce() && plainOnce();
        if (!ok) {
            std::fprintf(stderr, "bench_measurement: a write failed\n");
            return 1;
        }
    }
    const double exported = Median(exportMs);
    const double written = Median(plainMs);
    std::printf("export of %zu records (%zu lines, %.1f MB): %.0f ms, goal <= 2000 ms  %s\n",
                history.Size(), history.Size() * MeasurementPositionCount,
                static_cast<double>(bytes) / 1e6, exported, Verdict(exported, 2000));
    std::printf("plain write of the same %.1f MB: %.0f ms; export / plain write = %.2f\n",
                static_cast<double>(bytes) / 1e6, written, exported / written);
    return 0;
}
