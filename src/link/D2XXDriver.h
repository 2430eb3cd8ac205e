#pragma once

// The adapter port: the one open USB adapter of the program, its line
// settings and its two 64 KiB transfer buffers, as module state shared by
// every caller. Each operation is one call into the installed adapter
// backend plus bookkeeping, and returns the backend's status code.

#include "link/AdapterBackend.h"

#include <cstdint>
#include <string>

namespace D2XXDriver {

constexpr std::uint32_t BufferSize = 65536;
constexpr std::int32_t ClosedHandle = -1;

extern std::int32_t Handle; // 0 at start, -1 after a close, > 0 while open
extern int IoStatus;
extern std::uint32_t DeviceCount;
extern std::string DeviceString;
extern char OpenName[50];
extern char SerialListBuffer[16];
extern char DescriptionListBuffer[64];
extern std::uint8_t InBuffer[BufferSize];
extern std::uint8_t OutBuffer[BufferSize];
extern std::uint32_t CurrentBaudRate;
extern std::uint8_t WordLength;
extern std::uint8_t StopBits;
extern std::uint8_t Parity;
extern std::uint32_t RxQueueBytes;
extern std::uint32_t TxQueueBytes;
extern std::uint32_t EventStatus;

int GetFTDeviceCount();
int ListSerialNumber(std::uint32_t index);
int ListDescription(std::uint32_t index);
int Open_USB_Device_By_Serial_Number(const std::string& serial);
int ClosePort();
// Reads at most n bytes (never more than BufferSize) to the start of InBuffer;
// returns the count read.
std::uint32_t ReadToInBuffer(std::uint32_t n);
// Writes the first n bytes of OutBuffer (at most BufferSize); returns the count written.
std::uint32_t WriteFromOutBuffer(std::uint32_t n);
int SetPortBaudRate();
int SetPortDataCharacteristics();
int SetPortRts();
int ClearPortRts();
int SetPortDtr();
int ClearPortDtr();
int PurgeRx();
int PurgeTx();
int GetRxQueueStatus();
int SetBreakOn();
int SetBreakOff();
int GetPortStatus();

// Receive latency during a firmware transfer: while requested, the open
// port and every port opened meanwhile (the transfer reopens the adapter to
// change its speed) run with the lowest receive latency their line offers.
// Ending the request, or closing the port, gives the line its previous
// setting back. Lines without such a setting are not affected.
extern bool LowLatencyRequested;
int RequestLowLatency(bool on);

// Whether the adapter with this serial number is there now, without opening it.
bool IsAdapterPresent(const std::string& serial);

// Installs the source of adapters (not owned). Closes an open port first.
void InstallBackend(AdapterBackend* backend);
AdapterBackend* InstalledBackend();
// Back to the state at program start (closes the port; for tests).
void ResetModuleState();

} // namespace D2XXDriver
