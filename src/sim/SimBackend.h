#pragma once

// In-process adapter backend: one or more simulated gauges, each shown as an
// adapter whose serial number contains "AX". Bytes move on the installed
// clock, so with the manual clock a reply "arrives" when the wire would have
// delivered it.

#include "link/AdapterBackend.h"
#include "sim/SimGauge.h"

#include <memory>
#include <string>
#include <vector>

class SimBackend : public AdapterBackend {
public:
    // Adds a simulated gauge; serial defaults to "AX" + a running number,
    // description to "Tessra2 USB SDI-12 adapter".
    SimGauge& AddGauge(SimGauge::Settings settings, const std::string& serial = {},
                       const std::string& description = {});
    // An FTDI device that is not one of the program's adapters (no gauge behind it).
    void AddForeignDevice(const std::string& serial, const std::string& description);
    SimGauge& Gauge(std::size_t index = 0);
    std::size_t GaugeCount() const;
    // The adapter disappears: every call on its open port fails from now on,
    // and it is no longer listed.
    void Unplug(std::size_t index = 0);

    int List(std::vector<AdapterListing>& adapters) override;
    std::unique_ptr<AdapterPort> OpenBySerial(const std::string& serial) override;

private:
    struct Device {
        std::string serial;
        std::string description;
        std::unique_ptr<SimGauge> gauge; // null for a foreign device
        bool unplugged = false;
    };
    std::vector<Device> devices_;
    int nextSerial_ = 1;
};
