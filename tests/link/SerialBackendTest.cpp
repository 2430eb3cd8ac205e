// The serial backend over a pseudo-terminal, with the test playing the
// adapter's far side: listing by path, line settings, bytes both ways and a
// line that hangs up. Real time; every wait is bounded.

#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "link/SerialBackend.h"
#include "support/Pty.h"
#include "support/LinkStateGuard.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

class SerialBackendPtyTest : public ::testing::Test {
protected:
    SerialBackendPtyTest() { backend.SetListSystemPorts(false); }

    // Polls the receive queue until count bytes are there (at most timeoutMs).
    std::uint32_t WaitForBytes(std::uint32_t count, double timeoutMs) {
        Clock& clock = TheClock();
        const double end = clock.NowMs() + timeoutMs;
        while (clock.NowMs() < end) {
            if (D2XXDriver::GetRxQueueStatus() != FT_OK)
                return 0;
            if (D2XXDriver::RxQueueBytes >= count)
                break;
        }
        return D2XXDriver::RxQueueBytes;
    }

    PtyPair pty;
    SerialBackend backend;
    LinkStateGuard link{&backend};
};

} // namespace

TEST_F(SerialBackendPtyTest, APathIsListedAsAnAdapter) {
    ASSERT_TRUE(pty.IsOpen());
    const std::string serial = backend.AddPath(pty.SlavePath());
    EXPECT_EQ(serial, SerialBackend::SerialForPath(pty.SlavePath()));
    EXPECT_EQ(serial.rfind("AXPORT", 0), 0u);
    EXPECT_LE(serial.size(), 16u);
    EXPECT_EQ(backend.AddPath(pty.SlavePath()), serial); // once only

    SDI12IO::TInfoNodeArray list;
    int count = 0;
    SDI12IO::EnumerateAdapters(list, count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(list[0].Serial(), serial);
    EXPECT_EQ(list[0].DescriptionText(), "Tessra2 adapter at " + pty.SlavePath());

    // Long names keep their end and stay within the list's 16 characters.
    EXPECT_EQ(SerialBackend::SerialForPath("/dev/serial/by-id/usb-FTDI_UART_A50285BI-port0"),
              "AXPORT285BIport0");
    EXPECT_EQ(SerialBackend::SerialForPath("/dev/ttyUSB0"), "AXPORTttyUSB0");
}

TEST_F(SerialBackendPtyTest, BytesAndLineSettingsReachTheFarSide) {
    ASSERT_TRUE(pty.IsOpen());
    const std::string serial = backend.AddPath(pty.SlavePath());
    ASSERT_GT(SDI12IO::OpenSdiPort(serial, 7, 2, 0), 0);
    EXPECT_EQ(pty.SlaveBaud(), 1200u);

    std::memcpy(D2XXDriver::OutBuffer, "0I!", 3);
    EXPECT_EQ(D2XXDriver::WriteFromOutBuffer(3), 3u);
    EXPECT_EQ(pty.ReadUntil("!", 2000), "0I!");

    ASSERT_TRUE(pty.Write("0V1.31.0\r\n"));
    ASSERT_EQ(WaitForBytes(10, 2000), 10u);
    EXPECT_EQ(D2XXDriver::ReadToInBuffer(10), 10u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(D2XXDriver::InBuffer), 10), "0V1.31.0\r\n");

    // A purge drops what has arrived.
    ASSERT_TRUE(pty.Write("junk"));
    ASSERT_EQ(WaitForBytes(4, 2000), 4u);
    EXPECT_EQ(D2XXDriver::PurgeRx(), FT_OK);
    ASSERT_EQ(D2XXDriver::GetRxQueueStatus(), FT_OK);
    EXPECT_EQ(D2XXDriver::RxQueueBytes, 0u);
    // Breaks are accepted by the terminal (which cannot carry them).
    EXPECT_EQ(SDI12IO::SendBreak(1), 0);

    SDI12IO::ReopenPort(115200, 0, 0, 8);
    EXPECT_TRUE(SDI12IO::PortConnected);
    EXPECT_EQ(pty.SlaveBaud(), 115200u);
    SDI12IO::ReopenPort(4800, 0, 0, 8);
    EXPECT_EQ(pty.SlaveBaud(), 4800u);
}

TEST_F(SerialBackendPtyTest, AHungUpLineFailsEveryCallAtOnce) {
    ASSERT_TRUE(pty.IsOpen());
    const std::string serial = backend.AddPath(pty.SlavePath());
    ASSERT_GT(SDI12IO::OpenSdiPort(serial, 7, 2, 0), 0);
    EXPECT_TRUE(SDI12IO::IsPortResponsive());

    pty.CloseMaster();
    EXPECT_FALSE(SDI12IO::IsPortResponsive());
    EXPECT_FALSE(SDI12IO::PortConnected);
    EXPECT_EQ(D2XXDriver::RxQueueBytes, 0u);
    EXPECT_NE(D2XXDriver::SetBreakOn(), FT_OK);
    EXPECT_EQ(D2XXDriver::WriteFromOutBuffer(3), 0u);
    EXPECT_NE(D2XXDriver::IoStatus, FT_OK);

    // A transaction on the dead line ends after its three first-byte waits.
    RealClock clock;
    const double start = clock.NowMs();
    std::string reply = "stale";
    EXPECT_EQ(SDI12IO::SdiTransaction("?!", reply, 100), -1);
    EXPECT_EQ(reply, "");
    EXPECT_LT(clock.NowMs() - start, 3 * (33.33 + 100) + 2000); // bounded, never hanging
}

TEST_F(SerialBackendPtyTest, UnknownSerialsAndVanishedPathsDoNotOpen) {
    ASSERT_TRUE(pty.IsOpen());
    EXPECT_EQ(backend.OpenBySerial("AXNOTHERE"), nullptr);
    EXPECT_EQ(backend.OpenBySerial(""), nullptr);
    const std::string serial = backend.AddPath("/dev/nonexistent-tessra-port");
    EXPECT_EQ(backend.OpenBySerial(serial), nullptr);
    EXPECT_EQ(SDI12IO::OpenSdiPort(serial, 7, 2, 0), -1);
}
