#include "service/ServiceActions.h"

#include "gauge/SDIHandler.h"
#include "logbook/KnownGauge.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookEvents.h"
#include "ui/Dialogs.h"
#include "ui/GaugeVocabulary.h"
#include "ui/WideLanguageHandler.h"

namespace Service {

namespace {

constexpr int ResetQuestionText = 208;
constexpr int ResetDoneText = 207;
constexpr int ResetFailedText = 206;
constexpr int FactoryQuestionText = 209;
constexpr int HeatingQuestionText = 515;

// "label value", as the confirmation lists each setting.
QString Line(int labelTextId, const QString& value) {
    return GetText(labelTextId) + QLatin1Char(' ') + value;
}

} // namespace

Outcome ResetAccumulatedTotal(TSDIHandler& gauge) {
    if (ShowMessageDialog(GetText(ResetQuestionText), MsgKind::Confirmation, MsgButtons::YesNo) !=
        MsgResult::Yes)
        return Outcome::Refused;
    const bool reset = gauge.ResetAccumulatedPrecipitation();
    if (reset)
        ReportToLogbook(GaugeTotalReset(KnownGauge(gauge)));
    ShowMessageDialog(GetText(reset ? ResetDoneText : ResetFailedText), MsgKind::Information,
                      MsgButtons::Ok);
    return reset ? Outcome::Done : Outcome::Failed;
}

ParameterSet FactoryParameters(int model, const ParameterSet& previous) {
    ParameterSet set = previous;
    set.Model = model;
    if (model < 0 || model > 2)
        return set;
    set.BusAddress = QStringLiteral("0");
    set.CommunicationInterface = 0;
    set.ProtocolType = 0;
    set.TemperatureUnit = 0;
    set.PrecipitationUnit = 0;
    set.ImpulseFrequency = 0;
    set.ImpulseFactor = 1;
    set.HeatingMode = 1;
    set.AsciiBaudIndex = 0;
    if (model == 0) {
        set.HeatingTemperature = 4;
    } else {
        set.HeatingTemperature = 5;
        set.HeatingThreshold = -30;
        set.HeatingSwitchTime = QStringLiteral("00:00:00");
        set.HeatingDuration = 20;
        set.HeatingSelfTest = 60;
    }
    return set;
}

QStringList FactoryLines(const ParameterSet& set, bool impulseFactor) {
    const QString unit = Vocabulary::TemperatureUnitText(set.TemperatureUnit);
    const QString minutes = GetText(590);
    QStringList lines;
    lines << Line(48, set.BusAddress);
    lines << Line(25, GetText(65 + set.CommunicationInterface));
    lines << Line(26, GetText(68 + set.ProtocolType));
    lines << Line(21, unit);
    lines << Line(22, Vocabulary::IntensityUnitText(set.PrecipitationUnit));
    lines << Line(27, GetText(75 + set.ImpulseFrequency));
    if (impulseFactor)
        lines << Line(108, GetText(529 + set.ImpulseFactor));
    lines << Line(23, Vocabulary::HeatingModeText(set.HeatingMode));
    if (set.HeatingMode > 0)
        lines << Line(24, QString::number(set.HeatingTemperature) + unit);
    if (set.Model > 0) {
        lines << Line(561, QString::number(set.HeatingThreshold) + unit);
        lines << Line(562, set.HeatingSwitchTime);
        lines << Line(563, QString::number(set.HeatingDuration) + minutes);
        lines << Line(564, QString::number(set.HeatingSelfTest) + minutes);
    }
    return lines;
}

bool ConfirmFactoryReset(TSDIHandler& gauge, int model, ParameterSet& factory,
                         std::optional<bool>& heating) {
    const bool impulseFactor = gauge.SupportsImpulseFactor(model);
    if (model == 0) {
        if (!heating)
            heating = ShowMessageDialog(GetText(HeatingQuestionText), MsgKind::Confirmation,
                                        MsgButtons::YesNo) == MsgResult::Yes;
        factory.HeatingMode = *heating ? 1 : 0;
    } else {
        heating.reset();
    }
    QString question = GetText(FactoryQuestionText) + QLatin1Char('\n');
    for (const QString& line : FactoryLines(factory, impulseFactor))
        question += line + QLatin1Char('\n');
    return ShowMessageDialog(question, MsgKind::Confirmation, MsgButtons::YesNo) == MsgResult::Yes;
}

void ReportFactoryReset(const TSDIHandler& gauge, std::optional<bool> heating) {
    ReportToLogbook(GaugeFactoryReset(KnownGauge(gauge), heating));
}

} // namespace Service
