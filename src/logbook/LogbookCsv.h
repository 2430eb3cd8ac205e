#pragma once

// Logbook entries as CSV: one line per entry with every field, the details
// as compact JSON and the files joined by ";". tessra2-cli logbook --csv
// prints these lines; the gauge history window exports them to a file.

#include "logbook/LogbookEntry.h"

#include <QString>
#include <vector>

// "id,time,serial_number,...": the columns' names (no line end).
QString LogbookCsvHeader();
// An entry's line (no line end).
QString LogbookCsvLine(const LogbookEntry& entry);

// The header and the entries as the file path, UTF-8, each line ended by
// CR LF; an existing file is replaced only once the new one is complete.
// false and the reason in error when it could not be written.
bool WriteLogbookCsv(const QString& path, const std::vector<LogbookEntry>& entries,
                     QString* error = nullptr);
