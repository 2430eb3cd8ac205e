#pragma once

// The gauge clock without widgets: reading the clock reply, building the
// clock text to set, and the read / write sequence of the clock panel. The
// panel (TTimeSetFrame) shows what this reports.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <string>

class TSDIHandler;

// One reading of the gauge clock.
struct ClockReading {
    enum class Outcome {
        NoReply, // empty reply: nothing changes
        Valid,   // six parts forming a valid date and time
        Invalid, // anything else: reported with text 603 and the parts
    };
    Outcome outcome = Outcome::NoReply;
    QDateTime when;    // Valid only
    QStringList parts; // the reply split at "-", ":" and "T"
};

// Splits a clock reply ("2015-02-12T10:11:12") at every "-", ":" and "T"
// and judges the parts.
ClockReading ParseDeviceClock(const std::string& reply);

// "YYYY-MM-DDTHH:NN:SS"
std::string DeviceClockText(const QDate& date, const QTime& time);

// Text 603 immediately followed by the parts, each followed by a line break.
QString InvalidTimeMessage(const QStringList& parts);
// Text 604 followed by the clock text.
QString TimeNotSetMessage(const std::string& clockText);

// Reads and writes the gauge clock through the gauge handler (may be null:
// then nothing is read and every write fails).
class DeviceClock {
public:
    explicit DeviceClock(TSDIHandler* gauge) : gauge_(gauge) {}

    ClockReading Read();
    // SetDeviceTime with the clock text; true when the gauge answered.
    bool Write(const std::string& clockText);
    // Keeps a clock set (to a chosen time) or synchronised (to the
    // computer's) in the logbook, with the gauge's time before and after as
    // it gave them (an invalid time: not known).
    void Report(bool synchronised, const QDateTime& before, const QDateTime& after) const;

private:
    TSDIHandler* gauge_;
};
