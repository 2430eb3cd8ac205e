#pragma once

// The one CSV quoting of the program (RFC 4180), for every CSV it writes:
// measurement exports, the logbook's lists and exports.

#include <QString>
#include <QStringView>

// A field: in double quotes, its quotes doubled, when it holds a comma, a
// double quote, CR or LF; as it is otherwise.
QString CsvField(QStringView text);
