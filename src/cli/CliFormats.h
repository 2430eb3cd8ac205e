#pragma once

// Output formats the commands share.

#include <QString>

// A CSV field, quoted when it holds a comma, a quote or a line break.
QString CsvField(const QString& text);
