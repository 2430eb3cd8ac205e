#pragma once

// Measurements as CSV (RFC 4180), for spreadsheets and scripts: a header
// of the time column's title and the twelve row titles with their units,
// then one line per record: the time in ISO 8601 (local time as recorded,
// "yyyy-MM-ddTHH:mm:ss") and the twelve values as the gauge sent them.
// The measurement area's export and tessra2-cli measure --csv both write
// their lines here.

#include "measurement/MeasurementExport.h"
#include "measurement/MeasurementValues.h"

#include <QString>
#include <QStringView>

class QIODevice;

namespace MeasurementCsv {

// A field, quoted as every CSV of the program is (CsvField).
QString Field(QStringView text);

// "yyyy-MM-ddTHH:mm:ss" of a record time (DateTimeValue).
QString TimeText(double time);

// The header line (no line end): timeTitle, then each row's title without
// surrounding blanks, followed by " [unit]" when it has a unit.
QString HeaderLine(const QString& timeTitle, const MeasurementExport::RowTexts& rows);

// A record's line (no line end).
QString RecordLine(const MeasurementValues& record);

// The header and every record, UTF-8, each line ended by CR LF; false when
// a write failed.
bool Write(QIODevice& device, const TMeasurementValueArray& history,
           const MeasurementExport::RowTexts& rows, const QString& timeTitle);

// Writes the CSV as the file path, replacing an existing file only once it
// is complete. false and the reason in error when it failed.
bool ExportCsv(const QString& path, const TMeasurementValueArray& history,
               const MeasurementExport::RowTexts& rows, const QString& timeTitle,
               QString* error = nullptr);

} // namespace MeasurementCsv
