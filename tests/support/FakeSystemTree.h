#pragma once

// A Linux system for the connection checks, laid out in a temporary
// folder: the files below /dev, /sys, /proc, /etc, /run and /lib that the
// checks read, and the ids and environment the process would have.
//
//     FakeSystemTree tree;          // a user "alice", no adapter, no services
//     tree.PlugFtdiAdapter("1-1", "AX1234", "ttyUSB0");
//     tree.JoinDialout();
//     auto findings = ConnectionDoctor::Diagnose(tree);
//
// Files the test creates belong to the user running it; the fake user is
// another one, and the fake dialout group is the group those files carry,
// so the mode bits decide what the fake user may open, as on a real system.

#include "diag/ConnectionDoctor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

class FakeSystemTree : public ConnectionDoctor::DoctorSystem {
public:
    static constexpr unsigned UserGroup = 4100;

    FakeSystemTree() {
        const QFileInfo rootInfo(dir_.path());
        fileGroup_ = rootInfo.groupId();
        // A user that owns none of the files (and is not root).
        uid_ = rootInfo.ownerId() + 4242;
        groups_ = {UserGroup};
        Write("/etc/passwd", QStringLiteral("root:x:0:0:root:/root:/bin/bash\n"
                                            "alice:x:%1:%2:Alice:/home/alice:/bin/bash\n")
                                 .arg(uid_)
                                 .arg(UserGroup));
        SetDialoutMembers(QString());
        MakeFolder("/dev");
        MakeFolder("/proc/1");
        Write("/proc/1/comm", "systemd\n");
    }

    // DoctorSystem
    QString Root() const override { return dir_.path(); }
    unsigned UserId() const override { return uid_; }
    QList<unsigned> GroupIds() const override { return groups_; }
    QString Environment(const char* name) const override { return environment_.value(name); }

    bool Valid() const { return dir_.isValid(); }
    QString Path(const QString& absolute) const { return dir_.path() + absolute; }
    void MakeFolder(const QString& absolute) const { QDir().mkpath(Path(absolute)); }
    void Write(const QString& absolute, const QString& text,
               QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadGroup | QFileDevice::ReadOther) const {
        MakeFolder(QFileInfo(absolute).path());
        QFile file(Path(absolute));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(text.toUtf8());
        file.close();
        file.setPermissions(mode);
    }

    // The group dialout in /etc/group, with the given members ("alice").
    void SetDialoutMembers(const QString& members) const {
        Write("/etc/group", QStringLiteral("root:x:0:\ndialout:x:%1:%2\nalice:x:%3:\n")
                                .arg(fileGroup_)
                                .arg(members)
                                .arg(UserGroup));
    }
    // Listed in /etc/group and held by the process.
    void JoinDialout() {
        SetDialoutMembers(QStringLiteral("alice"));
        groups_ << fileGroup_;
    }
    void RunAsRoot() { uid_ = 0; }
    void SetEnvironment(const char* name, const QString& value) { environment_.insert(name, value); }

    // An FTDI adapter on USB port name, with its terminal in /sys and /dev
    // (node mode 0660, group dialout) and its latency timer (mode 0644, root's).
    void PlugFtdiAdapter(const QString& name, const QString& serial, const QString& tty,
                         int latencyMs = 1, bool withNode = true) const {
        const QString device = QStringLiteral("/sys/bus/usb/devices/") + name;
        Write(device + "/idVendor", "0403\n");
        Write(device + "/idProduct", "6001\n");
        Write(device + "/product", "FT232R USB UART\n");
        if (!serial.isEmpty())
            Write(device + "/serial", serial + '\n');
        MakeFolder(device + '/' + name + ":1.0/" + tty);
        Write("/sys/bus/usb-serial/devices/" + tty + "/latency_timer",
              QString::number(latencyMs) + '\n');
        if (withNode)
            Write("/dev/" + tty, QString(),
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                      QFileDevice::WriteGroup);
    }
    // Another USB device (a hub, a mouse) that the checks must pass over.
    void PlugOtherUsbDevice(const QString& name, const QString& vendor) const {
        Write("/sys/bus/usb/devices/" + name + "/idVendor", vendor + '\n');
        MakeFolder("/sys/bus/usb/devices/" + name + ':' + "1.0");
    }
    void StartProcess(int pid, const QString& comm) const {
        Write(QStringLiteral("/proc/%1/comm").arg(pid), comm + '\n');
    }
    void AddRule(const QString& absolute, const QString& text) const { Write(absolute, text); }

private:
    QTemporaryDir dir_;
    unsigned uid_ = 0;
    unsigned fileGroup_ = 0;
    QList<unsigned> groups_;
    QMap<QByteArray, QString> environment_;
};
