#include "ui/TimeTexts.h"

#include <QLocale>

namespace {

void AppendTwoDigits(QString& text, int value) {
    text += QChar(u'0' + value / 10 % 10);
    text += QChar(u'0' + value % 10);
}

QString DayAndTime(const QDateTime& when, QChar separator, bool millis) {
    const QDate date = when.date();
    const QTime time = when.time();
    QString text;
    text.reserve(24);
    AppendTwoDigits(text, date.day());
    text += u'.';
    AppendTwoDigits(text, date.month());
    text += u'.';
    text += QString::number(date.year()).rightJustified(4, u'0');
    text += u' ';
    AppendTwoDigits(text, time.hour());
    text += separator;
    AppendTwoDigits(text, time.minute());
    text += separator;
    AppendTwoDigits(text, time.second());
    if (millis) {
        text += u'.';
        text += QString::number(time.msec()).rightJustified(3, u'0');
    }
    return text;
}

} // namespace

QChar LocaleTimeSeparator() {
    const QString format = QLocale().timeFormat(QLocale::ShortFormat);
    qsizetype at = format.indexOf(u'h', 0, Qt::CaseInsensitive);
    if (at < 0)
        return u':';
    while (at < format.size() && (format[at] == u'h' || format[at] == u'H'))
        ++at;
    if (at < format.size() && !format[at].isLetterOrNumber() && !format[at].isSpace() &&
        format[at] != u'\'')
        return format[at];
    return u':';
}

QString DayAndTimeText(const QDateTime& when, QChar timeSeparator) {
    return DayAndTime(when, timeSeparator, false);
}

QString DayAndTimeTextMs(const QDateTime& when, QChar timeSeparator) {
    return DayAndTime(when, timeSeparator, true);
}

QString ClockText(const QDateTime& when, QChar timeSeparator) {
    const QTime time = when.time();
    QString text;
    text.reserve(8);
    AppendTwoDigits(text, time.hour());
    text += timeSeparator;
    AppendTwoDigits(text, time.minute());
    text += timeSeparator;
    AppendTwoDigits(text, time.second());
    return text;
}
