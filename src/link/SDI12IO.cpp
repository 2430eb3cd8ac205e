#include "link/SDI12IO.h"

#include "link/ByteText.h"
#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/TrafficTrace.h"

#include <cstring>
#include <stdexcept>

namespace SDI12IO {

bool PortConnected = false;
std::string CurrentSerial;

namespace {

std::string FixedText(const char* buffer, std::size_t size) {
    const char* end = static_cast<const char*>(std::memchr(buffer, 0, size));
    return std::string(buffer, end != nullptr ? end : buffer + size);
}

void CopyFixed(char* buffer, std::size_t size, const std::string& text, std::size_t keep) {
    std::memset(buffer, 0, size);
    std::memcpy(buffer, text.data(), std::min(text.size(), keep));
}

} // namespace

std::string TInfoNode::Serial() const {
    return FixedText(SerialNumber, sizeof SerialNumber);
}

std::string TInfoNode::DescriptionText() const {
    return FixedText(Description, sizeof Description);
}

bool IsProgramAdapter(const std::string& serial) {
    return serial.find("AX") != std::string::npos;
}

void EnumerateAdapters(TInfoNodeArray& list, int& count) {
    using namespace D2XXDriver;
    count = 0;
    DeviceCount = 0;
    try {
        GetFTDeviceCount();
        if (DeviceCount == 0) {
            list.clear();
            return;
        }
        for (std::uint32_t index = 0; index < DeviceCount; ++index) {
            DeviceString.clear();
            ListSerialNumber(index);
            if (!IsProgramAdapter(DeviceString))
                continue;
            const std::string serial = DeviceString;
            DeviceString.clear();
            ListDescription(index);
            if (UpperAscii(DeviceString).find("IRDA") != std::string::npos)
                continue;
            // The list is as long as the number of devices, also when the
            // caller passes one left over from an earlier, longer listing.
            if (list.size() != DeviceCount)
                list.resize(DeviceCount);
            TInfoNode& node = list[static_cast<std::size_t>(count)];
            CopyFixed(node.SerialNumber, sizeof node.SerialNumber, serial,
                      sizeof node.SerialNumber);
            // At most 63 characters, so the description stays zero-terminated.
            CopyFixed(node.Description, sizeof node.Description, DeviceString,
                      sizeof node.Description - 1);
            ++count;
        }
    } catch (const std::exception&) {
        count = 0;
        list.clear();
    }
}

int OpenSdiPort(const std::string& serial, std::uint8_t wordLength, std::uint8_t parity,
                std::uint8_t stopBits) {
    using namespace D2XXDriver;
    CurrentBaudRate = 1200;
    WordLength = wordLength;
    StopBits = stopBits;
    Parity = parity;
    CurrentSerial = serial;
    if (Open_USB_Device_By_Serial_Number(serial) != FT_OK) {
        ClosePort();
        Handle = ClosedHandle;
    } else {
        SetPortDataCharacteristics();
        SetPortBaudRate();
        if (UseRts)
            SetPortRts();
        else
            ClearPortRts();
        SetPortDtr();
    }
    if (Handle != ClosedHandle) {
        PortConnected = true;
        return Handle;
    }
    return -1;
}

int CloseSdiPort() {
    using namespace D2XXDriver;
    PortConnected = false;
    ClearPortRts();
    ClearPortDtr();
    const int status = ClosePort();
    Handle = ClosedHandle;
    return status;
}

void ReopenPort(std::uint32_t baud, std::uint8_t stopBits, std::uint8_t parity,
                std::uint8_t wordLength) {
    using namespace D2XXDriver;
    CloseSdiPort();
    OpenSdiPort(CurrentSerial, wordLength, parity, stopBits);
    CurrentBaudRate = baud;
    StopBits = stopBits;
    Parity = parity;
    WordLength = wordLength;
    SetPortBaudRate();
    SetPortDataCharacteristics();
}

bool IsPortResponsive() {
    if (D2XXDriver::GetRxQueueStatus() != FT_OK) {
        PortConnected = false;
        return false;
    }
    return true;
}

int SendBreak(double ms) {
    Clock& clock = TheClock();
    if (D2XXDriver::SetBreakOn() != FT_OK)
        return -1;
    const double start = clock.NowMs();
    while (ms > clock.NowMs() - start) {
    }
    return D2XXDriver::SetBreakOff() != FT_OK ? -1 : 0;
}

void WaitMarking() {
    Clock& clock = TheClock();
    const double start = clock.NowMs();
    while (clock.NowMs() - start <= 8.33) {
    }
}

int SdiTransaction(const std::string& command, std::string& reply, std::uint32_t timeoutMs) {
    using namespace D2XXDriver;
    Clock& clock = TheClock();
    int result = -1;
    reply.clear();
    constexpr int Attempts = 3;
    int attempts = Attempts;
    std::string received;
    PurgeRx();
    PurgeTx();
    std::memset(InBuffer, 0, BufferSize);
    std::memset(OutBuffer, 0, BufferSize);
    const std::size_t length = std::min<std::size_t>(command.size(), BufferSize);
    std::memcpy(OutBuffer, command.data(), length);

    while (attempts > 0 && result == -1) {
        bool gotData = false;
        const double attemptStart = clock.NowMs();
        SendBreak(25);
        received.clear();
        WaitMarking();
        WriteFromOutBuffer(static_cast<std::uint32_t>(length));
        GetRxQueueStatus();
        const double t0 = clock.NowMs();
        double now = t0;
        // Wait for the first byte.
        for (;;) {
            GetRxQueueStatus();
            if (RxQueueBytes > 0) {
                gotData = true;
                break;
            }
            now = clock.NowMs();
            if (timeoutMs < now - t0)
                break;
        }
        // Read up to the line feed.
        while (now - t0 < timeoutMs + 810.0 && gotData) {
            GetRxQueueStatus();
            const std::uint32_t n = RxQueueBytes;
            if (n > 0) {
                const std::uint32_t got = ReadToInBuffer(n);
                for (std::uint32_t i = 0; i < got; ++i) {
                    const std::uint8_t byte = InBuffer[i];
                    received.push_back(static_cast<char>(byte));
                    InBuffer[i] = 0;
                    if (byte == 10) {
                        gotData = false;
                        break;
                    }
                }
            }
            now = clock.NowMs();
        }
        if (TraceSink* trace = ActiveTrace())
            trace->Attempt(attemptStart, Attempts - attempts + 1, Attempts, command, received,
                           clock.NowMs() - attemptStart);
        if (!received.empty()) {
            PurgeRx();
            PurgeTx();
            reply = received;
            result = 0;
        } else {
            --attempts;
        }
    }
    return result;
}

int WaitForReply(std::string& reply, std::uint32_t timeoutMs, const std::string& text) {
    using namespace D2XXDriver;
    Clock& clock = TheClock();
    const double start = clock.NowMs();
    double now = start;
    std::string received;
    const std::string expected = text + "\r\n";
    for (;;) {
        if (GetPortStatus() == FT_OK && RxQueueBytes > 0) {
            const std::uint32_t got = ReadToInBuffer(RxQueueBytes);
            received.append(reinterpret_cast<const char*>(InBuffer), got);
        }
        if (received == expected) {
            if (TraceSink* trace = ActiveTrace())
                trace->Awaited(start, expected, received, true, clock.NowMs() - start);
            reply = received;
            PurgeRx();
            PurgeTx();
            return 0;
        }
        if (timeoutMs < now - start) {
            if (TraceSink* trace = ActiveTrace())
                trace->Awaited(start, expected, received, false, clock.NowMs() - start);
            PurgeTx();
            PurgeRx();
            return -1;
        }
        now = clock.NowMs();
        clock.ProcessMessages();
    }
}

void ResetModuleState() {
    PortConnected = false;
    CurrentSerial.clear();
}

} // namespace SDI12IO
