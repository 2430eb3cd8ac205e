// Gauge handler: configuration setters, the dates of the last configuration
// and firmware update, the gauge clock and the reset of the accumulated
// precipitation. Every write sits inside "OOE0!" ... "OOE1!".

#include "gauge/ReplyParsing.h"
#include "gauge/SDIHandler.h"
#include "link/CompilerQuirks.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"

namespace {

std::string Decimal(int n) {
    return std::to_string(n);
}

} // namespace

bool TSDIHandler::WriteSetting(const std::string& command, std::uint32_t timeoutMs,
                               const std::vector<std::string>& acceptedContents) {
    std::vector<std::string> acceptedLines;
    acceptedLines.reserve(acceptedContents.size());
    for (const std::string& content : acceptedContents)
        acceptedLines.push_back(Address + content + std::string(GaugeReply::LineEnd));
    BeginConfigWrite();
    const bool ok = SendExpecting(command, timeoutMs, acceptedLines);
    // Completed in every case, so the gauge is never left inside a write.
    EndConfigWrite();
    return ok;
}

bool TSDIHandler::SetTemperatureUnit(int n) {
    return WriteSetting("OUT" + Decimal(n) + "!", 200, {Decimal(n)});
}

bool TSDIHandler::SetIntensityUnit(int n) {
    return WriteSetting("OUI" + Decimal(n) + "!", 300, {Decimal(n)});
}

bool TSDIHandler::SetHeatingMode(int n) {
    return WriteSetting("OCH" + Decimal(n) + "!", 900, {Decimal(n)});
}

bool TSDIHandler::SetCommunicationInterface(int n) {
    return WriteSetting("OCL" + Decimal(n) + "!", 300, {Decimal(n)});
}

bool TSDIHandler::SetProtocolType(int n) {
    D2XXDriver::PurgeRx();
    D2XXDriver::PurgeTx();
    return WriteSetting("OCM" + Decimal(n) + "!", 300, {Decimal(n)});
}

bool TSDIHandler::SetImpulseFrequency(int n) {
    return WriteSetting("OCI" + Decimal(n) + "!", 300, {Decimal(n)});
}

bool TSDIHandler::SetImpulseFactor(int n) {
    return WriteSetting("OSI" + Decimal(n) + "!", 250, {Decimal(n)});
}

// The gauge echoes these values with or without their sign.
STRING_CONCAT_RESTRICT_BEGIN
bool TSDIHandler::SetHeatingTemperature(int n) {
    return WriteSetting("OCHS+" + Decimal(n) + "!", 2500, {"+" + Decimal(n), Decimal(n)});
}

bool TSDIHandler::SetHeatingThreshold(int n) {
    return WriteSetting("OCHG" + Decimal(n) + "!", 250, {Decimal(n), "+" + Decimal(n)});
}
STRING_CONCAT_RESTRICT_END

bool TSDIHandler::SetHeatingSwitchTime(const std::string& text) {
    return WriteSetting("OCHZ" + text + "!", 250, {text});
}

bool TSDIHandler::SetHeatingDuration(int n) {
    return WriteSetting("OCHD" + Decimal(n) + "!", 250, {Decimal(n)});
}

bool TSDIHandler::SetHeatingSelfTest(int n) {
    return WriteSetting("OCHT" + Decimal(n) + "!", 250, {Decimal(n)});
}

bool TSDIHandler::SetAsciiBaudRate(int n) {
    return WriteSetting("OCR" + Decimal(n) + "!", 250, {Decimal(n)});
}

std::string TSDIHandler::FormatDateTime(const QDateTime& when) {
    if (!when.isValid())
        return {};
    return when.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")).toStdString();
}

bool TSDIHandler::SetLastConfigurationDate(const QDateTime& when) {
    const std::string stamp = FormatDateTime(when);
    // Without a date the command would be the date query, not a write.
    if (stamp.empty())
        return false;
    return WriteSetting("ODC" + stamp + "!", 250, {stamp});
}

bool TSDIHandler::SetLastFirmwareUpdateDate(const QDateTime& when) {
    const std::string stamp = FormatDateTime(when);
    if (stamp.empty())
        return false;
    // Used right after a firmware transfer: the adapter runs at the transfer
    // speed and the gauge has restarted, so reconnect and learn its address.
    // The adapter is the one just updated: with several present, the user
    // is not asked again (and cannot pick another gauge by mistake).
    Reconnect();
    Address = ReadAddress();
    return WriteSetting("ODF" + stamp + "!", 250, {stamp});
}

std::string TSDIHandler::GetDeviceTime() {
    if (!Connected)
        return {};
    std::string reply;
    // A line that never ended would give a cut-off time.
    if (!Send("OTM!", 200, reply) || !GaugeReply::EndsWithLineEnd(reply))
        return {};
    const std::string time = GaugeReply::RemoveLineEnds(reply);
    return time.size() > 1 ? time.substr(1) : std::string();
}

bool TSDIHandler::SetDeviceTime(const std::string& text) {
    if (!Connected && !Connect())
        return false;
    BeginConfigWrite();
    std::string reply;
    const bool answered = Send("OTM" + text + "!", 800, reply);
    EndConfigWrite();
    return answered;
}

bool TSDIHandler::ResetAccumulatedPrecipitation() {
    if (!BeginConfigWrite())
        return false;
    const std::string content = QueryText(Address + "OMR!");
    EndConfigWrite();
    return content == "1";
}
