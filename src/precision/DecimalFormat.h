#pragma once

// Numbers as the precision test shows them: a fixed number of decimals
// ("#0.00", "#0.000", "#0.0000") or at most a number of decimals without
// trailing zeros ("#0.#####"). At least one integer digit, no thousands
// separator, a leading "-" for every negative value (also when it rounds to
// zero), halves rounded away from zero on the exact value of the number.

#include <QChar>
#include <QString>

namespace Precision {

// value with exactly decimals decimals, with the given decimal separator.
QString FormatFixed(double value, int decimals, QChar separator);
// The same with the decimal separator of the user's locale.
QString FormatFixed(double value, int decimals);
// value with at most maxDecimals decimals, trailing zeros (and a bare
// separator) dropped; the locale's decimal separator.
QString FormatUpTo(double value, int maxDecimals);
QString FormatUpTo(double value, int maxDecimals, QChar separator);

// The decimal separator of the user's locale.
QChar LocaleDecimalSeparator();

} // namespace Precision
