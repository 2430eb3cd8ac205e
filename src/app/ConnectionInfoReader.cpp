#include "app/ConnectionInfoReader.h"

#include "gauge/SDIHandler.h"
#include "link/ByteText.h"
#include "link/Clock.h"
#include "logbook/KnownGauge.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookEvents.h"
#include "ui/GaugeVocabulary.h"
#include "ui/WideLanguageHandler.h"

#include <QJsonObject>

namespace {

constexpr double MarkPauseMs = 20.0;
constexpr double RowPauseMs = 10.0;
const std::string NoSerialNumber = "000000000";

// 0 deactivated ... 4 precipitation events (texts 60 to 64).
constexpr int HighestHeatingMode = 4;

QString Trimmed(const std::string& text) {
    return Latin1Text(text).trimmed();
}

InfoReading TextRow(const std::string& text) {
    if (text.empty())
        return {};
    return {true, Latin1Text(text)};
}

} // namespace

std::vector<InfoRow> InfoRowsForModel(int model) {
    std::vector<InfoRow> rows;
    if (model < 0 || model > 2)
        return rows;
    rows = {InfoRow::SerialAndIndex,     InfoRow::FirmwareVersion, InfoRow::LastConfiguration,
            InfoRow::LastFirmwareUpdate, InfoRow::GaugeType,       InfoRow::HeatingTemperature,
            InfoRow::HeatingMode};
    if (model != 0)
        rows.push_back(InfoRow::DeviceTime);
    return rows;
}

int InfoRowCaptionId(InfoRow row) {
    switch (row) {
    case InfoRow::SerialAndIndex:
        return 19;
    case InfoRow::FirmwareVersion:
        return 18;
    case InfoRow::LastConfiguration:
        return 17;
    case InfoRow::LastFirmwareUpdate:
        return 44;
    case InfoRow::GaugeType:
        return 49;
    case InfoRow::HeatingTemperature:
        return 24;
    case InfoRow::HeatingMode:
        return 23;
    case InfoRow::DeviceTime:
        return 560;
    }
    return 0;
}

InfoReading ReadInfoRow(TSDIHandler& gauge, InfoRow row) {
    switch (row) {
    case InfoRow::SerialAndIndex: {
        const QString serial = Trimmed(gauge.GetSerialNumber());
        const QString index = Latin1Text(gauge.GetHardwareIndex());
        if (serial.isEmpty() || index.isEmpty() || serial.toStdString() == NoSerialNumber)
            return {};
        return {true, serial + QStringLiteral(" / ") + index};
    }
    case InfoRow::FirmwareVersion:
        return TextRow(gauge.GetFirmwareVersion());
    case InfoRow::LastConfiguration:
        return TextRow(gauge.GetLastConfigurationDate());
    case InfoRow::LastFirmwareUpdate:
        return TextRow(gauge.GetLastFirmwareUpdateDate());
    case InfoRow::GaugeType: {
        const int code = gauge.GetGaugeType();
        if (!Vocabulary::IsGaugeType(code))
            return {};
        return {true, Vocabulary::GaugeTypeText(code)};
    }
    case InfoRow::HeatingTemperature: {
        const int degrees = gauge.GetHeatingTemperature();
        const int unit = gauge.GetTemperatureUnit();
        // Only °C (0) and °F (1) exist; any other code would name a foreign text.
        if (degrees < 0 || unit < 0 || unit > 1)
            return {};
        return {true, QString::number(Vocabulary::DisplayedTemperature(degrees, unit)) + u' ' +
                          Vocabulary::TemperatureUnitText(unit)};
    }
    case InfoRow::HeatingMode: {
        const int mode = gauge.GetHeatingMode();
        if (mode < 0 || mode > HighestHeatingMode)
            return {};
        return {true, Vocabulary::HeatingModeText(mode)};
    }
    case InfoRow::DeviceTime:
        return TextRow(gauge.GetDeviceTime());
    }
    return {};
}

namespace {

// The rows' names in the logbook's details; they are stored, so they never change.
QString LogbookName(InfoRow row) {
    switch (row) {
    case InfoRow::SerialAndIndex:
        return QStringLiteral("serial-and-index");
    case InfoRow::FirmwareVersion:
        return QStringLiteral("firmware-version");
    case InfoRow::LastConfiguration:
        return QStringLiteral("last-configuration");
    case InfoRow::LastFirmwareUpdate:
        return QStringLiteral("last-firmware-update");
    case InfoRow::GaugeType:
        return QStringLiteral("gauge-type");
    case InfoRow::HeatingTemperature:
        return QStringLiteral("heating-temperature");
    case InfoRow::HeatingMode:
        return QStringLiteral("heating-mode");
    case InfoRow::DeviceTime:
        return QStringLiteral("device-time");
    }
    return {};
}

} // namespace

void ReportConnection(const TSDIHandler& gauge, const InfoReadings& readings) {
    QJsonObject status;
    for (const auto& [row, reading] : readings)
        status.insert(LogbookName(row), reading.ok ? QJsonValue(reading.value) : QJsonValue());
    ReportToLogbook(GaugeConnected(KnownGauge(gauge), Latin1Text(gauge.Identification()), status));
}

bool ConnectionInfoReader::GaugeStillThere() {
    return gauge_.Connected && gauge_.IsPortAlive();
}

bool ConnectionInfoReader::ReadInfos(const std::vector<InfoRow>& rows, int shownModel) {
    Clock& clock = TheClock();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        view_.HideRowMark(i);
        clock.SleepMs(MarkPauseMs);
    }
    bool everyRowRead = true;
    InfoReadings readings;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (view_.RowsReplaced() || !GaugeStillThere())
            return false;
        if (!view_.RowShown(i)) {
            everyRowRead = false;
            continue;
        }
        if (rows[i] == InfoRow::DeviceTime && shownModel == 0)
            continue;
        const InfoReading reading = ReadInfoRow(gauge_, rows[i]);
        if (view_.RowsReplaced())
            return false;
        view_.ShowRowResult(i, reading);
        readings.emplace_back(rows[i], reading);
        view_.ProcessMessages();
        clock.SleepMs(RowPauseMs);
    }
    if (view_.RowsReplaced())
        return false;
    ReportConnection(gauge_, readings);
    return everyRowRead;
}
