#include "sim/SimBackend.h"

#include "link/Clock.h"

#include <stdexcept>

namespace {

void UnplugDevice(SimBackend::Device& device) {
    device.unplugged = true;
    // The open port dies with the adapter; it holds it no longer.
    device.open = false;
}

void ReplugDevice(SimBackend::Device& device) {
    if (!device.unplugged)
        return;
    device.unplugged = false;
    ++device.plugs;
}

// Takes the steps of the device's scheduled outage that are due at now.
void FollowOutage(SimBackend::Device& device, double now) {
    if (!device.outageBegun && now >= device.outageFromMs) {
        device.outageBegun = true;
        UnplugDevice(device);
    }
    if (device.outageBegun && now >= device.outageUntilMs) {
        device.outageFromMs = device.outageUntilMs = std::numeric_limits<double>::infinity();
        device.outageBegun = false;
        if (device.onReturn && device.gauge)
            device.onReturn(*device.gauge);
        device.onReturn = nullptr;
        ReplugDevice(device);
    }
}

// Whether any outage is scheduled (the clock is read only then, so the
// backend's other users see the time they always saw).
bool OutagePending(const SimBackend::Device& device) {
    return device.outageFromMs != std::numeric_limits<double>::infinity() || device.outageBegun;
}

// The port of one simulated adapter: passes the program's writes and line
// settings to the gauge and hands back what has arrived by now.
class SimPort final : public AdapterPort {
public:
    explicit SimPort(std::shared_ptr<SimBackend::Device> device)
        : device_(std::move(device)), plug_(device_->plugs) {
        device_->open = true;
    }
    ~SimPort() override { Close(); }

    int Close() override {
        if (closed_)
            return FT_INVALID_HANDLE;
        closed_ = true;
        // A port of an earlier plug no longer holds the adapter.
        if (plug_ == device_->plugs)
            device_->open = false;
        GiveBackLatency();
        return Gone(TheClock().NowMs()) ? FT_IO_ERROR : FT_OK;
    }

    int Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override {
        got = 0;
        const double now = TheClock().NowMs();
        if (const int status = Check(now); status != FT_OK)
            return status;
        if (SimGauge* gauge = device_->gauge.get())
            got = static_cast<std::uint32_t>(gauge->Take(buffer, count, now));
        return FT_OK;
    }

    int Write(const std::uint8_t* buffer, std::uint32_t count, std::uint32_t& written) override {
        written = 0;
        const double now = TheClock().NowMs();
        if (const int status = Check(now); status != FT_OK)
            return status;
        if (SimGauge* gauge = device_->gauge.get())
            gauge->Receive(buffer, count, now);
        written = count;
        return FT_OK;
    }

    int SetBaudRate(std::uint32_t baud) override {
        const double now = TheClock().NowMs();
        if (const int status = Check(now); status != FT_OK)
            return status;
        if (baud == 0)
            return FT_INVALID_PARAMETER;
        baud_ = baud;
        return ApplyLine(now);
    }

    int SetDataCharacteristics(std::uint8_t wordLength, std::uint8_t stopBits,
                               std::uint8_t parity) override {
        const double now = TheClock().NowMs();
        if (const int status = Check(now); status != FT_OK)
            return status;
        if ((wordLength != 7 && wordLength != 8) || (stopBits != 0 && stopBits != 2) || parity > 4)
            return FT_INVALID_PARAMETER;
        wordLength_ = wordLength;
        parity_ = parity;
        return ApplyLine(now);
    }

    int SetRts(bool) override { return Check(TheClock().NowMs()); }
    int SetDtr(bool) override { return Check(TheClock().NowMs()); }

    int Purge(std::uint32_t mask) override {
        const double now = TheClock().NowMs();
        if (const int status = Check(now); status != FT_OK)
            return status;
        SimGauge* gauge = device_->gauge.get();
        if ((mask & 1) != 0 && gauge != nullptr)
            gauge->DropPending(now);
        return FT_OK; // writes reach the gauge at once: nothing waits for transmission
    }

    int QueueStatus(std::uint32_t& rxBytes) override {
        rxBytes = 0;
        const double now = TheClock().NowMs();
        if (const int status = Check(now); status != FT_OK)
            return status;
        if (SimGauge* gauge = device_->gauge.get())
            rxBytes = static_cast<std::uint32_t>(gauge->Available(now));
        return FT_OK;
    }

    int SetBreak(bool on) override {
        const double now = TheClock().NowMs();
        if (const int status = Check(now); status != FT_OK)
            return status;
        SimGauge* gauge = device_->gauge.get();
        if (on && gauge != nullptr)
            gauge->Break(now);
        return FT_OK;
    }

    int Status(std::uint32_t& rxBytes, std::uint32_t& txBytes, std::uint32_t& events) override {
        txBytes = 0;
        events = 0;
        return QueueStatus(rxBytes);
    }

