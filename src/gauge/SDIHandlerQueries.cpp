// Gauge handler: the generic text query, the information queries and the
// configuration getters.

#include "gauge/ReplyParsing.h"
#include "gauge/SDIHandler.h"
#include "link/SDI12IO.h"

namespace {
constexpr std::uint32_t QueryTimeoutMs = 300;
}

std::string TSDIHandler::QueryText(const std::string& command) {
    if (!Connected)
        return {};
    std::string reply;
    if (SDI12IO::SdiTransaction(command, reply, QueryTimeoutMs) != 0)
        return {};
    return GaugeReply::Content(reply);
}

int TSDIHandler::QueryInteger(const std::string& command, bool exactlyOneCharacter, int failure) {
    const std::string content = QueryText(Address + command);
    if (content.empty() || (exactlyOneCharacter && content.size() != 1))
        return failure;
    int value = 0;
    return GaugeReply::ParseInteger(content, value) ? value : failure;
}

std::string TSDIHandler::GetHardwareIndex() {
    std::string index = QueryText(Address + "OOB!");
    if (!index.empty())
        knownHardwareIndex_ = index;
    return index;
}
std::string TSDIHandler::GetSerialNumber() {
    return QueryText(Address + "OOS!");
}
std::string TSDIHandler::GetFirmwareVersion() {
    std::string version = QueryText(Address + "OOV!");
    if (!version.empty())
        knownFirmwareVersion_ = version;
    return version;
}
std::string TSDIHandler::GetLastConfigurationDate() {
    return QueryText(Address + "ODC!");
}
std::string TSDIHandler::GetLastFirmwareUpdateDate() {
    return QueryText(Address + "ODF!");
}
std::string TSDIHandler::GetHeatingSwitchTime() {
    return QueryText(Address + "OCHZ!");
}

int TSDIHandler::GetGaugeType() {
    return QueryInteger("OCB!", true, -1);
}
int TSDIHandler::GetTemperatureUnit() {
    return QueryInteger("OUT!", true, -1);
}
int TSDIHandler::GetIntensityUnit() {
    return QueryInteger("OUI!", true, -1);
}
int TSDIHandler::GetHeatingMode() {
    return QueryInteger("OCH!", true, -1);
}
int TSDIHandler::GetCommunicationInterface() {
    return QueryInteger("OCL!", true, -1);
}
int TSDIHandler::GetProtocolType() {
    return QueryInteger("OCM!", true, -1);
}
int TSDIHandler::GetImpulseFrequency() {
    return QueryInteger("OCI!", true, -1);
}
int TSDIHandler::GetImpulseFactor() {
    return QueryInteger("OSI!", true, -1);
}
int TSDIHandler::GetHeatingTemperature() {
    return QueryInteger("OCHS!", false, -1);
}
int TSDIHandler::GetHeatingDuration() {
    return QueryInteger("OCHD!", false, -1);
}
int TSDIHandler::GetHeatingSelfTest() {
    return QueryInteger("OCHT!", false, -1);
}
int TSDIHandler::GetAsciiBaudRate() {
    return QueryInteger("OCR!", false, -1);
}
int TSDIHandler::GetHeatingThreshold() {
    return QueryInteger("OCHG!", false, ThresholdFailure);
}
