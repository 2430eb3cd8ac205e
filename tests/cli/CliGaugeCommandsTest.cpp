// list, info and send.

#include "CliFixture.h"

class CliGaugeCommands : public CliOnSim {};

TEST_F(CliGaugeCommands, ListShowsTheProgramsAdapters) {
    AddGauge();
    backend.AddForeignDevice("FT123", "Some other FTDI device");
    EXPECT_EQ(Run({"list"}), 0);
    EXPECT_EQ(OutLines(), QStringList{"AX1\tTessra2 USB SDI-12 adapter"});
}

TEST_F(CliGaugeCommands, InfoShowsTheIdentificationRows) {
    SimGauge& gauge = AddGauge(1);
    gauge.Gauge().serialNumber = "4711";
    gauge.Gauge().firmwareVersion = "V1.40.2";
    EXPECT_EQ(Run({"info"}), 0) << err.toStdString();
    const QStringList lines = OutLines();
    ASSERT_GE(lines.size(), 8) << out.toStdString();
    EXPECT_EQ(lines[0], "Axo Tessra2 L");
    EXPECT_TRUE(lines.contains("Serial number / HW Index: 4711 / 03")) << out.toStdString();
    EXPECT_TRUE(lines.contains("Firmware version: V1.40.2")) << out.toStdString();
    EXPECT_TRUE(lines.contains("Heating mode: permanent")) << out.toStdString();
}

TEST_F(CliGaugeCommands, SendPrintsTheRawReplyWithoutItsLineEnd) {
    AddGauge(1);
    EXPECT_EQ(Run({"send", "0I!"}), 0) << err.toStdString();
    EXPECT_EQ(out, "013AXO     TESR2L131123456789\n");
    // As the terminal does: the "!" is added when missing.
    EXPECT_EQ(Run({"send", "0I"}), 0);
    EXPECT_EQ(backend.Gauge().Commands().back(), "0I!");
}

TEST_F(CliGaugeCommands, SendWithoutAReplyIsExitCodeThree) {
    AddGauge(1);
    EXPECT_EQ(Run({"send", "5I!"}), 3); // no gauge at address 5
    EXPECT_EQ(err.trimmed(), "The gauge did not answer.");
    EXPECT_TRUE(out.isEmpty());
}
