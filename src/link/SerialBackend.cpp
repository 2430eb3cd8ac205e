#include "link/SerialBackend.h"

#include "link/SerialBackendPlatform.h"
#include "link/SerialLatency.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <algorithm>

namespace {

constexpr std::size_t ListedSerialLength = 16;

bool Fatal(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
    case QSerialPort::ResourceError:
    case QSerialPort::NotOpenError:
        return true;
    default:
        return false;
    }
}

// One open serial line behind the adapter operations.
class SerialPort final : public AdapterPort {
public:
    explicit SerialPort(const std::string& location) : location_(location) {
        port_.setPortName(QString::fromStdString(location));
    }
    ~SerialPort() override { Close(); }

    bool Open() {
        if (!port_.open(QIODevice::ReadWrite))
            return false;
        port_.setFlowControl(QSerialPort::NoFlowControl);
        return true;
    }

    int Close() override {
        if (!port_.isOpen())
            return FT_INVALID_HANDLE;
        GiveBackLatency();
        port_.close();
        return dead_ ? FT_IO_ERROR : FT_OK;
    }

    int Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override {
        got = 0;
        if (const int status = Check(); status != FT_OK)
            return status;
        if (port_.bytesAvailable() < count)
            port_.waitForReadyRead(0);
        const qint64 n = port_.read(reinterpret_cast<char*>(buffer), count);
        if (n > 0)
            got = static_cast<std::uint32_t>(n);
        return Settle(n >= 0);
    }

    int Write(const std::uint8_t* buffer, std::uint32_t count, std::uint32_t& written) override {
        written = 0;
        if (const int status = Check(); status != FT_OK)
            return status;
        // Push the bytes to the system now: the caller times the reply from here.
        const int boundMs =
            50 + static_cast<int>(count * 10000.0 / std::max(port_.baudRate(), 300));
        // Straight to the line where the platform allows it and nothing is
        // queued before: no notifier to arm, no event-loop round trip.
        if (port_.bytesToWrite() == 0) {
            const qint64 direct = SerialBackendPlatform::WriteNow(
                port_.handle(), reinterpret_cast<const char*>(buffer), count, boundMs);
            if (direct == SerialBackendPlatform::WriteFailed) {
                dead_ = true;
                return FT_IO_ERROR;
            }
            if (direct >= 0) {
                written = static_cast<std::uint32_t>(direct);
                return FT_OK;
            }
        }
        const qint64 queued = port_.write(reinterpret_cast<const char*>(buffer), count);
        if (queued < 0)
            return Settle(false);
        while (port_.bytesToWrite() > 0 && port_.waitForBytesWritten(boundMs)) {
        }
        written = static_cast<std::uint32_t>(std::max<qint64>(0, queued - port_.bytesToWrite()));
        return Settle(true);
    }

    int SetBaudRate(std::uint32_t baud) override {
        if (const int status = Check(); status != FT_OK)
            return status;
        return Settle(port_.setBaudRate(static_cast<qint32>(baud)), FT_INVALID_PARAMETER);
    }

    int SetDataCharacteristics(std::uint8_t wordLength, std::uint8_t stopBits,
                               std::uint8_t parity) override {
        if (const int status = Check(); status != FT_OK)
            return status;
        static const QSerialPort::Parity parities[] = {
            QSerialPort::NoParity, QSerialPort::OddParity, QSerialPort::EvenParity,
            QSerialPort::MarkParity, QSerialPort::SpaceParity};
        if ((wordLength != 7 && wordLength != 8) || (stopBits != 0 && stopBits != 2) || parity > 4)
            return FT_INVALID_PARAMETER;
        const bool ok =
            port_.setDataBits(wordLength == 7 ? QSerialPort::Data7 : QSerialPort::Data8) &&
            port_.setParity(parities[parity]) &&
            port_.setStopBits(stopBits == 0 ? QSerialPort::OneStop : QSerialPort::TwoStop);
        return Settle(ok, FT_INVALID_PARAMETER);
    }

    // Lines without modem control (a pseudo-terminal) refuse these; that is not fatal.
    int SetRts(bool on) override {
        if (const int status = Check(); status != FT_OK)
            return status;
        return Settle(port_.setRequestToSend(on));
    }

    int SetDtr(bool on) override {
        if (const int status = Check(); status != FT_OK)
            return status;
        return Settle(port_.setDataTerminalReady(on));
    }

    int Purge(std::uint32_t mask) override {
        if (const int status = Check(); status != FT_OK)
            return status;
        QSerialPort::Directions directions;
        if ((mask & 1) != 0)
            directions |= QSerialPort::Input;
        if ((mask & 2) != 0)
            directions |= QSerialPort::Output;
        return Settle(port_.clear(directions));
    }

