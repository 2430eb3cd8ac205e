// Run journal and reading back:
//   - the time one record takes to reach the journal (one write, then the
//     system puts it on the disk), against the same write without waiting
//     for the disk, per record (median, 95th percentile, largest);
//   - reading back the export of 24 hours of records (86,400 records,
//     1,036,800 lines), goal: at most 2 s as for writing it;
//   - the CSV export of the same records.
//
//   bench_journal [records] [folder]
//
// records: journal records to time (default 300); folder: where the journal
// goes (default: a temporary folder in the per-user data folder, the file
// system the journals really live on).

#include "bench_measurement_history.h"

#include "measurement/MeasurementCsv.h"
#include "measurement/MeasurementExport.h"
#include "measurement/RunJournal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

MeasurementExport::RowTexts EnglishRows() {
    const char* titles[] = {"Intensity RT ( real-time )",
                            "Accu RT/NRT",
                            "Accu NRT",
                            "Accu total NRT",
                            "Bucket RT (real-time)",
                            "Bucket NRT ( non real-time)",
                            "Temperature load cell",
                            "Heating status",
                            "Axo Tessra2 status",
                            "Internal temperature",
                            "Supply voltage",
                            "Temperature heating rim"};
    const char* units[] = {"mm/h",
                           "mm (inactive while USB connected)",
                           "mm (inactive while USB connected)",
                           "mm (inactive while USB connected)",
                           "mm",
                           "mm",
                           "°C",
                           "",
                           "",
                           "°C",
                           "V",
                           "°C"};
    MeasurementExport::RowTexts rows;
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = {QStringLiteral(" ") + QString::fromUtf8(titles[i]), QString::fromUtf8(units[i])};
    return rows;
}

struct Spread {
    double median = 0;
    double p95 = 0;
    double largest = 0;
};

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values[values.size() * 95 / 100], values.back()};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int records = argc > 1 ? std::max(20, std::atoi(argv[1])) : 300;
    const QString base =
        argc > 2 ? QString::fromLocal8Bit(argv[2])
                 : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QDir().mkpath(base);
    QTemporaryDir folder(QDir(base).filePath(QStringLiteral("bench_journal-XXXXXX")));
    if (!folder.isValid()) {
        std::fprintf(stderr, "bench_journal: no folder in %s\n", qPrintable(base));
        return 1;
    }
    const MeasurementExport::RowTexts rows = EnglishRows();

    // The journal: one record after the other, each on the disk before the next.
    RunJournal journal(folder.path());
    QString error;
    if (!journal.Start(QStringLiteral("AX0001"), QDateTime::currentDateTime(), &error)) {
        std::fprintf(stderr, "bench_journal: %s\n", qPrintable(error));
        return 1;
    }
    std::vector<double> appendMs;
    for (int n = 0; n < records; ++n) {
        const MeasurementValues record = BenchRecord(static_cast<std::size_t>(n));
        const auto begin = std::chrono::steady_clock::now();
        if (!journal.Append(record, rows, u':', &error)) {
            std::fprintf(stderr, "bench_journal: %s\n", qPrintable(error));
            return 1;
        }
        appendMs.push_back(MsSince(begin));
    }
    const qint64 recordBytes = (QFile(journal.Path()).size() - 2) / records;
    journal.Close();

    // The same bytes, written the same way, without waiting for the disk.
    QFile plain(folder.filePath(QStringLiteral("plain.txt")));
    if (!plain.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return 1;
    const MeasurementExport::RecordLines lines(rows);
    std::vector<double> plainMs;
    for (int n = 0; n < records; ++n) {
        QByteArray bytes;
        const auto begin = std::chrono::steady_clock::now();
        lines.AppendTo(bytes, BenchRecord(static_cast<std::size_t>(n)), u':');
        if (plain.write(bytes) != bytes.size())
            return 1;
        plainMs.push_back(MsSince(begin));
    }
    plain.close();

    const Spread synced = SpreadOf(appendMs);
    const Spread unsynced = SpreadOf(plainMs);
    std::printf("journal in %s\n", qPrintable(QDir::toNativeSeparators(base)));
    std::printf("journal record (%lld bytes) on the disk: median %.2f ms, 95%% %.2f ms, "
                "largest %.2f ms (%d records)\n",
                static_cast<long long>(recordBytes), synced.median, synced.p95, synced.largest,
                records);
    std::printf("the same write without waiting for the disk: median %.3f ms, 95%% %.3f ms\n",
                unsynced.median, unsynced.p95);

    // Reading back a day of records.
    TMeasurementValueArray history;
    FillBenchHistory(history, DayOfRecords);
    const QString exportPath = folder.filePath(QStringLiteral("export.txt"));
    if (!MeasurementExport::ExportMeasurements(exportPath, history, rows, u':'))
        return 1;
    auto begin = std::chrono::steady_clock::now();
    TMeasurementValueArray read;
    const MeasurementExport::ReadResult result = MeasurementExport::Read(exportPath, read);
    const double readMs = MsSince(begin);
    if (!result.ok || read.Size() != history.Size()) {
        std::fprintf(stderr, "bench_journal: reading failed: %s\n", qPrintable(result.error));
        return 1;
    }
    const double megabytes = static_cast<double>(QFile(exportPath).size()) / 1e6;
    std::printf("reading back %zu records (%.1f MB): %.0f ms, goal <= 2000 ms  %s\n", read.Size(),
                megabytes, readMs, Verdict(readMs, 2000));

    begin = std::chrono::steady_clock::now();
    const QString csvPath = folder.filePath(QStringLiteral("export.csv"));
    if (!MeasurementCsv::ExportCsv(csvPath, history, rows, QStringLiteral("Time")))
        return 1;
    const double csvMs = MsSince(begin);
    std::printf("CSV export of %zu records (%.1f MB): %.0f ms, goal <= 2000 ms  %s\n",
                history.Size(), static_cast<double>(QFile(csvPath).size()) / 1e6, csvMs,
                Verdict(csvMs, 2000));
    return 0;
}
