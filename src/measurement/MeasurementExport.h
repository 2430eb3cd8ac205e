#pragma once

// The measurement export file: for every record of the history, in order,
// twelve lines (the nine "M!" values, then the three "M1!" values), each
//   dd.mm.yyyy hh:nn:ss;row title;value;unit
// in UTF-16 little-endian with the byte order mark FF FE, every line ended
// by CR LF. An empty history gives the byte order mark alone.

#include "measurement/MeasurementValues.h"

#include <QChar>
#include <QString>

#include <array>

class QIODevice;

namespace MeasurementExport {

// Title and unit of a position's lines, as the row shows them at export time.
struct RowText {
    QString title;
    QString unit;
};
using RowTexts = std::array<RowText, MeasurementPositionCount>;

// Writes the whole export to device (open for writing) in pieces; false
// when a write failed.
bool Write(QIODevice& device, const TMeasurementValueArray& history, const RowTexts& rows,
           QChar timeSeparator);

// Writes the export as the file path, replacing an existing file only once
// it is complete. false and the reason in error when it failed.
bool ExportMeasurements(const QString& path, const TMeasurementValueArray& history,
                        const RowTexts& rows, QChar timeSeparator, QString* error = nullptr);

} // namespace MeasurementExport
