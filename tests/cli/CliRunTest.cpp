// The command line itself: help, version, bad arguments, the language of
// the messages, and the choice of the adapter.

#include "CliFixture.h"

class CliRun : public CliOnSim {};

TEST_F(CliRun, HelpAndVersionNeedNoGauge) {
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_TRUE(out.contains("Exit codes")) << out.toStdString();
    EXPECT_TRUE(out.contains("config read [--json]")) << out.toStdString();
    EXPECT_TRUE(out.contains("--simulate")) << out.toStdString();
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_TRUE(out.startsWith("tessra2-cli ")) << out.toStdString();
}

TEST_F(CliRun, BadArgumentsAreBadInput) {
    AddGauge();
    EXPECT_EQ(Run({"--bogus", "info"}), 2);
    EXPECT_EQ(Run({}), 2);
    EXPECT_EQ(Run({"bogus"}), 2);
    EXPECT_TRUE(err.startsWith("Unknown command: bogus")) << err.toStdString();
    EXPECT_EQ(Run({"info", "--json"}), 2);
    EXPECT_TRUE(err.contains("--json does not apply to the command info.")) << err.toStdString();
    EXPECT_EQ(Run({"measure", "--csv", "--jsonl"}), 2);
    EXPECT_EQ(Run({"measure", "--count", "0"}), 2);
    EXPECT_EQ(Run({"measure", "--interval", "soon"}), 2);
    EXPECT_EQ(Run({"factory-reset", "--heating", "maybe"}), 2);
    EXPECT_EQ(Run({"clock"}), 2);
    EXPECT_EQ(Run({"send"}), 2);
    EXPECT_EQ(Run({"--simulate=3", "list"}), 2);
    EXPECT_EQ(Run({"--simulate", "--port", "/dev/null", "list"}), 2);
    // None of them reached the gauge.
    EXPECT_TRUE(backend.Gauge().Commands().empty());
}

TEST_F(CliRun, MessagesAreInTheChosenLanguage) {
    EXPECT_EQ(Run({"--language", "de", "config", "set", "FOO=1"}), 2);
    EXPECT_EQ(err.trimmed(), QString::fromUtf8("Unbekannter Schlüssel: FOO"));
    EXPECT_EQ(Run({"--language", "fr", "config", "set", "FOO=1"}), 2);
    EXPECT_EQ(err.trimmed(), QString::fromUtf8("Clé inconnue : FOO"));
    EXPECT_EQ(Run({"config", "set", "FOO=1"}), 2);
    EXPECT_EQ(err.trimmed(), "Unknown key: FOO");
    EXPECT_EQ(Run({"--language", "xx", "info"}), 2);
    EXPECT_EQ(err.trimmed(), "Unknown language: xx (de, en, fr, es, ru, tr)");
    // The caller's language is left as it was.
    EXPECT_EQ(LanguageOffset, OffsetGerman);
}

TEST_F(CliRun, AGaugeThatDoesNotAnswerIsExitCodeThree) {
    AddGauge().Faults().silent = true;
    EXPECT_EQ(Run({"info"}), 3);
    EXPECT_TRUE(err.startsWith("Not possible to connect to Axo Tessra2.")) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
}

TEST_F(CliRun, WithoutAnAdapterNothingCanBeDone) {
    EXPECT_EQ(Run({"list"}), 0);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(Run({"config", "read"}), 3);
    EXPECT_TRUE(err.startsWith("Not possible to connect to Axo Tessra2.")) << err.toStdString();
}

TEST_F(CliRun, SeveralAdaptersNeedTheSerialNumber) {
    AddGauge(1);
    AddGauge(2);
    EXPECT_EQ(Run({"info"}), 2);
    EXPECT_EQ(err.trimmed(),
              "Several adapters are connected; choose one with --serial: AX1, AX2");
    EXPECT_EQ(Run({"--serial", "AX2", "info"}), 0) << err.toStdString();
    EXPECT_EQ(OutLines().value(0), "Axo Tessra2 S");
    EXPECT_TRUE(backend.Gauge(0).Commands().empty());
    EXPECT_EQ(Run({"--serial", "AX7", "info"}), 3);
    EXPECT_EQ(err.trimmed(), "No adapter with the serial number AX7 is connected.");
}
