#pragma once

// Adapter backend for real serial lines through Qt Serial Port: the serial
// ports of the PC as QSerialPortInfo lists them (serial number and
// description), plus devices named by path for adapters the list does not
// recognise and for tests over a pseudo-terminal.
//
// Port operations: QueueStatus pulls what the system has received
// (waitForReadyRead(0), when the line has bytes waiting) and counts it;
// reads never block; writes go to the system at once (straight to the line
// where the platform allows it, else waitForBytesWritten with a short
// bound) so that the SDI-12 timing holds; break, purge, RTS and DTR map onto QSerialPort. A
// port whose line is gone (adapter unplugged, the other side of a
// pseudo-terminal closed) fails every call from then on with FT_IO_ERROR.

#include "link/AdapterBackend.h"

#include <string>
#include <vector>

class SerialBackend : public AdapterBackend {
public:
    // Adds the serial device at path; it is listed with the serial number
    // "AXPORT" + the last name of the path (at most 16 characters in all) and
    // the description "Tessra2 adapter at " + path. Returns that serial number.
    std::string AddPath(const std::string& path);
    // Whether the system's serial ports are listed too (default: yes).
    void SetListSystemPorts(bool list) { listSystemPorts_ = list; }

    int List(std::vector<AdapterListing>& adapters) override;
    // Opens the adapter listed with serial; a serial number cut to the 16
    // characters of the adapter list still finds its adapter.
    std::unique_ptr<AdapterPort> OpenBySerial(const std::string& serial) override;
    // A device named by path is present while its path leads to a device (a
    // symbolic link such as /dev/serial/by-id/... is followed, so a link
    // re-pointed when the adapter comes back finds it again); a system port
    // while the system lists it.
    bool IsPresent(const std::string& serial) override;

    // The serial number AddPath gives to a path.
    static std::string SerialForPath(const std::string& path);

private:
    struct Named {
        std::string serial;
        std::string path;
    };
    // Where the adapter with this serial is, or empty.
    std::string Locate(const std::string& serial) const;

    std::vector<Named> paths_;
    bool listSystemPorts_ = true;
};
