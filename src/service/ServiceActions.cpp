#include "service/ServiceActions.h"

#include "config/GaugeSettings.h"
#include "gauge/SDIHandler.h"
#include "logbook/KnownGauge.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookEvents.h"
#include "ui/Dialogs.h"
#include "ui/GaugeVocabulary.h"
#include "ui/WideLanguageHandler.h"

namespace Service {

using Config::ModelSetting;
using Config::Setting;

namespace {

constexpr int ResetQuestionText = 208;
constexpr int ResetDoneText = 207;
constexpr int ResetFailedText = 206;
constexpr int FactoryQuestionText = 209;
constexpr int HeatingQuestionText = 515;

constexpr int MinutesText = 590; // "min"

// The text of a list entry by the code the gauge knows it by.
QString ListText(const ModelSetting& setting, int code) {
    for (const Config::Literal& literal : setting.literals)
        if (literal.code == code)
            return QString::fromLatin1(literal.text);
    return GetText(setting.firstText + code);
}

// How the factory confirmation shows a setting's value, as in "Heating mode: permanent".
QString Summary(const Setting& setting, const ModelSetting& onModel, const ParameterSet& set) {
    switch (setting.summary) {
    case Config::Summary::Text:
        return set.*setting.textField;
    case Config::Summary::ListText:
        return ListText(onModel, set.*setting.field);
    case Config::Summary::OwnTexts:
        return GetText(setting.summaryTexts + set.*setting.field);
    case Config::Summary::Temperature:
        return QString::number(set.*setting.field) +
               Vocabulary::TemperatureUnitText(set.TemperatureUnit);
    case Config::Summary::Minutes:
        break;
    }
    return QString::number(set.*setting.field) + GetText(MinutesText);
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
    for (const Setting& setting : Config::Settings()) {
        const ModelSetting* onModel = Config::OnModel(setting, model);
        if (onModel == nullptr)
            continue;
        if (setting.textField != nullptr && onModel->factoryText != nullptr)
            set.*setting.textField = QString::fromLatin1(onModel->factoryText);
        else if (setting.field != nullptr && onModel->factory)
            set.*setting.field = *onModel->factory;
    }
    // ASCII text goes back to its first baud rate with the protocol.
    if (Config::IsModel(model))
        set.AsciiBaudIndex = 0;
    return set;
}

QStringList FactoryLines(const ParameterSet& set, bool impulseFactor) {
    QStringList lines;
    for (const Setting& setting : Config::Settings()) {
        const ModelSetting* onModel = Config::OnModel(setting, set.Model);
        if (onModel == nullptr || (setting.firmwareDecides && !impulseFactor) ||
            (setting.listedOnlyWhenHeating && set.HeatingMode <= Config::HeatingDeactivated))
            continue;
        lines << GetText(setting.label) + QLatin1Char(' ') + Summary(setting, *onModel, set);
    }
    return lines;
}

bool ConfirmFactoryReset(TSDIHandler& gauge, int model, ParameterSet& factory,
                         std::optional<bool>& heating) {
    const bool impulseFactor = gauge.SupportsImpulseFactor(model);
    if (Config::FactoryAsksHeating(model)) {
        if (!heating)
            heating = ShowMessageDialog(GetText(HeatingQuestionText), MsgKind::Confirmation,
                                        MsgButtons::YesNo) == MsgResult::Yes;
        factory.HeatingMode = *heating ? Config::HeatingPermanent : Config::HeatingDeactivated;
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
