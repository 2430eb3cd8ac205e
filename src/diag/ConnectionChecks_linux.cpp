// The connection checks on Linux, each from the files LinuxTree reads.

#include "diag/ConnectionDoctor.h"

#if defined(__linux__)

#include "diag/LinuxTree_linux.h"
#include "ui/WideLanguageHandler.h"

#include <QRegularExpression>

namespace ConnectionDoctor {

namespace {

// Texts of the findings.
enum TextId : int {
    MayOpenNodes = 862,
    InDialout = 863,
    AccessRule = 864,
    RunsAsRoot = 865,
    NodeNotOpenable = 866,
    AccessFix = 867,
    MembershipNotActive = 868,
    MembershipFix = 869,
    AdaptersNotOpenable = 870,
    NoBrltty = 871,
    BrlttyRunning = 872,
    BrlttyRule = 873,
    BrlttyFix = 874,
    NoModemManager = 875,
    ModemManagerIgnores = 876,
    ModemManagerRunning = 877,
    ModemManagerFix = 878,
    NoLatencyTimer = 879,
    LatencyLow = 880,
    LatencyLowered = 881,
    LatencyHigh = 882,
    LatencyFix = 883,
    NoSandbox = 884,
    SandboxSeesAdapters = 885,
    SandboxWithoutDevices = 886,
    SandboxFix = 887,
    NodesMissing = 888,
    SandboxNothingToSee = 889,
    NoFtdiAdapter = 890,
    AllRecognised = 891,
    NotRecognised = 892,
    PortFix = 893,
    PortFixAnyDevice = 894,
};

// The lowest value of an FTDI latency timer; the program asks for it.
constexpr int LowestLatencyMs = 1;

const QString Dialout = QStringLiteral("dialout");

Finding Make(Check check, CheckState state, const QString& cause, const QString& fix = {}) {
    return Finding{check, CheckName(check), state, cause, fix};
}

// A udev rule line that matches FTDI devices by their vendor id
// (ATTRS{idVendor}=="0403", ATTR{idVendor}=="0403" or ENV{ID_VENDOR_ID}=="0403").
bool NamesFtdi(const QString& line) {
    static const QRegularExpression vendor(
        QStringLiteral(R"((ATTRS?\{idVendor\}|ENV\{ID_VENDOR_ID\})\s*==\s*"0403")"));
    return vendor.match(line).hasMatch();
}

// An assignment of the rule line: KEY="value" or KEY+="value".
bool Assigns(const QString& line, const QString& key, const QString& value) {
    const QRegularExpression assignment(QRegularExpression::escape(key) +
                                        QStringLiteral(R"re(\s*\+?=\s*"([^"]*)")re"));
    for (auto match = assignment.globalMatch(line); match.hasNext();) {
        const QStringList values = match.next().captured(1).split(QRegularExpression(
            QStringLiteral("[ ,]")), Qt::SkipEmptyParts);
        if (values.contains(value))
            return true;
    }
    return false;
}

// The first rules file with a line for FTDI devices that satisfies test.
template <typename Test>
QString FtdiRuleFile(const QList<LinuxTree::RuleLine>& lines, Test test) {
    for (const LinuxTree::RuleLine& line : lines)
        if (NamesFtdi(line.text) && test(line.text))
            return line.file;
    return {};
}

// A rule that lets the user open FTDI adapters without the group: the
// seat's user (uaccess) or everybody (mode 0666).
bool GrantsAccess(const QString& line) {
    static const QRegularExpression everybody(QStringLiteral(R"(MODE\s*:?=\s*"0?666")"));
    return Assigns(line, QStringLiteral("TAG"), QStringLiteral("uaccess")) ||
           everybody.match(line).hasMatch();
}

QStringList DeviceNodes(const LinuxTree& tree) {
    QStringList nodes;
    for (const QString& name : tree.Entries(QStringLiteral("/dev"), {QStringLiteral("ttyUSB*")}))
        nodes << QStringLiteral("/dev/") + name;
    return nodes;
}

Finding DeviceAccess(const LinuxTree& tree, const QList<LinuxTree::RuleLine>& rules) {
    const Check check = Check::DeviceAccess;
    if (tree.IsRoot())
        return Make(check, CheckState::Ok, GetText(RunsAsRoot));
    const QStringList nodes = DeviceNodes(tree);
    QString refused;
    for (const QString& node : nodes)
        if (refused.isEmpty() && !tree.MayReadAndWrite(node))
            refused = node;
    if (!nodes.isEmpty() && refused.isEmpty())
        return Make(check, CheckState::Ok, GetText(MayOpenNodes).arg(nodes.join(QStringLiteral(", "))));
    const QString rule = FtdiRuleFile(rules, GrantsAccess);
    if (!rule.isEmpty())
        return Make(check, CheckState::Ok, GetText(AccessRule).arg(rule));

    const std::optional<LinuxTree::Group> dialout = tree.GroupNamed(Dialout);
    const bool holdsDialout = dialout && tree.HoldsGroup(dialout->id);
    if (nodes.isEmpty() && holdsDialout)
        return Make(check, CheckState::Ok, GetText(InDialout));
    const QString user = tree.UserName();
    if (dialout && !holdsDialout && !user.isEmpty() && dialout->members.contains(user))
        return Make(check, CheckState::Problem, GetText(MembershipNotActive), GetText(MembershipFix));
    return Make(check, CheckState::Problem,
                refused.isEmpty() ? GetText(AdaptersNotOpenable) : GetText(NodeNotOpenable).arg(refused),
                GetText(AccessFix));
}

Finding Brltty(const LinuxTree& tree, const QList<LinuxTree::RuleLine>& rules) {
    const Check check = Check::Brltty;
    const QStringList running = tree.ProcessesNamed(QStringLiteral("brltty"));
    if (!running.isEmpty())
        return Make(check, CheckState::Problem, GetText(BrlttyRunning).arg(running.join(QStringLiteral(", "))),
                    GetText(BrlttyFix));
    // brltty's own rules name the devices as ENV{PRODUCT}=="403/6001/*".
    static const QRegularExpression ftdiProduct(QStringLiteral(R"(PRODUCT\}\s*==\s*"0?403/)"));
    for (const LinuxTree::RuleLine& line : rules) {
        const QString file = line.file.mid(line.file.lastIndexOf(QLatin1Char('/')) + 1);
        if (file.contains(QLatin1String("brltty")) &&
            (ftdiProduct.match(line.text).hasMatch() || NamesFtdi(line.text)))
            return Make(check, CheckState::Problem, GetText(BrlttyRule).arg(line.file), GetText(BrlttyFix));
    }
    return Make(check, CheckState::Ok, GetText(NoBrltty));
}

Finding ModemManager(const LinuxTree& tree, const QList<LinuxTree::RuleLine>& rules) {
    const Check check = Check::ModemManager;
    const QStringList running = tree.ProcessesNamed(QStringLiteral("ModemManager"));
    if (running.isEmpty())
        return Make(check, CheckState::Ok, GetText(NoModemManager));
    const QString ignoring = FtdiRuleFile(rules, [](const QString& line) {
        return Assigns(line, QStringLiteral("ENV{ID_MM_DEVICE_IGNORE}"), QStringLiteral("1"));
    });
    if (!ignoring.isEmpty())
        return Make(check, CheckState::Ok, GetText(ModemManagerIgnores).arg(ignoring));
    return Make(check, CheckState::Problem,
                GetText(ModemManagerRunning).arg(running.join(QStringLiteral(", "))),
                GetText(ModemManagerFix));
}

Finding LatencyTimer(const LinuxTree& tree) {
    const Check check = Check::LatencyTimer;
    QStringList problems, fixes;
    QString lowered, low;
    for (const LinuxTree::SerialPort& port : tree.SerialPorts()) {
        if (port.latencyMs < 0)
            continue;
        const QString ms = QString::number(port.latencyMs);
        if (port.latencyMs <= LowestLatencyMs) {
            if (low.isEmpty())
                low = GetText(LatencyLow).arg(port.tty, ms);
        } else if (tree.MayWrite(port.latencyFile)) {
            // The serial backend lowers a timer it may write while the port is open.
            if (lowered.isEmpty())
                lowered = GetText(LatencyLowered).arg(port.tty, ms);
        } else {
            problems << GetText(LatencyHigh).arg(port.tty, ms);
            fixes << GetText(LatencyFix).arg(port.latencyFile);
        }
    }
    if (!problems.isEmpty())
        return Make(check, CheckState::Problem, problems.join(QLatin1Char('\n')), fixes.join(QLatin1Char('\n')));
    if (!lowered.isEmpty())
        return Make(check, CheckState::Ok, lowered);
    if (!low.isEmpty())
        return Make(check, CheckState::Ok, low);
    return Make(check, CheckState::NotApplicable, GetText(NoLatencyTimer));
}

// The kind of sandbox the process runs in, from the marks each leaves;
// empty outside one.
QString SandboxKind(const LinuxTree& tree, const DoctorSystem& system) {
    if (tree.Exists(QStringLiteral("/.flatpak-info")))
        return QStringLiteral("Flatpak");
    if (!system.Environment("SNAP_NAME").isEmpty() || !system.Environment("SNAP").isEmpty())
        return QStringLiteral("Snap");
    if (tree.Exists(QStringLiteral("/run/.containerenv")))
        return QStringLiteral("Podman");
    if (tree.Exists(QStringLiteral("/.dockerenv")))
        return QStringLiteral("Docker");
    return {};
}

Finding Sandbox(const LinuxTree& tree, const DoctorSystem& system) {
    const Check check = Check::Sandbox;
    const QString kind = SandboxKind(tree, system);
    QStringList known, missing;
    for (const LinuxTree::SerialPort& port : tree.SerialPorts()) {
        known << port.tty;
        if (!tree.Exists(QStringLiteral("/dev/") + port.tty))
            missing << port.tty;
    }
    const bool noneVisible = !known.isEmpty() && missing.size() == known.size();
    if (noneVisible && !kind.isEmpty())
        return Make(check, CheckState::Problem,
                    GetText(SandboxWithoutDevices).arg(kind, missing.join(QStringLiteral(", "))),
                    GetText(SandboxFix));
    if (noneVisible)
        return Make(check, CheckState::Problem, GetText(NodesMissing).arg(missing.join(QStringLiteral(", "))),
                    GetText(SandboxFix));
    if (kind.isEmpty())
        return Make(check, CheckState::Ok, GetText(NoSandbox));
    if (known.isEmpty())
        return Make(check, CheckState::NotApplicable, GetText(SandboxNothingToSee).arg(kind));
    return Make(check, CheckState::Ok, GetText(SandboxSeesAdapters).arg(kind));
}

Finding Recognition(const LinuxTree& tree) {
    const Check check = Check::Recognition;
    bool anyFtdi = false;
    QStringList problems, fixes;
    for (const LinuxTree::UsbDevice& device : tree.UsbDevices()) {
        if (device.vendor != QLatin1String(FtdiVendor))
            continue;
        anyFtdi = true;
        // The program's adapters are those whose serial number contains "AX".
        if (device.serial.contains(QLatin1String("AX")))
            continue;
        const QString label = device.productName.isEmpty() ? device.name : device.productName;
        problems << GetText(NotRecognised).arg(
            label, device.serial.isEmpty() ? QStringLiteral("-") : device.serial);
        fixes << (device.ttys.isEmpty() ? GetText(PortFixAnyDevice)
                                        : GetText(PortFix).arg(QStringLiteral("/dev/") + device.ttys.first()));
    }
    if (!problems.isEmpty())
        return Make(check, CheckState::Problem, problems.join(QLatin1Char('\n')), fixes.join(QLatin1Char('\n')));
    if (!anyFtdi)
        return Make(check, CheckState::NotApplicable, GetText(NoFtdiAdapter));
    return Make(check, CheckState::Ok, GetText(AllRecognised));
}

} // namespace

QList<Finding> Diagnose(const DoctorSystem& system) {
    const LinuxTree tree(system);
    const QList<LinuxTree::RuleLine> rules = tree.RuleLines();
    return {DeviceAccess(tree, rules), Brltty(tree, rules), ModemManager(tree, rules),
            LatencyTimer(tree),        Sandbox(tree, system), Recognition(tree)};
}

} // namespace ConnectionDoctor

#endif
