#include "service/DeviceClock.h"

#include "gauge/SDIHandler.h"
#include "logbook/KnownGauge.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookEvents.h"
#include "ui/WideLanguageHandler.h"

#include <array>

namespace {

constexpr int InvalidTimeTextId = 603;
constexpr int TimeNotSetTextId = 604;

// One part of the clock reply as a decimal number; -1 when it is not one.
int PartNumber(const QString& part) {
    if (part.isEmpty())
        return -1;
    for (const QChar c : part)
        if (!c.isDigit() || c.unicode() > '9')
            return -1;
    bool ok = false;
    const int value = part.toInt(&ok);
    return ok ? value : -1;
}

QString LogbookTime(const QDateTime& when) {
    return when.isValid() ? when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) : QString();
}

} // namespace

ClockReading ParseDeviceClock(const std::string& reply) {
    ClockReading reading;
    if (reply.empty())
        return reading;
    QString text = QString::fromLatin1(reply.data(), static_cast<qsizetype>(reply.size()));
    for (QChar& c : text)
        if (c == u'-' || c == u':' || c == u'T')
            c = u'\n';
    // Split as a list of lines: a break at the very end does not start a new part.
    reading.parts = text.split(u'\n');
    if (text.endsWith(u'\n'))
        reading.parts.removeLast();

    reading.outcome = ClockReading::Outcome::Invalid;
    if (reading.parts.size() != 6)
        return reading;
    std::array<int, 6> numbers{};
    for (int i = 0; i < 6; ++i) {
        numbers[static_cast<std::size_t>(i)] = PartNumber(reading.parts[i]);
        if (numbers[static_cast<std::size_t>(i)] < 0)
            return reading;
    }
    const QDate date(numbers[0], numbers[1], numbers[2]);
    const QTime time(numbers[3], numbers[4], numbers[5]);
    if (!date.isValid() || !time.isValid())
        return reading;
    reading.when = QDateTime(date, time);
    reading.outcome = ClockReading::Outcome::Valid;
    return reading;
}

std::string DeviceClockText(const QDate& date, const QTime& time) {
    return (date.toString(QStringLiteral("yyyy-MM-dd")) + u'T' +
            time.toString(QStringLiteral("HH:mm:ss")))
        .toStdString();
}

QString InvalidTimeMessage(const QStringList& parts) {
    QString message = GetText(InvalidTimeTextId);
    for (const QString& part : parts)
        message += part + u'\n';
    return message;
}

QString TimeNotSetMessage(const std::string& clockText) {
    return GetText(TimeNotSetTextId) + QString::fromStdString(clockText);
}

ClockReading DeviceClock::Read() {
    if (gauge_ == nullptr)
        return {};
    return ParseDeviceClock(gauge_->GetDeviceTime());
}

bool DeviceClock::Write(const std::string& clockText) {
    if (gauge_ == nullptr)
        return false;
    return gauge_->SetDeviceTime(clockText);
}

void DeviceClock::Report(bool synchronised, const QDateTime& before, const QDateTime& after) const {
    if (gauge_ == nullptr)
        return;
    const GaugeIdentity gauge = KnownGauge(*gauge_);
    ReportToLogbook(synchronised
                        ? GaugeClockSynchronised(gauge, LogbookTime(before), LogbookTime(after))
                        : GaugeClockSet(gauge, LogbookTime(before), LogbookTime(after)));
}
