// Gauge handler: link, address, identity, firmware level and operating modes.

#include "gauge/ReplyParsing.h"
#include "gauge/SDIHandler.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"

namespace {

constexpr std::uint8_t SdiWordLength = 7;
constexpr std::uint8_t EvenParity = 2;
constexpr std::uint8_t NoParity = 0;
constexpr std::uint8_t OneStopBit = 0;
constexpr std::uint8_t TransferWordLength = 8;
constexpr std::uint32_t FastTransferBaud = 115200;

} // namespace

bool TSDIHandler::Send(const std::string& command, std::uint32_t timeoutMs, std::string& reply) {
    return SDI12IO::SdiTransaction(Address + command, reply, timeoutMs) == 0;
}

bool TSDIHandler::SendExpecting(const std::string& command, std::uint32_t timeoutMs,
                                const std::vector<std::string>& acceptedLines) {
    std::string reply;
    if (!Send(command, timeoutMs, reply))
        return false;
    for (const std::string& accepted : acceptedLines)
        if (reply == accepted)
            return true;
    return false;
}

bool TSDIHandler::Connect() {
    Disconnect();
    SDI12IO::TInfoNodeArray adapters;
    int count = 0;
    SDI12IO::EnumerateAdapters(adapters, count);

    std::string serial;
    if (count > 1 && chooser_ != nullptr) {
        choosingAdapter_ = true;
        serial = chooser_->ChooseAdapterSerial();
        choosingAdapter_ = false;
    } else if (count == 1 && !adapters.empty())
        serial = adapters.front().Serial();
    if (!SDI12IO::IsProgramAdapter(serial)) {
        Connected = false;
        return false;
    }

    SDI12IO::OpenSdiPort(serial, SdiWordLength, EvenParity, OneStopBit);
    if (!SDI12IO::PortConnected)
        return false;
    Connected = true;
    return true;
}

bool TSDIHandler::Reconnect() {
    const std::string serial = SDI12IO::CurrentSerial;
    if (!SDI12IO::IsProgramAdapter(serial))
        return Connect();
    Disconnect();
    SDI12IO::OpenSdiPort(serial, SdiWordLength, EvenParity, OneStopBit);
    Connected = SDI12IO::PortConnected;
    return Connected;
}

void TSDIHandler::Disconnect() {
    SDI12IO::PortConnected = false;
    Connected = false;
    SDI12IO::CloseSdiPort();
}

bool TSDIHandler::IsPortAlive() {
    if (SDI12IO::IsPortResponsive())
        return true;
    // Still open, yet failing: the adapter went away under the program.
    if (D2XXDriver::Handle > 0 && lossListener_)
        lossListener_();
    return false;
}

std::string TSDIHandler::QueryAddress() {
    std::string reply;
    // The address query is the one command that carries no address.
    if (SDI12IO::SdiTransaction("?!", reply, 150) != 0)
        return {};
    // Exactly the address and CR LF; a noise byte never becomes the address
    // that every later command is sent to.
    if (reply.size() != 3 || reply.compare(1, 2, GaugeReply::LineEnd) != 0 ||
        !GaugeReply::IsAddressCharacter(reply[0]))
        return {};
    Address = reply.substr(0, 1);
    return Address;
}

std::string TSDIHandler::ReadAddress() {
    std::string reply;
    if (SDI12IO::SdiTransaction("?!", reply, 100) != 0 || reply.empty() ||
        !GaugeReply::IsAddressCharacter(reply[0]))
        return {};
    return reply.substr(0, 1);
}

bool TSDIHandler::ChangeAddress(const std::string& newAddress) {
    // Only a single valid address character makes a well-formed command.
    if (newAddress.size() != 1 || !GaugeReply::IsAddressCharacter(newAddress[0]))
        return false;
    BeginConfigWrite();
    const bool changed =
        SendExpecting("A" + newAddress + "!", 300, {newAddress + std::string(GaugeReply::LineEnd)});
    if (changed)
        Address = newAddress;
    // Goes to the new address after a successful change.
    EndConfigWrite();
    return changed;
}

int TSDIHandler::GetModel() {
    identification_.clear();
    askedSerial_.clear();
    serialAsked_ = false;
    knownHardwareIndex_.clear();
    knownFirmwareVersion_.clear();
    const int model = IdentifyModel();
    // A gauge that did not identify itself is taken for model 0, but that
    // is no knowledge about it.
    knownModel_ = identification_.empty() ? -1 : model;
    return model;
}

