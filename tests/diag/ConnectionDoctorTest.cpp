// The connection checks against fake Linux trees: one tree per cause, and
// one with nothing wrong. Expected texts are the language file's texts of
// the finding, looked up by their ids.

#include "diag/ConnectionDoctor.h"

#if defined(__linux__)

#include "support/FakeSystemTree.h"
#include "support/LanguageScope.h"

#include <QTextStream>
#include <gtest/gtest.h>

using namespace ConnectionDoctor;

// Failures show texts as text.
static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

Finding FindingOf(const FakeSystemTree& tree, Check check) {
    for (const Finding& finding : Diagnose(tree))
        if (finding.check == check)
            return finding;
    ADD_FAILURE() << "no finding for check " << static_cast<int>(check);
    return {};
}

// A system on which an adapter of the program works: alice in dialout, the
// adapter's node hers to open, its timer at 1 ms, no brltty, no ModemManager.
class HealthyTree : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tree.Valid());
        tree.JoinDialout();
        tree.PlugFtdiAdapter("1-1", "AX3K2B9Q", "ttyUSB0");
        tree.PlugOtherUsbDevice("usb1", "1d6b");
        tree.StartProcess(412, "NetworkManager");
    }

    LanguageScope english{OffsetEnglish};
    FakeSystemTree tree;
};

} // namespace

TEST_F(HealthyTree, EveryCheckIsOkInTheirFixedOrder) {
    const QList<Finding> findings = Diagnose(tree);
    ASSERT_EQ(findings.size(), 6);
    const QStringList names{"Access to the adapter", "brltty (braille display service)",
                            "ModemManager",          "FTDI latency timer",
                            "Sandbox",               "Adapter recognition"};
    for (int i = 0; i < findings.size(); ++i) {
        EXPECT_EQ(findings[i].name, names[i]);
        EXPECT_EQ(findings[i].state, CheckState::Ok) << findings[i].cause.toStdString();
        EXPECT_TRUE(findings[i].fix.isEmpty());
    }
    EXPECT_EQ(findings[0].cause, GetText(862).arg("/dev/ttyUSB0"));
    EXPECT_EQ(findings[3].cause, GetText(880).arg("ttyUSB0", "1"));
    EXPECT_EQ(findings[5].cause, GetText(891));
    EXPECT_TRUE(ProblemDetails(findings).isEmpty());
}

TEST_F(HealthyTree, DoctorPrintsEachCheckAndReportsNoProblem) {
    QString printed;
    QTextStream out(&printed);
    EXPECT_EQ(RunDoctor(tree, out), 0);
    const QStringList lines = printed.split('\n', Qt::SkipEmptyParts);
    // Per check a line with its state and name, then its cause indented;
    // at the end the summary.
    ASSERT_EQ(lines.size(), 6 * 2 + 1);
    EXPECT_TRUE(lines[0].startsWith("[OK]"));
    EXPECT_TRUE(lines[0].endsWith("Access to the adapter"));
    EXPECT_TRUE(lines[1].startsWith(' '));
    EXPECT_EQ(lines[1].trimmed(), GetText(862).arg("/dev/ttyUSB0"));
    EXPECT_TRUE(lines[10].endsWith("Adapter recognition"));
    EXPECT_EQ(lines.last(), "No problem found.");
}

TEST(ConnectionDoctor, NodeTheUserMayNotOpenWithoutGroupOrRule) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    tree.PlugFtdiAdapter("1-1", "AX3K2B9Q", "ttyUSB0");
    const Finding access = FindingOf(tree, Check::DeviceAccess);
    EXPECT_EQ(access.state, CheckState::Problem);
    EXPECT_EQ(access.cause, GetText(866).arg("/dev/ttyUSB0"));
    EXPECT_EQ(access.fix, GetText(867));
}

