// clock get | set TIME | sync, reset-total, factory-reset [--heating on|off].

#include "cli/CliCommands.h"
#include "cli/CliConfiguration.h"
#include "cli/CliSession.h"
#include "config/GaugeSettings.h"
#include "service/DeviceClock.h"
#include "service/ServiceActions.h"
#include "ui/GaugeVocabulary.h"
#include "ui/WideLanguageHandler.h"

#include <QDateTime>

namespace {

constexpr int NoAnswerText = 810;
constexpr int NotConfirmedText = 811;
constexpr int HeatingAlwaysOnText = 813;
constexpr int NotATimeText = 809;
constexpr int WrittenText = 822;
const QString TimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

// The gauge's time as it gives it; invalid when it does not.
QDateTime GaugeTime(DeviceClock& clock) {
    const ClockReading reading = clock.Read();
    return reading.outcome == ClockReading::Outcome::Valid ? reading.when : QDateTime();
}

// Sets the gauge's clock to when, or with synchronised to the computer's
// time. The gauge's time is read before and after, for the logbook.
int SetClock(CliSession& session, const QDateTime& when, bool synchronised) {
    DeviceClock clock(&session.Gauge());
    const QDateTime before = GaugeTime(clock);
    const QDateTime target = synchronised ? QDateTime::currentDateTime() : when;
    const std::string text = DeviceClockText(target.date(), target.time());
    if (!clock.Write(text))
        return session.Fail(ExitNoAnswer, TimeNotSetMessage(text));
    clock.Report(synchronised, before, GaugeTime(clock));
    session.Out() << QString::fromStdString(text) << Qt::endl;
    return ExitSuccess;
}

} // namespace

int RunClock(CliSession& session, const QStringList& arguments) {
    const QString action = arguments.value(0);
    if (action == QLatin1String("get") && arguments.size() == 1) {
        if (const int failed = session.ConnectGauge())
            return failed;
        const ClockReading reading = DeviceClock(&session.Gauge()).Read();
        switch (reading.outcome) {
        case ClockReading::Outcome::NoReply:
            return session.Fail(ExitNoAnswer, GetText(NoAnswerText));
        case ClockReading::Outcome::Invalid:
            return session.Fail(ExitNoAnswer, InvalidTimeMessage(reading.parts).trimmed());
        case ClockReading::Outcome::Valid:
            break;
        }
        session.Out() << reading.when.toString(TimeFormat) << Qt::endl;
        return ExitSuccess;
    }
    if (action == QLatin1String("set") && arguments.size() == 2) {
        const QDateTime when = QDateTime::fromString(arguments[1], TimeFormat);
        if (!when.isValid())
            return session.Fail(ExitBadInput, GetText(NotATimeText).arg(arguments[1]));
        if (const int failed = session.ConnectGauge())
            return failed;
        return SetClock(session, when, false);
    }
    if (action == QLatin1String("sync") && arguments.size() == 1) {
        if (const int failed = session.ConnectGauge())
            return failed;
        return SetClock(session, QDateTime(), true);
    }
    return WrongArguments(session, "clock");
}

int RunResetTotal(CliSession& session, const QStringList& arguments) {
    if (!arguments.isEmpty())
        return WrongArguments(session, "reset-total");
    if (const int failed = session.ConnectGauge())
        return failed;
    switch (Service::ResetAccumulatedTotal(session.Gauge())) {
    case Service::Outcome::Refused:
        return ExitBadInput;
    case Service::Outcome::Failed:
        return ExitNoAnswer;
    case Service::Outcome::Done:
        break;
    }
    return ExitSuccess;
}

int RunFactoryReset(CliSession& session, const QStringList& arguments) {
    if (!arguments.isEmpty())
        return WrongArguments(session, "factory-reset");
    if (const int failed = session.ConnectGauge())
        return failed;
    const int model = session.Model();
    std::optional<bool> heating = session.Options().heating;
    // Only the Tessra2 asks; the others' factory settings heat.
    if (!Config::FactoryAsksHeating(model) && heating == false)
        return session.Fail(ExitBadInput,
                            GetText(HeatingAlwaysOnText).arg(Vocabulary::ModelName(model)));
    ParameterSet factory = Service::FactoryParameters(model, ParameterSet{});
    if (!Service::ConfirmFactoryReset(session.Gauge(), model, factory, heating))
        return ExitBadInput;
    // As the service area does: the configuration area opened, then the set written.
    CliConfiguration configuration(session.Gauge());
    configuration.Read(model);
    configuration.Write(factory, true);
    const QStringList failed = configuration.FailedKeys();
    if (!failed.isEmpty())
        return session.Fail(ExitNoAnswer,
                            GetText(NotConfirmedText).arg(failed.join(QStringLiteral(", "))));
    Service::ReportFactoryReset(session.Gauge(), heating);
    session.Say(GetText(WrittenText));
    return ExitSuccess;
}
