#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Status codes of the adapter operations (the values the FTDI driver uses).
enum AdapterStatus : int {
    FT_OK = 0,
    FT_INVALID_HANDLE = 1,
    FT_DEVICE_NOT_FOUND = 2,
    FT_DEVICE_NOT_OPENED = 3,
    FT_IO_ERROR = 4,
    FT_INVALID_PARAMETER = 6,
    FT_OTHER_ERROR = 18,
};

// One adapter as a backend lists it.
struct AdapterListing {
    std::string serialNumber; // as the adapter reports it (may be longer than 16)
    std::string description;  // may be longer than 64
};

// One open adapter. Every call returns an AdapterStatus; reads never block.
class AdapterPort {
public:
    virtual ~AdapterPort() = default;
    virtual int Close() = 0;
    virtual int Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) = 0;
    virtual int Write(const std::uint8_t* buffer, std::uint32_t count, std::uint32_t& written) = 0;
    virtual int SetBaudRate(std::uint32_t baud) = 0;
    // wordLength 7 or 8; stopBits 0 = one, 2 = two; parity 0 none, 1 odd, 2 even, 3 mark, 4 space
    virtual int SetDataCharacteristics(std::uint8_t wordLength, std::uint8_t stopBits,
                                       std::uint8_t parity) = 0;
    virtual int SetRts(bool on) = 0;
    virtual int SetDtr(bool on) = 0;
    // mask 1 = receive buffer, 2 = transmit buffer
    virtual int Purge(std::uint32_t mask) = 0;
    // Bytes waiting in the receive queue; a non-zero status means the adapter is gone.
    virtual int QueueStatus(std::uint32_t& rxBytes) = 0;
    virtual int SetBreak(bool on) = 0;
    virtual int Status(std::uint32_t& rxBytes, std::uint32_t& txBytes, std::uint32_t& events) = 0;
    // On: the lowest receive latency the line offers (an FTDI adapter's
    // latency timer at 1 ms). Off: the setting the line had before; closing
    // the port gives it back as well. A line without such a setting ignores
    // the request, which is no failure.
    virtual int SetLowLatency(bool on) {
        (void)on;
        return FT_OK;
    }
};

// A source of adapters: the serial ports of the PC, or simulated gauges.
class AdapterBackend {
public:
    virtual ~AdapterBackend() = default;
    // Status FT_OK and the adapters present, in a stable order.
    virtual int List(std::vector<AdapterListing>& adapters) = 0;
    // Opens the adapter whose serial number equals serial; nullptr when none can be opened.
    virtual std::unique_ptr<AdapterPort> OpenBySerial(const std::string& serial) = 0;
    // Whether the adapter with this serial number is there now (plugged in,
    // its device present), without opening it. By default: it is listed.
    virtual bool IsPresent(const std::string& serial) {
        std::vector<AdapterListing> adapters;
        if (List(adapters) != FT_OK)
            return false;
        for (const AdapterListing& adapter : adapters)
            if (adapter.serialNumber == serial)
                return true;
        return false;
    }
};
