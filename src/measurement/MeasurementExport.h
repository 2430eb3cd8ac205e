#pragma once

// The measurement export file: for every record of the history, in order,
// twelve lines (the nine "M!" values, then the three "M1!" values), each
//   dd.mm.yyyy hh:nn:ss;row title;value;unit
// in UTF-16 little-endian with the byte order mark FF FE, every line ended
// by CR LF. An empty history gives the byte order mark alone. A run journal
// is the same file, written record by record.

#include "measurement/MeasurementValues.h"

#include <QByteArray>
#include <QChar>
#include <QString>

#include <array>
#include <cstddef>

class QIODevice;

namespace MeasurementExport {

// Title and unit of a position's lines, as the row shows them at export time.
struct RowText {
    QString title;
    QString unit;
    bool operator==(const RowText&) const = default;
};
using RowTexts = std::array<RowText, MeasurementPositionCount>;

// The lines of records for one set of rows, the parts around each value
// encoded once. The export and the run journal both build their records
// here, so a journal is an export file.
class RecordLines {
public:
    explicit RecordLines(const RowTexts& rows);
    // Appends the record's twelve lines (UTF-16 LE, each ended by CR LF).
    void AppendTo(QByteArray& out, const MeasurementValues& record, QChar timeSeparator) const;

private:
    std::array<QByteArray, MeasurementPositionCount> beforeValue_;
    std::array<QByteArray, MeasurementPositionCount> afterValue_;
};

// Writes the whole export to device (open for writing) in pieces; false
// when a write failed.
bool Write(QIODevice& device, const TMeasurementValueArray& history, const RowTexts& rows,
           QChar timeSeparator);

// Writes the export as the file path, replacing an existing file only once
// it is complete. false and the reason in error when it failed.
bool ExportMeasurements(const QString& path, const TMeasurementValueArray& history,
                        const RowTexts& rows, QChar timeSeparator, QString* error = nullptr);

// What reading an export (or a run journal) gave.
struct ReadResult {
    // The input is an export file. A file that ends inside a record (a
    // journal cut while a record was being written) still is one.
    bool ok = false;
    // Why it is not, naming the line (in the current language).
    QString error;
    // Whole records appended to the history.
    std::size_t records = 0;
    // Lines after the last whole record, complete or cut, that were left
    // out (0 when the file ends with a whole record).
    int leftOutLines = 0;
    // The time separator the file uses (":" when it holds no line).
    QChar timeSeparator = u':';
    // Titles and units of the first record's lines.
    RowTexts rows;
};

// Reads an export from device (open for reading) to its end and appends
// its whole records to history; on failure history is left as it was.
// Record times are whole seconds, as the file holds them.
ReadResult Read(QIODevice& device, TMeasurementValueArray& history);
// The same for the file path.
ReadResult Read(const QString& path, TMeasurementValueArray& history);

} // namespace MeasurementExport
