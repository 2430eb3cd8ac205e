// The wire model: pacing at the line's baud rate, reply latency, line
// settings that do not match, a break in the middle of a command; and the
// in-process backend's adapters.

#include "SimGaugeFixture.h"

using SimGaugeWireTest = SimGaugeTest;

TEST_F(SimGaugeWireTest, BytesTakeTheirWireTimePlusTheLatency) {
    SimGauge& gauge = Open(1, true);
    gauge.Config().replyLatencyMs = 10.0;
    const double start = clock.Peek();
    EXPECT_EQ(Ask("0OUT!"), "00\r\n");
    // Break, marking, five characters out, latency, four characters back.
    const double ideal = 25.0 + 8.33 + 9 * 8.3333 + 10.0;
    EXPECT_GE(clock.Peek() - start, ideal);
    EXPECT_LT(clock.Peek() - start, ideal + 1.0);

    // The gauge sees the command only when its last character has arrived.
    SimGauge direct({1, '0', 0.0, true});
    const std::string command = "0OUT!";
    direct.Receive(reinterpret_cast<const std::uint8_t*>(command.data()), command.size(), 100.0);
    direct.Tick(100.0 + 4 * 8.3334);
    EXPECT_TRUE(direct.Commands().empty());
    EXPECT_NEAR(direct.NextEventMs(), 100.0 + 5 * 1000.0 / 120.0, 1e-9);
    direct.Tick(100.0 + 5 * 8.3334);
    EXPECT_EQ(direct.Commands(), std::vector<std::string>{"0OUT!"});
    EXPECT_EQ(direct.Available(100.0 + 6 * 8.333), 0u);
    EXPECT_EQ(direct.Available(100.0 + 6 * 8.3334), 1u);
    EXPECT_EQ(direct.Available(100.0 + 9 * 8.3334), 4u);
}

TEST_F(SimGaugeWireTest, WrongLineSettingsGarbleTheBytes) {
    SimGauge& gauge = Open(1, false);
    // 8N1 at 1200 baud: the gauge's parity bit arrives as the eighth data bit.
    D2XXDriver::WordLength = 8;
    D2XXDriver::Parity = 0;
    D2XXDriver::SetPortDataCharacteristics();
    EXPECT_EQ(Ask("?!"), "0\x8D\n");
    EXPECT_EQ(gauge.Commands().size(), 1u);
    // Another baud rate: the gauge cannot read the command at all.
    D2XXDriver::WordLength = 7;
    D2XXDriver::Parity = 2;
    D2XXDriver::SetPortDataCharacteristics();
    D2XXDriver::CurrentBaudRate = 9600;
    D2XXDriver::SetPortBaudRate();
    EXPECT_EQ(Ask("?!", 100), "(none)");
    EXPECT_EQ(gauge.Commands().size(), 1u);
    D2XXDriver::CurrentBaudRate = 1200;
    D2XXDriver::SetPortBaudRate();
    EXPECT_EQ(Ask("?!"), "0\r\n");
}

TEST_F(SimGaugeWireTest, ABreakClearsAPartialCommand) {
    SimGauge& gauge = Open(1, false);
    WriteRaw("0OU");
    EXPECT_EQ(Ask("0I!", 200).substr(0, 3), "013");
    EXPECT_EQ(gauge.Commands(), std::vector<std::string>{"0I!"});
    // Without a break the fragment stays and spoils the next command.
    WriteRaw("0OU");
    WriteRaw("0I!");
    clock.Advance(5);
    gauge.Tick(clock.Peek());
    EXPECT_EQ(gauge.Commands().back(), "0OU0I!");
}

TEST_F(SimGaugeWireTest, BackendListsOpensOnceAndUnplugs) {
    backend.AddForeignDevice("FT1", "USB Serial");
    SimGauge& first = backend.AddGauge({});
    SimGauge& second = backend.AddGauge({2, '4', 0.0, false}, "AXTWO", "second adapter");
    EXPECT_EQ(backend.GaugeCount(), 2u);
    EXPECT_EQ(&backend.Gauge(1), &second);
    EXPECT_THROW(backend.Gauge(2), std::out_of_range);
    std::vector<AdapterListing> listed;
    ASSERT_EQ(backend.List(listed), FT_OK);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[1].serialNumber, "AX1");
    EXPECT_EQ(listed[1].description, "Tessra2 USB SDI-12 adapter");
    EXPECT_EQ(listed[2].serialNumber, "AXTWO");

    auto port = backend.OpenBySerial("AX1");
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(backend.OpenBySerial("AX1"), nullptr); // already open
    EXPECT_EQ(port->Close(), FT_OK);
    port = backend.OpenBySerial("AX1");
    ASSERT_NE(port, nullptr);

    backend.Unplug(0);
    std::uint32_t rx = 0;
    EXPECT_EQ(port->QueueStatus(rx), FT_IO_ERROR);
    std::uint32_t written = 7;
    const std::uint8_t byte = '!';
    EXPECT_EQ(port->Write(&byte, 1, written), FT_IO_ERROR);
    EXPECT_EQ(written, 0u);
    EXPECT_TRUE(first.Commands().empty());
    ASSERT_EQ(backend.List(listed), FT_OK);
    EXPECT_EQ(listed.size(), 2u);
    EXPECT_EQ(backend.OpenBySerial("AX1"), nullptr);

    second.Faults().vanished = true;
    ASSERT_EQ(backend.List(listed), FT_OK);
    EXPECT_EQ(listed.size(), 1u);
}
