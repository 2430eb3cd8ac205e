#include "diag/LinuxTree_linux.h"

#if defined(__linux__)

#include "ui/SmallFile.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <algorithm>

namespace ConnectionDoctor {

namespace {

// Attribute files of the device tree and the process list are a few bytes;
// group, user and rules files a few kilobytes. Anything larger is not what
// the checks look for.
constexpr qint64 MaxAttributeBytes = 64 * 1024;
constexpr qint64 MaxTableBytes = 4 * 1024 * 1024;

// The folders udev reads its rules from; a file of the same name in an
// earlier folder replaces the later ones.
const char* const RuleFolders[] = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                   "/usr/local/lib/udev/rules.d", "/lib/udev/rules.d",
                                   "/usr/lib/udev/rules.d"};

QString WithoutLineEnd(QString text) {
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    return text;
}

std::optional<QString> ReadFile(const QString& path, qint64 maxBytes) {
    const std::optional<QByteArray> bytes = ReadSmallFile(path, maxBytes);
    if (!bytes)
        return std::nullopt;
    return QString::fromUtf8(*bytes);
}

// Lines of a table file; lines are cut at '#' when comments is true.
QStringList TableLines(const QString& text, bool comments) {
    QStringList lines;
    QString pending;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        QString line = raw;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        // udev joins a line that ends in a backslash with the next one.
        if (comments && line.endsWith(QLatin1Char('\\'))) {
            line.chop(1);
            pending += line;
            continue;
        }
        line = pending + line;
        pending.clear();
        if (comments && line.trimmed().startsWith(QLatin1Char('#')))
            continue;
        if (!line.trimmed().isEmpty())
            lines << line;
    }
    if (!pending.trimmed().isEmpty())
        lines << pending;
    return lines;
}

} // namespace

LinuxTree::LinuxTree(const DoctorSystem& system) : system_(system), root_(system.Root()) {
    while (root_.endsWith(QLatin1Char('/')))
        root_.chop(1);
}

QString LinuxTree::Below(const QString& absolute) const {
    return root_ + absolute;
}

std::optional<QString> LinuxTree::ReadText(const QString& absolute) const {
    const std::optional<QString> text = ReadFile(Below(absolute), MaxAttributeBytes);
    if (!text)
        return std::nullopt;
    return WithoutLineEnd(*text);
}

bool LinuxTree::Exists(const QString& absolute) const {
    return QFileInfo::exists(Below(absolute));
}

QStringList LinuxTree::Entries(const QString& absoluteFolder, const QStringList& patterns) const {
    QDir folder(Below(absoluteFolder));
    QStringList names = folder.entryList(patterns, QDir::AllEntries | QDir::System |
                                                       QDir::NoDotAndDotDot | QDir::Hidden,
                                         QDir::Name);
    return names;
}

QStringList LinuxTree::ProcessesNamed(const QString& name) const {
    QStringList found;
    QStringList pids = Entries(QStringLiteral("/proc"));
    pids.erase(std::remove_if(pids.begin(), pids.end(),
                              [](const QString& entry) {
                                  bool number = false;
                                  entry.toUInt(&number);
                                  return !number;
                              }),
               pids.end());
    std::sort(pids.begin(), pids.end(),
              [](const QString& a, const QString& b) { return a.toUInt() < b.toUInt(); });
    for (const QString& pid : pids) {
        // A process may end between the listing and the read.
        const std::optional<QString> comm =
            ReadText(QStringLiteral("/proc/%1/comm").arg(pid));
        if (comm && comm->trimmed() == name)
            found << pid;
    }
    return found;
}

std::optional<LinuxTree::Group> LinuxTree::GroupNamed(const QString& name) const {
    const std::optional<QString> text =
        ReadFile(Below(QStringLiteral("/etc/group")), MaxTableBytes);
    if (!text)
        return std::nullopt;
    for (const QString& line : TableLines(*text, false)) {
        // name:password:gid:member,member
        const QStringList fields = line.split(QLatin1Char(':'));
        if (fields.size() < 3 || fields[0] != name)
            continue;
        bool number = false;
        const unsigned id = fields[2].toUInt(&number);
        if (!number)
            continue;
        Group group{name, id, {}};
        if (fields.size() > 3)
            group.members = fields[3].split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (QString& member : group.members)
            member = member.trimmed();
        return group;
    }
    return std::nullopt;
}

