#pragma once

// What the connection checks read of a Linux system, below the root folder
// a DoctorSystem names: device nodes, the kernel's device tree, the
// process list, the group and user files and the udev rules. Every read is
// of a small file; nothing is written and no command is run.

#include "diag/ConnectionDoctor.h"

#if defined(__linux__)

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace ConnectionDoctor {

// The FTDI vendor id, as the device tree and udev rules write it.
inline constexpr char FtdiVendor[] = "0403";

class LinuxTree {
public:
    explicit LinuxTree(const DoctorSystem& system);

    // The path of an absolute system path ("/dev/ttyUSB0") below the root.
    QString Below(const QString& absolute) const;
    // The file's text without the trailing line end; nothing when it
    // cannot be read.
    std::optional<QString> ReadText(const QString& absolute) const;
    bool Exists(const QString& absolute) const;
    // Names of the entries of a folder, sorted; empty when there is none.
    QStringList Entries(const QString& absoluteFolder, const QStringList& patterns = {}) const;

    // Process ids whose command name is name (from /proc/<pid>/comm).
    QStringList ProcessesNamed(const QString& name) const;

    struct Group {
        QString name;
        unsigned id = 0;
        QStringList members;
    };
    std::optional<Group> GroupNamed(const QString& name) const;
    // The user's name from /etc/passwd; empty when the user id is not listed.
    QString UserName() const;
    bool IsRoot() const;
    bool HoldsGroup(unsigned groupId) const;
    // From the file's owner, group and mode: may the process open it for
    // reading and writing (writing only).
    bool MayReadAndWrite(const QString& absolute) const;
    bool MayWrite(const QString& absolute) const;

    // One line of a udev rule, without its comments.
    struct RuleLine {
        QString file; // absolute path of the rules file
        QString text;
    };
    // The lines of every effective rules file (a file in /etc/udev/rules.d
    // replaces one of the same name in /run or /lib), in the order udev
    // reads the files.
    QList<RuleLine> RuleLines() const;

    // A usb-serial port of the device tree (/sys/bus/usb-serial/devices/<tty>).
    struct SerialPort {
        QString tty;          // "ttyUSB0"
        QString latencyFile;  // absolute; empty when the driver has no timer
        int latencyMs = -1;   // -1 when the timer cannot be read
    };
    QList<SerialPort> SerialPorts() const;

    // A USB device of the device tree (/sys/bus/usb/devices/<name>).
    struct UsbDevice {
        QString name;     // "1-1.2"
        QString vendor;   // "0403"
        QString product;  // product id
        QString productName;
        QString serial;   // empty when it has none
        QStringList ttys; // terminals of its interfaces, "ttyUSB0"
    };
    QList<UsbDevice> UsbDevices() const;

private:
    bool MayAccess(const QString& absolute, bool read, bool write) const;

    const DoctorSystem& system_;
    QString root_;
};

} // namespace ConnectionDoctor

#endif
