#include "config/ConfigurationSequence.h"

#include "config/ConfigurationFile.h"
#include "gauge/SDIHandler.h"
#include "logbook/KnownGauge.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookEvents.h"

namespace Config {

ConfigurationSequence::ConfigurationSequence(TSDIHandler& gauge, ParameterRows& rows,
                                             ConfigurationView& view)
    : gauge_(gauge), rows_(rows), view_(view) {}

void ConfigurationSequence::Prepare(int model) {
    rows_.SetModel(model);
    rows_.ConfigurationRead = false;
    rows_.HideMarks();
    rows_.HideAllRows();
    rows_.PrepareLists();
    rows_.EnableAllRows();
    // Model 0 shows the impulse factor only when its firmware offers it.
    const bool offered =
        !rows_.HiddenUnlessOffered(ImpulseFactorRow) || gauge_.SupportsImpulseFactor(model);
    rows_.ShowRowsOfModel(offered);
}

bool ConfigurationSequence::Read(const ReadProgress& goOn) {
    // Each setting's step ends here: reported, then asked whether to go on.
    // Stopped, the read ends as a read that did not complete.
    const auto stopped = [&](Row row, bool answered) {
        Report(row);
        if (!goOn || goOn(row, answered))
            return false;
        rows_.EnableAllRows();
        view_.TransferFinished();
        return true;
    };
    rows_.HideMarks();
    view_.TransferStarting();
    for (const Setting& setting : Settings()) {
        if (!rows_.Exists(setting.row) || !Offered(setting))
            continue;
        if (stopped(setting.row, ReadSetting(setting)))
            return false;
    }
    rows_.EnableAllRows();
    rows_.ConfigurationRead = true;
    gaugeValues_ = ConfigurationValues(rows_);
    ReportToLogbook(ConfigurationRead(KnownGauge(gauge_), gaugeValues_));
    view_.TransferFinished();
    return true;
}

bool ConfigurationSequence::ReadSetting(const Setting& setting) {
    if (setting.getText != nullptr) {
        const QString text = QString::fromStdString((gauge_.*setting.getText)());
        ApplyText(setting.row, text, !text.isEmpty());
        return !text.isEmpty();
    }
    const int value = (gauge_.*setting.get)();
    const bool answered = value > setting.failure;
    ApplyValue(setting.row, value, answered);
    return answered;
}

void ConfigurationSequence::Write(const ParameterSet& given, bool force) {
    // A copy: applying each step stores into the rows' own set, which may be given.
    const ParameterSet set = given;
    rows_.HideMarks();
    view_.TransferStarting();
    // "DWD Ombrometer" takes only the address and the protocol.
    const bool dwd = rows_.IsDwd(set);
    for (const Setting& setting : Settings()) {
        if (!rows_.Exists(setting.row) || (dwd && setting.dwd != Dwd::Takes))
            continue;
        // Shown or hidden as the mode just written decides.
        if (setting.shown == Shown::ByHeatingMode && !rows_.Shown(setting.row) && !force)
            continue;
        if (!Offered(setting))
            continue;
        WriteSetting(setting, set);
        Report(setting.row);
    }
    gauge_.SetLastConfigurationDate(QDateTime::currentDateTime());
    KeepWrite();
    view_.TransferFinished();
}

void ConfigurationSequence::KeepWrite() {
    const QJsonObject written = ConfigurationValues(rows_);
    std::vector<SettingChange> changes;
    for (auto key = written.begin(); key != written.end(); ++key) {
        const QString before = gaugeValues_.value(key.key()).toString();
        if (before != key.value().toString())
            changes.push_back({key.key(), before, key.value().toString()});
    }
    gaugeValues_ = written;
    ReportToLogbook(ConfigurationWritten(KnownGauge(gauge_), changes));
}

bool ConfigurationSequence::WriteSetting(const Setting& setting, const ParameterSet& set) {
    if (setting.row == ProtocolRow)
        return WriteProtocol(set);
    if (setting.setText != nullptr) {
        const QString text = set.*setting.textField;
        const bool ok = (gauge_.*setting.setText)(text.toStdString());
        ApplyText(setting.row, text, ok);
        return ok;
    }
    const int value = set.*setting.field;
    const bool ok = (gauge_.*setting.set)(value);
    ApplyValue(setting.row, value, ok);
    return ok;
}

bool ConfigurationSequence::WriteProtocol(const ParameterSet& set) {
    std::optional<int> baud;
    const int code = rows_.ProtocolCodeOf(set, baud);
    bool ok = gauge_.SetProtocolType(code);
    // The baud rate only once the gauge took ASCII text; the outcome is
    // that of the last command sent.
    if (ok && baud)
        ok = gauge_.SetAsciiBaudRate(*baud);
    // The row shows what the gauge now holds (ASCII text asks for its baud rate).
    ApplyValue(ProtocolRow, code, ok);
    return ok;
}

bool ConfigurationSequence::Offered(const Setting& setting) {
    if (!setting.firmwareDecides || gauge_.SupportsImpulseFactor(rows_.Model()))
        return true;
    // A shown row whose gauge gave no firmware version cannot be read or written.
    if (rows_.Shown(setting.row)) {
        rows_.SetResult(setting.row, false);
        Report(setting.row);
    }
    return false;
}

bool ConfigurationSequence::ApplyValue(Row row, int value, bool ok) {
    if (row == ProtocolRow)
        return rows_.ApplyProtocolCode(value, ok, [this] { return gauge_.GetAsciiBaudRate(); });
    const bool applied = rows_.Apply(row, value, ok);
    // A mode that shows the switching time shows the gauge clock; the time
    // itself follows from its own step, and a failure there must leave the
    // time shown and stored as it was.
    if (applied && row == HeatingModeRow && rows_.Shown(SwitchTimeRow))
        ShowGaugeClock();
    return applied;
}

bool ConfigurationSequence::ApplyPosition(Row row, int position, bool ok) {
    if (row == ProtocolRow)
        return rows_.ApplyProtocolPosition(position, ok);
    const int code = rows_.CodeAt(row, position);
    return ApplyValue(row, code, ok && code >= 0);
}

bool ConfigurationSequence::ApplyText(Row row, const QString& text, bool ok) {
    if (SettingOf(row).kind != Control::Time)
        return rows_.ApplyBusAddress(text, ok);
    ApplySwitchTime(text, ok);
    return rows_.MarkOf(row) == Mark::Succeeded;
}

void ConfigurationSequence::ApplySwitchTime(const QString& text, bool ok) {
    const bool applied = ok && rows_.ApplySwitchTimeText(text);
    if (ok)
        ShowGaugeClock();
    rows_.SetResult(SwitchTimeRow, applied);
}

void ConfigurationSequence::ShowGaugeClock() {
    rows_.ApplyGaugeClock(QString::fromStdString(gauge_.GetDeviceTime()));
}

void ConfigurationSequence::Edit(Row row, int value) {
    if (row == HeatingModeRow)
        ChooseHeatingMode(value);
    else
        rows_.Edit(row, value);
}

void ConfigurationSequence::ChooseHeatingMode(int index) {
    rows_.Edit(HeatingModeRow, index);
    if (index != HeatingNwsStandard || !rows_.Shown(SwitchTimeRow))
        return;
    // The picker starts from the PC's time, and what it shows is what a write
    // sends; the row's mark is left as it is.
    rows_.ShowSwitchTimeNow(QDateTime::currentDateTime());
    ShowGaugeClock();
}

} // namespace Config
