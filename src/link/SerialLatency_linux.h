#pragma once

// The Linux part of the receive-latency request, with the seam its tests
// use: the driver's serial flags go through LinuxSerialSystem, and the
// latency timer is looked up below a device-tree root that a test points
// at a folder of its own.

#include "link/SerialLatency.h"

#if defined(__linux__)

#include <string>

namespace SerialLatency {

class LinuxSerialSystem {
public:
    virtual ~LinuxSerialSystem() = default;
    // The driver's serial flags of the line open as fd (TIOCGSERIAL); false
    // when the line has none (a pseudo-terminal).
    virtual bool ReadFlags(int fd, int& flags) = 0;
    // Sets them (TIOCSSERIAL); false when the driver refuses.
    virtual bool WriteFlags(int fd, int flags) = 0;
    // Root of the device tree, "/sys" on a running system.
    virtual std::string SysfsRoot() const = 0;
};

LinuxSerialSystem& RealLinuxSerialSystem();

// The kernel's name of the terminal at location: symbolic links such as
// /dev/serial/by-id/... resolved, the last path component taken
// ("/dev/ttyUSB0" -> "ttyUSB0").
std::string TtyName(const std::string& location);

// The latency timer file of a usb-serial terminal below root.
std::string LatencyTimerFile(const std::string& root, const std::string& tty);

Previous RequestLowest(LinuxSerialSystem& system, int fd, const std::string& location);
void Restore(LinuxSerialSystem& system, int fd, const Previous& previous);

} // namespace SerialLatency

#endif
