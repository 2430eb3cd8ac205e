#pragma once

// SDI-12 master over the adapter port: finds the program's adapters, opens
// and closes the one in use with the SDI-12 line settings, and performs the
// command/response transaction every gauge command goes through.

#include <cstdint>
#include <string>
#include <vector>

namespace SDI12IO {

// One adapter list entry (the layout of the driver's device information node).
struct TInfoNode {
    std::uint32_t Flags = 0;
    std::uint32_t DeviceType = 0;
    std::uint32_t Id = 0;
    std::uint32_t LocationId = 0;
    char SerialNumber[16] = {};
    char Description[64] = {};
    std::uint32_t DeviceHandle = 0;

    std::string Serial() const;      // up to the first zero byte within 16 bytes
    std::string DescriptionText() const; // up to the first zero byte within 64 bytes
};
using TInfoNodeArray = std::vector<TInfoNode>;

extern bool PortConnected;
extern std::string CurrentSerial;
constexpr bool UseRts = true;

// The program's adapters are those whose serial number contains "AX".
bool IsProgramAdapter(const std::string& serial);
void EnumerateAdapters(TInfoNodeArray& list, int& count);
int OpenSdiPort(const std::string& serial, std::uint8_t wordLength, std::uint8_t parity,
                std::uint8_t stopBits);
int CloseSdiPort();
void ReopenPort(std::uint32_t baud, std::uint8_t stopBits, std::uint8_t parity,
                std::uint8_t wordLength);
bool IsPortResponsive();
int SendBreak(double ms);
void WaitMarking();
// 0 = a reply was received (reply holds the raw line), -1 = none after three attempts.
int SdiTransaction(const std::string& command, std::string& reply, std::uint32_t timeoutMs);
// 0 = received text equals text + CR LF (reply holds it), -1 = timeout (reply untouched).
int WaitForReply(std::string& reply, std::uint32_t timeoutMs, const std::string& text);

// Back to the state at program start (for tests).
void ResetModuleState();

} // namespace SDI12IO