TEST(ConnectionDoctor, WithoutAdapterTheMissingGroupIsReportedBeforehand) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    const Finding access = FindingOf(tree, Check::DeviceAccess);
    EXPECT_EQ(access.state, CheckState::Problem);
    EXPECT_EQ(access.cause, GetText(870));
    EXPECT_EQ(access.fix, GetText(867));

    tree.JoinDialout();
    EXPECT_EQ(FindingOf(tree, Check::DeviceAccess).state, CheckState::Ok);
    EXPECT_EQ(FindingOf(tree, Check::DeviceAccess).cause, GetText(863));
}

TEST(ConnectionDoctor, GroupMembershipNotYetActiveAsksToLogInAgain) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    tree.PlugFtdiAdapter("1-1", "AX3K2B9Q", "ttyUSB0");
    // usermod wrote /etc/group, but this session holds the old groups.
    tree.SetDialoutMembers("bob,alice");
    const Finding access = FindingOf(tree, Check::DeviceAccess);
    EXPECT_EQ(access.state, CheckState::Problem);
    EXPECT_EQ(access.cause, GetText(868));
    EXPECT_EQ(access.fix, GetText(869));
}

TEST(ConnectionDoctor, TheProgramsUdevRuleGivesAccessAndSilencesModemManager) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    tree.PlugFtdiAdapter("1-1", "AX3K2B9Q", "ttyUSB0");
    tree.StartProcess(733, "ModemManager");
    QFile shipped(TESSRA_UDEV_RULE);
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    tree.AddRule("/usr/lib/udev/rules.d/60-tessra2-ftdi.rules", QString::fromUtf8(shipped.readAll()));

    const Finding access = FindingOf(tree, Check::DeviceAccess);
    EXPECT_EQ(access.state, CheckState::Ok);
    EXPECT_EQ(access.cause, GetText(864).arg("/usr/lib/udev/rules.d/60-tessra2-ftdi.rules"));
    const Finding modemManager = FindingOf(tree, Check::ModemManager);
    EXPECT_EQ(modemManager.state, CheckState::Ok);
    EXPECT_EQ(modemManager.cause, GetText(876).arg("/usr/lib/udev/rules.d/60-tessra2-ftdi.rules"));

    // The same name in /etc masks the packaged rule (here with a rule that
    // grants nothing), as udev does.
    tree.AddRule("/etc/udev/rules.d/60-tessra2-ftdi.rules", "# disabled\n");
    EXPECT_EQ(FindingOf(tree, Check::DeviceAccess).state, CheckState::Problem);
    EXPECT_EQ(FindingOf(tree, Check::ModemManager).state, CheckState::Problem);
}

TEST(ConnectionDoctor, RunningBrlttyIsAProblem) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    tree.JoinDialout();
    tree.StartProcess(1893, "brltty");
    const Finding brltty = FindingOf(tree, Check::Brltty);
    EXPECT_EQ(brltty.state, CheckState::Problem);
    EXPECT_EQ(brltty.cause, GetText(872).arg("1893"));
    EXPECT_EQ(brltty.fix, GetText(874));
}

TEST(ConnectionDoctor, BrlttyRuleThatClaimsFtdiAdaptersIsAProblemBeforeItRuns) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    tree.AddRule("/lib/udev/rules.d/85-brltty.rules",
                 "# Device: 0403:6001\n"
                 "ENV{PRODUCT}==\"403/6001/*\", ENV{BRLTTY_BRAILLE_DRIVER}=\"at,ht,md,mm\", "
                 "GOTO=\"brltty_usb_run\"\n");
    const Finding brltty = FindingOf(tree, Check::Brltty);
    EXPECT_EQ(brltty.state, CheckState::Problem);
    EXPECT_EQ(brltty.cause, GetText(873).arg("/lib/udev/rules.d/85-brltty.rules"));

    // A brltty rule for other devices only is no problem.
    tree.AddRule("/lib/udev/rules.d/85-brltty.rules",
                 "ENV{PRODUCT}==\"1c71/c005/*\", ENV{BRLTTY_BRAILLE_DRIVER}=\"hw\"\n");
    EXPECT_EQ(FindingOf(tree, Check::Brltty).state, CheckState::Ok);
    EXPECT_EQ(FindingOf(tree, Check::Brltty).cause, GetText(871));
}

