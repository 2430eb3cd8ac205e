#include "config/ConfigurationSequence.h"

#include "gauge/SDIHandler.h"

namespace Config {

namespace {
// Lowest value of GetHeatingThreshold that is not its failure value.
constexpr int LowestThresholdReply = -9998;
} // namespace

ConfigurationSequence::ConfigurationSequence(TSDIHandler& gauge, ParameterRows& rows,
                                             ConfigurationView& view)
    : gauge_(gauge), rows_(rows), view_(view) {}

int ConfigurationSequence::ReadBaud() {
    return gauge_.GetAsciiBaudRate();
}

void ConfigurationSequence::Prepare(int model) {
    rows_.SetModel(model);
    rows_.ConfigurationRead = false;
    rows_.HideMarks();
    rows_.HideAllRows();
    rows_.PrepareLists();
    rows_.EnableAllRows();
    const bool impulseFactor = model == 0 ? gauge_.SupportsImpulseFactor(0) : true;
    rows_.ShowRowsOfModel(impulseFactor);
}

bool ConfigurationSequence::Read(const ReadProgress& goOn) {
    // Each setting's step ends here: reported, then asked whether to go on.
    // Stopped, the read ends as a read that did not complete.
    const auto done = [&](Row row, bool answered) {
        Report(row);
        if (!goOn || goOn(row, answered))
            return false;
        rows_.EnableAllRows();
        view_.TransferFinished();
        return true;
    };
    rows_.HideMarks();
    view_.TransferStarting();
    const int model = rows_.Model();

    const std::string address = gauge_.ReadAddress();
    rows_.ApplyBusAddress(QString::fromStdString(address), !address.empty());
    if (done(BusAddressRow, !address.empty()))
        return false;

    int value = gauge_.GetCommunicationInterface();
    rows_.ApplyInterface(value, value != -1);
    if (done(InterfaceRow, value != -1))
        return false;

    value = gauge_.GetProtocolType();
    rows_.ApplyProtocolCode(value, value >= 0, [this] { return ReadBaud(); });
    if (done(ProtocolRow, value >= 0))
        return false;

    value = gauge_.GetTemperatureUnit();
    rows_.ApplyListValue(TemperatureUnitRow, value, value != -1);
    if (done(TemperatureUnitRow, value != -1))
        return false;

    value = gauge_.GetIntensityUnit();
    rows_.ApplyListValue(PrecipitationUnitRow, value, value != -1);
    if (done(PrecipitationUnitRow, value != -1))
        return false;

    value = gauge_.GetImpulseFrequency();
    rows_.ApplyListValue(ImpulseOutputRow, value, value != -1);
    if (done(ImpulseOutputRow, value != -1))
        return false;

    if (gauge_.SupportsImpulseFactor(model)) {
        value = gauge_.GetImpulseFactor();
        rows_.ApplyImpulseFactorCode(value, value >= 0);
        if (done(ImpulseFactorRow, value >= 0))
            return false;
    } else {
        ImpulseFactorUnanswered();
    }

    value = gauge_.GetHeatingMode();
    ApplyHeatingMode(value, value >= 0);
    if (done(HeatingModeRow, value >= 0))
        return false;

    value = gauge_.GetHeatingTemperature();
    rows_.ApplyNominalTemperature(value, value >= 0);
    if (done(NominalTemperatureRow, value >= 0))
        return false;

    if (model > 0) {
        value = gauge_.GetHeatingThreshold();
        rows_.ApplyThreshold(value, value >= LowestThresholdReply);
        if (done(ThresholdRow, value >= LowestThresholdReply))
            return false;

        const QString switchTime = QString::fromStdString(gauge_.GetHeatingSwitchTime());
        ApplySwitchTime(switchTime, !switchTime.isEmpty());
        if (done(SwitchTimeRow, !switchTime.isEmpty()))
            return false;

        value = gauge_.GetHeatingDuration();
        rows_.ApplyDuration(value, value >= 0);
        if (done(DurationRow, value >= 0))
            return false;

        value = gauge_.GetHeatingSelfTest();
        rows_.ApplySelfTest(value, value >= 0);
        if (done(SelfTestRow, value >= 0))
            return false;
    }

    rows_.EnableAllRows();
    rows_.ConfigurationRead = true;
    view_.TransferFinished();
    return true;
}

void ConfigurationSequence::Write(const ParameterSet& given, bool force) {
    // A copy: applying each step stores into the rows' own set, which may be given.
    const ParameterSet set = given;
    const int model = rows_.Model();
    rows_.HideMarks();
    view_.TransferStarting();

    bool ok = gauge_.ChangeAddress(set.BusAddress.toStdString());
    rows_.ApplyBusAddress(set.BusAddress, ok);
    Report(BusAddressRow);

    // "DWD Ombrometer" takes only the address and the protocol.
    const bool others = model == 0 || (model > 0 && set.ProtocolType < DwdPosition);
    if (others) {
        ok = gauge_.SetCommunicationInterface(set.CommunicationInterface);
        rows_.ApplyInterface(set.CommunicationInterface, ok);
        Report(InterfaceRow);
    }

    int code = set.ProtocolType;
    if (model == 0) {
        ok = gauge_.SetProtocolType(code);
    } else if (set.ProtocolType >= 1 && set.ProtocolType <= 7) {
        code = 1;
        ok = gauge_.SetProtocolType(code);
        if (ok)
            ok = gauge_.SetAsciiBaudRate(set.AsciiBaudIndex);
    } else if (set.ProtocolType == DwdPosition) {
        code = 2;
        ok = gauge_.SetProtocolType(code);
    } else {
        ok = gauge_.SetProtocolType(code);
    }
    rows_.ApplyProtocolCode(code, ok, [this] { return ReadBaud(); });
    Report(ProtocolRow);

    if (others) {
        ok = gauge_.SetTemperatureUnit(set.TemperatureUnit);
        rows_.ApplyListValue(TemperatureUnitRow, set.TemperatureUnit, ok);
        Report(TemperatureUnitRow);

        ok = gauge_.SetIntensityUnit(set.PrecipitationUnit);
        rows_.ApplyListValue(PrecipitationUnitRow, set.PrecipitationUnit, ok);
        Report(PrecipitationUnitRow);

        ok = gauge_.SetImpulseFrequency(set.ImpulseFrequency);
        rows_.ApplyListValue(ImpulseOutputRow, set.ImpulseFrequency, ok);
        Report(ImpulseOutputRow);

        if (gauge_.SupportsImpulseFactor(model)) {
            ok = gauge_.SetImpulseFactor(set.ImpulseFactor);
            rows_.ApplyImpulseFactorCode(set.ImpulseFactor, ok);
            Report(ImpulseFactorRow);
        } else {
            ImpulseFactorUnanswered();
        }

        ok = gauge_.SetHeatingMode(set.HeatingMode);
        ApplyHeatingMode(set.HeatingMode, ok);
        Report(HeatingModeRow);

        // Shown or hidden as the mode just written decides.
        if (rows_.Shown(NominalTemperatureRow) || force) {
            ok = gauge_.SetHeatingTemperature(set.HeatingTemperature);
            rows_.ApplyNominalTemperature(set.HeatingTemperature, ok);
            Report(NominalTemperatureRow);
        }
        if (model > 0) {
            if (rows_.Shown(ThresholdRow) || force) {
                ok = gauge_.SetHeatingThreshold(set.HeatingThreshold);
                rows_.ApplyThreshold(set.HeatingThreshold, ok);
                Report(ThresholdRow);
            }
            if (rows_.Shown(SwitchTimeRow) || force) {
                ok = gauge_.SetHeatingSwitchTime(set.HeatingSwitchTime.toStdString());
                ApplySwitchTime(set.HeatingSwitchTime, ok);
                Report(SwitchTimeRow);
            }
            if (rows_.Shown(DurationRow) || force) {
                ok = gauge_.SetHeatingDuration(set.HeatingDuration);
                rows_.ApplyDuration(set.HeatingDuration, ok);
                Report(DurationRow);
            }
            if (rows_.Shown(SelfTestRow) || force) {
                ok = gauge_.SetHeatingSelfTest(set.HeatingSelfTest);
                rows_.ApplySelfTest(set.HeatingSelfTest, ok);
                Report(SelfTestRow);
            }
        }
    }

    gauge_.SetLastConfigurationDate(QDateTime::currentDateTime());
    view_.TransferFinished();
}

void ConfigurationSequence::ApplySwitchTime(const QString& text, bool ok) {
    const bool applied = ok && rows_.ApplySwitchTimeText(text);
    if (ok)
        ShowGaugeClock();
    rows_.SetResult(SwitchTimeRow, applied);
}

void ConfigurationSequence::ImpulseFactorUnanswered() {
    // A shown row whose gauge gave no firmware version cannot be read or written.
    if (!rows_.Shown(ImpulseFactorRow))
        return;
    rows_.SetResult(ImpulseFactorRow, false);
    Report(ImpulseFactorRow);
}

void ConfigurationSequence::ShowGaugeClock() {
    rows_.ApplyGaugeClock(QString::fromStdString(gauge_.GetDeviceTime()));
}

bool ConfigurationSequence::ApplyHeatingMode(int mode, bool ok) {
    const bool applied = rows_.ApplyHeatingMode(mode, ok);
    // The switching time itself follows from the gauge, the write or the
    // file; a failure there must leave the time shown and stored as it was.
    if (applied && mode == HeatingNwsStandard && rows_.Model() > 0)
        ShowGaugeClock();
    return applied;
}

void ConfigurationSequence::ChooseHeatingMode(int index) {
    rows_.EditHeatingMode(index);
    if (index != HeatingNwsStandard || rows_.Model() <= 0)
        return;
    // The picker starts from the PC's time, and what it shows is what a write
    // sends; the row's mark is left as it is.
    rows_.ShowSwitchTimeNow(QDateTime::currentDateTime());
    ShowGaugeClock();
}

} // namespace Config