    int SetLowLatency(bool on) override {
        if (const int status = Check(TheClock().NowMs()); status != FT_OK)
            return status;
        if (!on) {
            GiveBackLatency();
        } else if (!device_->lowLatency) {
            device_->lowLatency = true;
            ++device_->lowLatencyRequests;
        }
        return FT_OK;
    }

private:
    void GiveBackLatency() {
        if (!device_->lowLatency)
            return;
        device_->lowLatency = false;
        ++device_->lowLatencyRestores;
    }
    bool Gone(double now) const {
        if (OutagePending(*device_))
            FollowOutage(*device_, now);
        if (device_->unplugged || plug_ != device_->plugs)
            return true;
        const SimGauge* gauge = device_->gauge.get();
        return gauge != nullptr && (gauge->Faults().vanished || now >= gauge->Faults().vanishAtMs);
    }
    int Check(double now) const {
        if (closed_)
            return FT_INVALID_HANDLE;
        return Gone(now) ? FT_IO_ERROR : FT_OK;
    }
    int ApplyLine(double now) {
        if (SimGauge* gauge = device_->gauge.get()) {
            gauge->Tick(now);
            gauge->SetLine(baud_, wordLength_, parity_);
        }
        return FT_OK;
    }

    std::shared_ptr<SimBackend::Device> device_;
    int plug_; // the device's plug count when the port was opened
    bool closed_ = false;
    std::uint32_t baud_ = 9600; // the adapter's power-on settings
    int wordLength_ = 8;
    int parity_ = 0;
};

} // namespace

SimGauge& SimBackend::AddGauge(SimGauge::Settings settings, const std::string& serial,
                               const std::string& description) {
    auto device = std::make_shared<Device>();
    device->serial = serial.empty() ? "AX" + std::to_string(nextSerial_++) : serial;
    device->description = description.empty() ? "Tessra2 USB SDI-12 adapter" : description;
    device->gauge = std::make_unique<SimGauge>(settings);
    devices_.push_back(device);
    gaugeDevices_.push_back(device);
    gauges_.push_back(device->gauge.get());
    return *device->gauge;
}

void SimBackend::AddForeignDevice(const std::string& serial, const std::string& description) {
    auto device = std::make_shared<Device>();
    device->serial = serial;
    device->description = description;
    devices_.push_back(device);
}

SimGauge& SimBackend::Gauge(std::size_t index) {
    if (index >= gauges_.size())
        throw std::out_of_range("SimBackend::Gauge: no such gauge");
    return *gauges_[index];
}

std::size_t SimBackend::GaugeCount() const {
    return gauges_.size();
}

void SimBackend::Unplug(std::size_t index) {
    if (index >= gaugeDevices_.size())
        throw std::out_of_range("SimBackend::Unplug: no such gauge");
    UnplugDevice(*gaugeDevices_[index]);
}

void SimBackend::Replug(std::size_t index) {
    if (index >= gaugeDevices_.size())
        throw std::out_of_range("SimBackend::Replug: no such gauge");
    ReplugDevice(*gaugeDevices_[index]);
}

void SimBackend::ScheduleOutage(std::size_t index, double fromMs, double untilMs,
                                std::function<void(SimGauge&)> onReturn) {
    if (index >= gaugeDevices_.size())
        throw std::out_of_range("SimBackend::ScheduleOutage: no such gauge");
    Device& device = *gaugeDevices_[index];
    device.outageFromMs = fromMs;
    device.outageUntilMs = untilMs;
    device.onReturn = std::move(onReturn);
    device.outageBegun = false;
}

void SimBackend::FollowOutages() {
    for (const auto& device : gaugeDevices_)
        if (OutagePending(*device))
            FollowOutage(*device, TheClock().NowMs());
}

bool SimBackend::IsPresent(const std::string& serial) {
    FollowOutages();
    if (listStatus_ != FT_OK)
        return false;
    for (const auto& device : devices_)
        if (device->serial == serial)
            return !device->unplugged && !(device->gauge && device->gauge->Faults().vanished);
    return false;
}

bool SimBackend::LowLatency(std::size_t index) const {
    if (index >= gaugeDevices_.size())
        throw std::out_of_range("SimBackend::LowLatency: no such gauge");
    return gaugeDevices_[index]->lowLatency;
}

int SimBackend::LowLatencyRequests(std::size_t index) const {
    if (index >= gaugeDevices_.size())
        throw std::out_of_range("SimBackend::LowLatencyRequests: no such gauge");
    return gaugeDevices_[index]->lowLatencyRequests;
}

int SimBackend::LowLatencyRestores(std::size_t index) const {
    if (index >= gaugeDevices_.size())
        throw std::out_of_range("SimBackend::LowLatencyRestores: no such gauge");
    return gaugeDevices_[index]->lowLatencyRestores;
}

int SimBackend::List(std::vector<AdapterListing>& adapters) {
    FollowOutages();
    adapters.clear();
    if (listStatus_ != FT_OK)
        return listStatus_;
    for (const auto& device : devices_)
        if (!device->unplugged && !(device->gauge && device->gauge->Faults().vanished))
            adapters.push_back(AdapterListing{device->serial, device->description});
    return FT_OK;
}

std::unique_ptr<AdapterPort> SimBackend::OpenBySerial(const std::string& serial) {
    FollowOutages();
    for (const auto& device : devices_) {
        if (device->serial != serial || device->unplugged || device->open)
            continue;
        if (device->gauge && device->gauge->Faults().vanished)
            continue;
        return std::make_unique<SimPort>(device);
    }
    return nullptr;
}