int TSDIHandler::IdentifyModel() {
    if (!Connected)
        Connect();
    if (!Connected)
        return ModelTessra2;
    std::string identification;
    if (!Send("I!", 200, identification))
        return ModelTessra2;
    identification_ = GaugeReply::Content(identification);
    if (identification.find("TESR2S") == std::string::npos &&
        identification.find("TESR2L") == std::string::npos)
        return ModelTessra2;
    std::string variant;
    if (Send("OZY!", 200, variant) && variant.size() >= 2 && variant[1] == '3')
        return ModelTessra2S;
    return ModelTessra2L;
}

std::string TSDIHandler::IdentifiedSerial() const {
    // SDI-12 version (2), vendor (8), sensor model (6), sensor version (3),
    // then the optional field, which the gauges fill with their serial number.
    constexpr std::size_t OptionalField = 19;
    if (identification_.size() <= OptionalField)
        return {};
    const std::string field = identification_.substr(OptionalField);
    const std::size_t first = field.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return field.substr(first, field.find_last_not_of(' ') - first + 1);
}

std::string TSDIHandler::GaugeSerialNumber() {
    std::string serial = IdentifiedSerial();
    if (!serial.empty())
        return serial;
    if (!serialAsked_) {
        serialAsked_ = true;
        askedSerial_ = GetSerialNumber();
    }
    return askedSerial_;
}

std::string TSDIHandler::KnownGaugeSerial() const {
    std::string serial = IdentifiedSerial();
    return serial.empty() ? askedSerial_ : serial;
}

bool TSDIHandler::SupportsImpulseFactor(int model) {
    const std::string versionText = GetFirmwareVersion();
    if (versionText.empty())
        return false;
    GaugeReply::FirmwareVersion version{FirmwareMajor, FirmwareMinor, FirmwarePatch};
    switch (GaugeReply::ParseFirmwareVersion(versionText, version)) {
    case GaugeReply::VersionParse::NotANumber:
        // An unreadable version says nothing about the gauge; the fields keep
        // their values and the setting is not offered.
        return false;
    case GaugeReply::VersionParse::TooFewParts:
        // Fields keep their values; for model 0 the version of an earlier
        // gauge must not decide.
        return model != ModelTessra2;
    case GaugeReply::VersionParse::Parsed:
        break;
    }
    FirmwareMajor = version.major;
    FirmwareMinor = version.minor;
    FirmwarePatch = version.patch;
    if (model != ModelTessra2)
        return true;
    return GaugeReply::OffersImpulseFactorOnModel0(version);
}

bool TSDIHandler::SetTransferRate(std::uint32_t baud) {
    const std::string command = baud < FastTransferBaud ? "OXU+0472!" : "OXU+0391!";
    const bool ok = SendExpecting(command, 300, {Address + std::string(GaugeReply::LineEnd)});
    SDI12IO::ReopenPort(baud, OneStopBit, NoParity, TransferWordLength);
    return ok;
}

bool TSDIHandler::ReadPending(std::string& text) {
    using namespace D2XXDriver;
    GetRxQueueStatus();
    if (RxQueueBytes == 0)
        return false;
    const std::uint32_t got = ReadToInBuffer(RxQueueBytes);
    for (std::uint32_t i = 0; i < got; ++i) {
        text.push_back(static_cast<char>(InBuffer[i]));
        InBuffer[i] = 0;
    }
    return true;
}

bool TSDIHandler::BeginConfigWrite() {
    return SendExpecting("OOE0!", 200, {Address + "0" + std::string(GaugeReply::LineEnd)});
}

bool TSDIHandler::EndConfigWrite() {
    return SendExpecting("OOE1!", 200, {Address + "1" + std::string(GaugeReply::LineEnd)});
}

bool TSDIHandler::StartTestMode() {
    return SendExpecting("OTC1!", 250, {Address + "1" + std::string(GaugeReply::LineEnd)});
}

bool TSDIHandler::StopTestMode() {
    return SendExpecting("OTC0!", 100, {Address + "0" + std::string(GaugeReply::LineEnd)});
}