TEST(ConnectionDoctor, ModemManagerProbingThePortIsAProblem) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    tree.StartProcess(733, "ModemManager");
    const Finding modemManager = FindingOf(tree, Check::ModemManager);
    EXPECT_EQ(modemManager.state, CheckState::Problem);
    EXPECT_EQ(modemManager.cause, GetText(877).arg("733"));
    EXPECT_EQ(modemManager.fix, GetText(878));
}

TEST(ConnectionDoctor, LatencyTimerAt16msThatTheUserMayNotLower) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    tree.JoinDialout();
    tree.PlugFtdiAdapter("1-1", "AX3K2B9Q", "ttyUSB0", 16);
    const Finding latency = FindingOf(tree, Check::LatencyTimer);
    EXPECT_EQ(latency.state, CheckState::Problem);
    EXPECT_EQ(latency.cause, GetText(882).arg("ttyUSB0", "16"));
    EXPECT_EQ(latency.fix, GetText(883).arg("/sys/bus/usb-serial/devices/ttyUSB0/latency_timer"));
    EXPECT_TRUE(latency.cause.contains("16 ms"));
}

TEST(ConnectionDoctor, LatencyTimerAt16msThatTheProgramLowersItself) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    tree.PlugFtdiAdapter("1-1", "AX3K2B9Q", "ttyUSB0", 16);
    tree.RunAsRoot();
    const Finding latency = FindingOf(tree, Check::LatencyTimer);
    EXPECT_EQ(latency.state, CheckState::Ok);
    EXPECT_EQ(latency.cause, GetText(881).arg("ttyUSB0", "16"));
}

TEST(ConnectionDoctor, FlatpakWithoutDeviceAccess) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    tree.Write("/.flatpak-info", "[Application]\nname=com.axo_gauges.tessra2\n");
    tree.PlugFtdiAdapter("1-1", "AX3K2B9Q", "ttyUSB0", 1, false);
    const Finding sandbox = FindingOf(tree, Check::Sandbox);
    EXPECT_EQ(sandbox.state, CheckState::Problem);
    EXPECT_EQ(sandbox.cause, GetText(886).arg("Flatpak", "ttyUSB0"));
    EXPECT_EQ(sandbox.fix, GetText(887));
}

TEST(ConnectionDoctor, SnapSeenThroughItsEnvironment) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    tree.SetEnvironment("SNAP_NAME", "tessra2");
    tree.PlugFtdiAdapter("1-1", "AX3K2B9Q", "ttyUSB0", 1, false);
    EXPECT_EQ(FindingOf(tree, Check::Sandbox).cause, GetText(886).arg("Snap", "ttyUSB0"));
    // With the nodes visible the sandbox is no problem.
    tree.Write("/dev/ttyUSB0", QString());
    EXPECT_EQ(FindingOf(tree, Check::Sandbox).state, CheckState::Ok);
    EXPECT_EQ(FindingOf(tree, Check::Sandbox).cause, GetText(885).arg("Snap"));
}

TEST(ConnectionDoctor, DeviceNodesMissingWithoutAKnownSandbox) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    tree.PlugFtdiAdapter("1-1", "AX3K2B9Q", "ttyUSB0", 1, false);
    tree.PlugFtdiAdapter("1-2", "AX77", "ttyUSB1", 1, false);
    const Finding sandbox = FindingOf(tree, Check::Sandbox);
    EXPECT_EQ(sandbox.state, CheckState::Problem);
    EXPECT_EQ(sandbox.cause, GetText(888).arg("ttyUSB0, ttyUSB1"));
}

TEST(ConnectionDoctor, FtdiAdapterWithoutAXIsNamedWithThePortThatReachesIt) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    tree.JoinDialout();
    tree.PlugFtdiAdapter("1-1", "AX3K2B9Q", "ttyUSB0");
    tree.PlugFtdiAdapter("1-2", "A50285BI", "ttyUSB1");
    const Finding recognition = FindingOf(tree, Check::Recognition);
    EXPECT_EQ(recognition.state, CheckState::Problem);
    EXPECT_EQ(recognition.cause, GetText(892).arg("FT232R USB UART", "A50285BI"));
    EXPECT_EQ(recognition.fix, GetText(893).arg("/dev/ttyUSB1"));
    EXPECT_TRUE(recognition.fix.endsWith("--port /dev/ttyUSB1"));
}