QString LinuxTree::UserName() const {
    const std::optional<QString> text =
        ReadFile(Below(QStringLiteral("/etc/passwd")), MaxTableBytes);
    if (!text)
        return {};
    for (const QString& line : TableLines(*text, false)) {
        // name:password:uid:gid:...
        const QStringList fields = line.split(QLatin1Char(':'));
        bool number = false;
        if (fields.size() >= 3 && fields[2].toUInt(&number) == system_.UserId() && number)
            return fields[0];
    }
    return {};
}

bool LinuxTree::IsRoot() const {
    return system_.UserId() == 0;
}

bool LinuxTree::HoldsGroup(unsigned groupId) const {
    return system_.GroupIds().contains(groupId);
}

bool LinuxTree::MayAccess(const QString& absolute, bool read, bool write) const {
    const QFileInfo info(Below(absolute));
    if (!info.exists())
        return false;
    if (IsRoot())
        return true;
    const QFileDevice::Permissions mode = info.permissions();
    // The kernel takes the first class that matches: owner, group, others.
    if (info.ownerId() == system_.UserId())
        return (!read || mode.testFlag(QFileDevice::ReadOwner)) &&
               (!write || mode.testFlag(QFileDevice::WriteOwner));
    if (HoldsGroup(info.groupId()))
        return (!read || mode.testFlag(QFileDevice::ReadGroup)) &&
               (!write || mode.testFlag(QFileDevice::WriteGroup));
    return (!read || mode.testFlag(QFileDevice::ReadOther)) &&
           (!write || mode.testFlag(QFileDevice::WriteOther));
}

bool LinuxTree::MayReadAndWrite(const QString& absolute) const {
    return MayAccess(absolute, true, true);
}

bool LinuxTree::MayWrite(const QString& absolute) const {
    return MayAccess(absolute, false, true);
}

QList<LinuxTree::RuleLine> LinuxTree::RuleLines() const {
    // File name -> absolute path of the file that udev takes for it.
    QMap<QString, QString> effective;
    for (const char* folder : RuleFolders) {
        const QString absoluteFolder = QString::fromLatin1(folder);
        for (const QString& name : Entries(absoluteFolder, {QStringLiteral("*.rules")}))
            if (!effective.contains(name))
                effective.insert(name, absoluteFolder + QLatin1Char('/') + name);
    }
    QList<RuleLine> lines;
    // QMap keeps the names sorted, the order in which udev reads them.
    for (auto file = effective.cbegin(); file != effective.cend(); ++file) {
        // A rule masked by a link to /dev/null reads as empty.
        const std::optional<QString> text = ReadFile(Below(file.value()), MaxTableBytes);
        if (!text)
            continue;
        for (const QString& line : TableLines(*text, true))
            lines.append(RuleLine{file.value(), line});
    }
    return lines;
}

QList<LinuxTree::SerialPort> LinuxTree::SerialPorts() const {
    const QString devices = QStringLiteral("/sys/bus/usb-serial/devices");
    QList<SerialPort> ports;
    for (const QString& tty : Entries(devices)) {
        SerialPort port;
        port.tty = tty;
        const QString file = devices + QLatin1Char('/') + tty + QStringLiteral("/latency_timer");
        if (Exists(file)) {
            port.latencyFile = file;
            bool number = false;
            const int value = ReadText(file).value_or(QString()).trimmed().toInt(&number);
            port.latencyMs = number && value >= 0 ? value : -1;
        }
        ports << port;
    }
    return ports;
}

QList<LinuxTree::UsbDevice> LinuxTree::UsbDevices() const {
    const QString devices = QStringLiteral("/sys/bus/usb/devices");
    QList<UsbDevice> found;
    for (const QString& name : Entries(devices)) {
        const QString folder = devices + QLatin1Char('/') + name;
        // Interfaces ("1-1:1.0") and hubs without a vendor id are no devices.
        const std::optional<QString> vendor = ReadText(folder + QStringLiteral("/idVendor"));
        if (!vendor)
            continue;
        UsbDevice device;
        device.name = name;
        device.vendor = vendor->trimmed().toLower();
        device.product = ReadText(folder + QStringLiteral("/idProduct")).value_or(QString()).trimmed();
        device.productName = ReadText(folder + QStringLiteral("/product")).value_or(QString()).trimmed();
        device.serial = ReadText(folder + QStringLiteral("/serial")).value_or(QString()).trimmed();
        // The terminals sit in the interfaces: <name>:1.0/ttyUSB0.
        for (const QString& interface : Entries(folder, {name + QStringLiteral(":*")}))
            for (const QString& tty :
                 Entries(folder + QLatin1Char('/') + interface, {QStringLiteral("tty*")}))
                if (tty != QLatin1String("tty"))
                    device.ttys << tty;
        found << device;
    }
    return found;
}

} // namespace ConnectionDoctor

#endif
