#pragma once

// In-process adapter backend: one or more simulated gauges, each shown as an
// adapter whose serial number contains "AX". Bytes move on the installed
// clock, so with the manual clock a reply "arrives" when the wire would have
// delivered it. Every port call reads TheClock().NowMs() once.

#include "link/AdapterBackend.h"
#include "sim/SimGauge.h"

#include <functional>
#include <limits>
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
    // The adapter is plugged in again, with the same serial number and the
    // same gauge behind it (change the gauge's settings before, to put
    // another gauge there). A port opened before the unplug stays dead.
    void Replug(std::size_t index = 0);
    // An outage on the installed clock: the adapter is unplugged at fromMs
    // and plugged in again at untilMs (never, when infinite), as Unplug and
    // Replug do; onReturn, if given, changes the gauge behind it as it
    // returns (another serial number: another gauge). One outage per
    // adapter at a time: a new one replaces the one scheduled before.
    void ScheduleOutage(std::size_t index, double fromMs, double untilMs,
                        std::function<void(SimGauge&)> onReturn = {});
    // Listing fails with this status (FT_OK: listing works).
    void SetListStatus(int status) { listStatus_ = status; }
    // The adapter's receive latency, as an FTDI adapter's: whether its open
    // port runs at the lowest latency now, and how often that was asked for
    // and given back since the adapter was added.
    bool LowLatency(std::size_t index = 0) const;
    int LowLatencyRequests(std::size_t index = 0) const;
    int LowLatencyRestores(std::size_t index = 0) const;

    int List(std::vector<AdapterListing>& adapters) override;
    bool IsPresent(const std::string& serial) override;
    // Opens a listed adapter; an adapter can be open only once at a time.
    std::unique_ptr<AdapterPort> OpenBySerial(const std::string& serial) override;

    // Shared with the open ports, so a port outliving the backend stays safe.
    struct Device {
        std::string serial;
        std::string description;
        std::unique_ptr<SimGauge> gauge; // null for a foreign device
        bool unplugged = false;
        int plugs = 0; // times plugged in again; a port of an earlier plug is dead
        // The scheduled outage; its steps are taken when the backend or a
        // port next looks at the clock after their times.
        double outageFromMs = std::numeric_limits<double>::infinity();
        double outageUntilMs = std::numeric_limits<double>::infinity();
        std::function<void(SimGauge&)> onReturn;
        bool outageBegun = false;
        bool open = false;
        bool lowLatency = false;
        int lowLatencyRequests = 0;
        int lowLatencyRestores = 0;
    };

private:
    // Takes the due steps of the scheduled outages.
    void FollowOutages();

    std::vector<std::shared_ptr<Device>> devices_;
    std::vector<SimGauge*> gauges_; // in the order added
    std::vector<std::shared_ptr<Device>> gaugeDevices_;
    int nextSerial_ = 1;
    int listStatus_ = FT_OK;
};
