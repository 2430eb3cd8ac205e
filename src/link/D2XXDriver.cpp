#include "link/D2XXDriver.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace D2XXDriver {

std::int32_t Handle = 0;
int IoStatus = FT_OK;
std::uint32_t DeviceCount = 0;
std::string DeviceString;
char OpenName[50] = {};
char SerialListBuffer[16] = {};
char DescriptionListBuffer[64] = {};
std::uint8_t InBuffer[BufferSize] = {};
std::uint8_t OutBuffer[BufferSize] = {};
std::uint32_t CurrentBaudRate = 0;
std::uint8_t WordLength = 8;
std::uint8_t StopBits = 0;
std::uint8_t Parity = 0;
std::uint32_t RxQueueBytes = 0;
std::uint32_t TxQueueBytes = 0;
std::uint32_t EventStatus = 0;
bool LowLatencyRequested = false;

namespace {

AdapterBackend* backend = nullptr;
std::unique_ptr<AdapterPort> port;
std::int32_t nextHandle = 1;
// The listing the last GetFTDeviceCount saw; listing by index reads from it.
std::vector<AdapterListing> listing;

// Text of a fixed buffer up to its first zero byte or its end.
std::string BufferText(const char* buffer, std::size_t size) {
    const char* end = static_cast<const char*>(std::memchr(buffer, 0, size));
    return std::string(buffer, end != nullptr ? end : buffer + size);
}

// Copies text into a fixed buffer the way the driver fills it: as many
// characters as fit, then a zero byte if there is room.
void FillBuffer(char* buffer, std::size_t size, const std::string& text) {
    std::memset(buffer, 0, size);
    std::memcpy(buffer, text.data(), std::min(size, text.size()));
}

AdapterPort* Open() { return (Handle > 0 && port) ? port.get() : nullptr; }

} // namespace

int GetFTDeviceCount() {
    listing.clear();
    if (backend == nullptr) {
        DeviceCount = 0;
        return FT_OK;
    }
    const int status = backend->List(listing);
    if (status != FT_OK) {
        listing.clear();
        return status;
    }
    DeviceCount = static_cast<std::uint32_t>(listing.size());
    return FT_OK;
}

int ListSerialNumber(std::uint32_t index) {
    if (index >= listing.size())
        return FT_DEVICE_NOT_FOUND;
    FillBuffer(SerialListBuffer, sizeof SerialListBuffer, listing[index].serialNumber);
    DeviceString = BufferText(SerialListBuffer, sizeof SerialListBuffer);
    return FT_OK;
}

int ListDescription(std::uint32_t index) {
    if (index >= listing.size())
        return FT_DEVICE_NOT_FOUND;
    FillBuffer(DescriptionListBuffer, sizeof DescriptionListBuffer, listing[index].description);
    DeviceString = BufferText(DescriptionListBuffer, sizeof DescriptionListBuffer);
    return FT_OK;
}

int Open_USB_Device_By_Serial_Number(const std::string& serial) {
    std::memset(OpenName, 0, sizeof OpenName);
    std::memcpy(OpenName, serial.data(), std::min<std::size_t>(serial.size(), sizeof OpenName - 1));
    if (port) {
        port->Close();
        port.reset();
    }
    if (backend == nullptr)
        return FT_DEVICE_NOT_FOUND;
    port = backend->OpenBySerial(std::string(OpenName));
    if (!port) {
        Handle = 0;
        return FT_DEVICE_NOT_OPENED;
    }
    Handle = nextHandle++;
    if (nextHandle <= 0)
        nextHandle = 1;
    if (LowLatencyRequested)
        port->SetLowLatency(true);
    return FT_OK;
}

int ClosePort() {
    if (!port)
        return FT_INVALID_HANDLE;
    const int status = port->Close();
    port.reset();
    return status;
}

std::uint32_t ReadToInBuffer(std::uint32_t n) {
    std::uint32_t got = 0;
    AdapterPort* p = Open();
    if (p == nullptr) {
        IoStatus = FT_INVALID_HANDLE;
        return 0;
    }
    IoStatus = p->Read(InBuffer, std::min(n, BufferSize), got);
    return std::min(got, BufferSize);
}

