#pragma once

// Receive latency of a serial line. USB serial adapters hold received
// bytes for a latency timer before passing them on (FTDI chips ship with
// 16 ms), which costs a stop-and-wait protocol most of its speed. While a
// firmware image is transferred the port asks for the lowest latency the
// platform allows and gives the line its previous setting back afterwards:
//
// - Linux: the serial driver's low-latency flag (TIOCGSERIAL/TIOCSSERIAL,
//   ASYNC_LOW_LATENCY), and on adapters of the usb-serial drivers that
//   offer one (ftdi_sio) the latency timer in
//   /sys/bus/usb-serial/devices/<tty>/latency_timer, set to 1 ms
//   (SerialLatency_linux.cpp);
// - Windows: the FTDI driver's "LatencyTimer" in the port's device
//   parameters, read by the driver when the port is opened
//   (SerialLatency_win.cpp);
// - elsewhere nothing is changed (SerialLatency_other.cpp).
//
// A line that offers none of these (a pseudo-terminal, an adapter without
// a latency timer, a setting the user may not change) keeps working as it
// did; nothing is reported beyond the returned record.

#include <QtGlobal>
#include <string>

namespace SerialLatency {

// What RequestLowest changed, so that Restore can put it back.
struct Previous {
    // The driver's serial flags before the low-latency flag was set.
    bool flagSet = false;
    int flags = 0;
    // The adapter's latency timer file and the value it held before.
    bool timerSet = false;
    std::string timerFile;
    std::string timerValue;
    // Windows: the port's name and the driver's registry value before (ms).
    bool registrySet = false;
    std::string registryPort;
    unsigned long registryValue = 0;

    bool Changed() const { return flagSet || timerSet || registrySet; }
};

// Asks the line open as handle (its device at location, e.g. "/dev/ttyUSB0"
// or "COM3") for its lowest receive latency.
Previous RequestLowest(qintptr handle, const std::string& location);

// Gives the line back what RequestLowest changed (nothing when nothing was).
void Restore(qintptr handle, const Previous& previous);

// True when a changed setting takes effect only when the port is opened
// again (Windows); the port then reopens itself.
bool TakesEffectOnOpen();

} // namespace SerialLatency