TEST(ConnectionDoctor, FtdiAdapterWithoutSerialNumberIsNotRecognised) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    tree.PlugFtdiAdapter("3-4", QString(), "ttyUSB2");
    const Finding recognition = FindingOf(tree, Check::Recognition);
    EXPECT_EQ(recognition.state, CheckState::Problem);
    EXPECT_EQ(recognition.cause, GetText(892).arg("FT232R USB UART", "-"));
    EXPECT_EQ(recognition.fix, GetText(893).arg("/dev/ttyUSB2"));
}

TEST(ConnectionDoctor, WithoutAnyAdapterTheAdapterChecksDoNotApply) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    tree.JoinDialout();
    tree.PlugOtherUsbDevice("usb1", "1d6b");
    EXPECT_EQ(FindingOf(tree, Check::LatencyTimer).state, CheckState::NotApplicable);
    EXPECT_EQ(FindingOf(tree, Check::LatencyTimer).cause, GetText(879));
    EXPECT_EQ(FindingOf(tree, Check::Recognition).state, CheckState::NotApplicable);
    EXPECT_EQ(FindingOf(tree, Check::Recognition).cause, GetText(890));
    EXPECT_EQ(FindingOf(tree, Check::Sandbox).state, CheckState::Ok);
}

TEST(ConnectionDoctor, DetailsAndReportNameEveryProblemWithItsFix) {
    LanguageScope english(OffsetEnglish);
    FakeSystemTree tree;
    tree.JoinDialout();
    tree.StartProcess(733, "ModemManager");
    tree.PlugFtdiAdapter("1-2", "A50285BI", "ttyUSB1");

    const QString details = ProblemDetails(Diagnose(tree));
    EXPECT_TRUE(details.contains(GetText(877).arg("733")));
    EXPECT_TRUE(details.contains(GetText(878)));
    EXPECT_TRUE(details.contains(GetText(892).arg("FT232R USB UART", "A50285BI")));
    EXPECT_TRUE(details.contains(GetText(893).arg("/dev/ttyUSB1")));
    // Checks without a problem stay out of the details.
    EXPECT_FALSE(details.contains(GetText(871)));
    EXPECT_FALSE(details.contains(GetText(862).arg("/dev/ttyUSB1")));

    QString printed;
    QTextStream out(&printed);
    EXPECT_EQ(RunDoctor(tree, out), 1);
    const QStringList lines = printed.split('\n', Qt::SkipEmptyParts);
    const qsizetype heading = lines.indexOf("[PROBLEM] ModemManager");
    ASSERT_GE(heading, 0) << printed.toStdString();
    EXPECT_EQ(lines[heading + 1].trimmed(), GetText(877).arg("733"));
    EXPECT_TRUE(lines[heading + 2].startsWith(' '));
    EXPECT_TRUE(lines[heading + 2].contains(GetText(878)));
    EXPECT_EQ(lines.last(), GetText(898));
}

TEST(ConnectionDoctor, FindingsSpeakTheChosenLanguage) {
    FakeSystemTree tree;
    tree.StartProcess(733, "ModemManager");
    LanguageScope german(OffsetGerman);
    const Finding modemManager = FindingOf(tree, Check::ModemManager);
    EXPECT_EQ(modemManager.cause, QString::fromUtf8("ModemManager läuft (Prozess 733): er prüft neue "
                                                    "serielle Schnittstellen mit Modembefehlen und "
                                                    "belegt sie nach dem Einstecken mehrere Sekunden lang."));
    EXPECT_EQ(FindingOf(tree, Check::DeviceAccess).name, "Zugriff auf den Adapter");
    EXPECT_EQ(StateText(CheckState::Problem), "PROBLEM");
    EXPECT_EQ(StateText(CheckState::NotApplicable), "nicht zutreffend");
}

#endif