    int QueueStatus(std::uint32_t& rxBytes) override {
        rxBytes = 0;
        if (const int status = Check(); status != FT_OK)
            return status;
        // While Qt holds received bytes the caller has those to read first.
        // Otherwise one look at the line: Qt is asked to pull bytes in only
        // when some wait, and the same look tells whether the line hung up.
        SerialBackendPlatform::LineState line;
        if (port_.bytesAvailable() == 0) {
            line = SerialBackendPlatform::PollLine(port_.handle());
            if (!line.known || line.readable)
                port_.waitForReadyRead(0);
        }
        if (const int status = Settle(true); status != FT_OK)
            return status;
        if (port_.bytesAvailable() == 0 && line.hungUp) {
            dead_ = true;
            return FT_IO_ERROR;
        }
        rxBytes = static_cast<std::uint32_t>(std::min<qint64>(port_.bytesAvailable(), 0xFFFFFFFF));
        return FT_OK;
    }

    int SetBreak(bool on) override {
        if (const int status = Check(); status != FT_OK)
            return status;
        return Settle(port_.setBreakEnabled(on));
    }

    int Status(std::uint32_t& rxBytes, std::uint32_t& txBytes, std::uint32_t& events) override {
        events = 0;
        const int status = QueueStatus(rxBytes);
        txBytes = status == FT_OK ? static_cast<std::uint32_t>(port_.bytesToWrite()) : 0;
        return status;
    }

    int SetLowLatency(bool on) override {
        if (const int status = Check(); status != FT_OK)
            return status;
        if (!on) {
            GiveBackLatency();
            return FT_OK;
        }
        if (lowLatency_)
            return FT_OK;
        lowLatency_ = true;
        latency_ = SerialLatency::RequestLowest(port_.handle(), location_);
        // Where the driver reads its setting when the port opens, open it again.
        if (latency_.Changed() && SerialLatency::TakesEffectOnOpen()) {
            port_.close();
            if (!Open()) {
                dead_ = true;
                return FT_IO_ERROR;
            }
        }
        return FT_OK;
    }

private:
    void GiveBackLatency() {
        if (!lowLatency_)
            return;
        lowLatency_ = false;
        SerialLatency::Restore(port_.handle(), latency_);
        latency_ = {};
    }

    int Check() const {
        if (!port_.isOpen())
            return FT_INVALID_HANDLE;
        return dead_ ? FT_IO_ERROR : FT_OK;
    }

    // Status of the call just made: a fatal port error marks the line gone;
    // other errors (a timeout of a zero wait, an operation the line does not
    // offer) are cleared so they do not stick to later calls.
    int Settle(bool ok, int failure = FT_IO_ERROR) {
        const QSerialPort::SerialPortError error = port_.error();
        if (Fatal(error)) {
            dead_ = true;
            return FT_IO_ERROR;
        }
        if (error != QSerialPort::NoError)
            port_.clearError();
        return ok ? FT_OK : failure;
    }

    std::string location_;
    QSerialPort port_;
    bool dead_ = false;
    bool lowLatency_ = false;
    SerialLatency::Previous latency_;
};

std::string LastName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string SerialBackend::SerialForPath(const std::string& path) {
    std::string name;
    for (char c : LastName(path))
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            name.push_back(c);
    const std::size_t room = ListedSerialLength - 6;
    if (name.size() > room)
        name.erase(0, name.size() - room);
    return "AXPORT" + name;
}

std::string SerialBackend::AddPath(const std::string& path) {
    std::string serial = SerialForPath(path);
    for (const Named& named : paths_)
        if (named.path == path)
            return named.serial;
    // Two paths ending alike: tell them apart by a running number.
    for (int n = 2; std::any_of(paths_.begin(), paths_.end(),
                                [&](const Named& named) { return named.serial == serial; });
         ++n)
        serial = SerialForPath(path).substr(0, ListedSerialLength - 2) + std::to_string(n % 100);
    paths_.push_back(Named{serial, path});
    return serial;
}

int SerialBackend::List(std::vector<AdapterListing>& adapters) {
    adapters.clear();
    if (listSystemPorts_)
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
            adapters.push_back(AdapterListing{info.serialNumber().toStdString(),
                                              info.description().toStdString()});
    for (const Named& named : paths_)
        adapters.push_back(AdapterListing{named.serial, "Tessra2 adapter at " + named.path});
    return FT_OK;
}

std::string SerialBackend::Locate(const std::string& serial) const {
    if (serial.empty())
        return {};
    const auto matches = [&serial](const std::string& listed) {
        return listed == serial ||
               (serial.size() == ListedSerialLength && listed.rfind(serial, 0) == 0);
    };
    for (const Named& named : paths_)
        if (matches(named.serial))
            return named.path;
    if (listSystemPorts_)
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
            if (matches(info.serialNumber().toStdString()))
                return info.systemLocation().toStdString();
    return {};
}

bool SerialBackend::IsPresent(const std::string& serial) {
    for (const Named& named : paths_)
        if (named.serial == serial)
            return QFileInfo::exists(QString::fromLocal8Bit(named.path.c_str()));
    return !Locate(serial).empty();
}

std::unique_ptr<AdapterPort> SerialBackend::OpenBySerial(const std::string& serial) {
    const std::string location = Locate(serial);
    if (location.empty())
        return nullptr;
    auto port = std::make_unique<SerialPort>(location);
    if (!port->Open())
        return nullptr;
    return port;
}