std::uint32_t WriteFromOutBuffer(std::uint32_t n) {
    std::uint32_t written = 0;
    AdapterPort* p = Open();
    if (p == nullptr) {
        IoStatus = FT_INVALID_HANDLE;
        return 0;
    }
    IoStatus = p->Write(OutBuffer, std::min(n, BufferSize), written);
    return written;
}

int SetPortBaudRate() {
    AdapterPort* p = Open();
    return p != nullptr ? p->SetBaudRate(CurrentBaudRate) : FT_INVALID_HANDLE;
}

int SetPortDataCharacteristics() {
    AdapterPort* p = Open();
    return p != nullptr ? p->SetDataCharacteristics(WordLength, StopBits, Parity)
                        : FT_INVALID_HANDLE;
}

int SetPortRts() {
    AdapterPort* p = Open();
    return p != nullptr ? p->SetRts(true) : FT_INVALID_HANDLE;
}

int ClearPortRts() {
    AdapterPort* p = Open();
    return p != nullptr ? p->SetRts(false) : FT_INVALID_HANDLE;
}

int SetPortDtr() {
    AdapterPort* p = Open();
    return p != nullptr ? p->SetDtr(true) : FT_INVALID_HANDLE;
}

int ClearPortDtr() {
    AdapterPort* p = Open();
    return p != nullptr ? p->SetDtr(false) : FT_INVALID_HANDLE;
}

int PurgeRx() {
    AdapterPort* p = Open();
    return p != nullptr ? p->Purge(1) : FT_INVALID_HANDLE;
}

int PurgeTx() {
    AdapterPort* p = Open();
    return p != nullptr ? p->Purge(2) : FT_INVALID_HANDLE;
}

int GetRxQueueStatus() {
    AdapterPort* p = Open();
    if (p == nullptr) {
        RxQueueBytes = 0;
        return FT_INVALID_HANDLE;
    }
    std::uint32_t rx = 0;
    const int status = p->QueueStatus(rx);
    // A failed query reports nothing waiting, so no caller reads from a dead port.
    RxQueueBytes = status == FT_OK ? rx : 0;
    return status;
}

int SetBreakOn() {
    AdapterPort* p = Open();
    return p != nullptr ? p->SetBreak(true) : FT_INVALID_HANDLE;
}

int SetBreakOff() {
    AdapterPort* p = Open();
    return p != nullptr ? p->SetBreak(false) : FT_INVALID_HANDLE;
}

int GetPortStatus() {
    AdapterPort* p = Open();
    if (p == nullptr) {
        RxQueueBytes = 0;
        return FT_INVALID_HANDLE;
    }
    std::uint32_t rx = 0, tx = 0, events = 0;
    const int status = p->Status(rx, tx, events);
    if (status == FT_OK) {
        RxQueueBytes = rx;
        TxQueueBytes = tx;
        EventStatus = events;
    } else {
        RxQueueBytes = 0;
    }
    return status;
}

int RequestLowLatency(bool on) {
    LowLatencyRequested = on;
    AdapterPort* p = Open();
    return p != nullptr ? p->SetLowLatency(on) : FT_OK;
}

bool IsAdapterPresent(const std::string& serial) {
    return backend != nullptr && !serial.empty() && backend->IsPresent(serial);
}

void InstallBackend(AdapterBackend* newBackend) {
    if (port) {
        port->Close();
        port.reset();
    }
    listing.clear();
    backend = newBackend;
}

AdapterBackend* InstalledBackend() { return backend; }

void ResetModuleState() {
    if (port) {
        port->Close();
        port.reset();
    }
    listing.clear();
    Handle = 0;
    IoStatus = FT_OK;
    DeviceCount = 0;
    DeviceString.clear();
    std::memset(OpenName, 0, sizeof OpenName);
    std::memset(SerialListBuffer, 0, sizeof SerialListBuffer);
    std::memset(DescriptionListBuffer, 0, sizeof DescriptionListBuffer);
    std::memset(InBuffer, 0, sizeof InBuffer);
    std::memset(OutBuffer, 0, sizeof OutBuffer);
    CurrentBaudRate = 0;
    WordLength = 8;
    StopBits = 0;
    Parity = 0;
    RxQueueBytes = 0;
    TxQueueBytes = 0;
    EventStatus = 0;
    LowLatencyRequested = false;
}

} // namespace D2XXDriver
