// doctor: the connection checks against a fake system, in the chosen language.

#include "CliFixture.h"
#include "diag/ConnectionDiagnosis.h"

#if defined(__linux__)

#include "support/FakeSystemTree.h"

class CliDoctor : public CliOnSim {};

TEST_F(CliDoctor, NothingWrongPrintsEveryCheckAndExitsZero) {
    FakeSystemTree tree;
    tree.JoinDialout();
    tree.PlugFtdiAdapter("1-1", "AX3K2B9Q", "ttyUSB0");
    const ConnectionDoctor::ScopedDiagnosedSystem diagnosed(&tree);
    SimGauge& gauge = AddGauge();
    EXPECT_EQ(Run({"doctor"}), 0);
    const QStringList lines = OutLines();
    ASSERT_EQ(lines.size(), 13) << out.toStdString();
    EXPECT_EQ(lines[0], "[OK] Access to the adapter");
    EXPECT_EQ(lines.last(), "No problem found.");
    // The doctor never talks to a gauge.
    EXPECT_TRUE(gauge.Commands().empty());
}

TEST_F(CliDoctor, AProblemIsPrintedWithItsFixAndExitsOne) {
    FakeSystemTree tree;
    tree.JoinDialout();
    tree.PlugFtdiAdapter("1-2", "A50285BI", "ttyUSB1");
    const ConnectionDoctor::ScopedDiagnosedSystem diagnosed(&tree);
    EXPECT_EQ(Run({"--language", "de", "doctor"}), 1);
    const QStringList lines = OutLines();
    const qsizetype heading = lines.indexOf(QString::fromUtf8("[PROBLEM] Erkennung des Adapters"));
    ASSERT_GE(heading, 0) << out.toStdString();
    {
        LanguageScope german(OffsetGerman);
        EXPECT_EQ(lines[heading + 1].trimmed(), GetText(892).arg("FT232R USB UART", "A50285BI"));
        EXPECT_EQ(lines[heading + 2].trimmed(), GetText(861) + " " + GetText(893).arg("/dev/ttyUSB1"));
    }
    EXPECT_TRUE(lines[heading + 2].endsWith("tessra2 --port /dev/ttyUSB1"));
}

TEST_F(CliDoctor, TakesNoArguments) {
    EXPECT_EQ(Run({"doctor", "now"}), 2);
}

#endif
