#pragma once

// Date and time texts of the logs and exports, with the locale's time
// separator between hours, minutes and seconds (":" in most locales) and a
// "." between day, month and year.

#include <QChar>
#include <QDateTime>
#include <QString>

// The separator the locale's short time format puts after the hours; ":"
// when that format has none.
QChar LocaleTimeSeparator();

// "dd.mm.yyyy hh:nn:ss", two-digit fields, four-digit year, 24-hour time.
QString DayAndTimeText(const QDateTime& when, QChar timeSeparator = LocaleTimeSeparator());
// The same followed by "." and three digits of milliseconds.
QString DayAndTimeTextMs(const QDateTime& when, QChar timeSeparator = LocaleTimeSeparator());
// "hh:nn:ss", 24-hour time.
QString ClockText(const QDateTime& when, QChar timeSeparator = LocaleTimeSeparator());
