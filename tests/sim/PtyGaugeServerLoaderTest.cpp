// tessra2-sim's loader over a pseudo-terminal: the simulator learns the
// program's baud rate from the terminal, so the switch to the loader, the
// transfer and the return to SDI-12 work through the real serial backend.

#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "link/SerialBackend.h"
#include "sim/SimValues.h"
#include "support/SimProcess.h"
#include "support/LinkStateGuard.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

// Collects what arrives until the text contains until (real time, bounded).
std::string ReadUntil(const std::string& until, double timeoutMs) {
    RealClock clock;
    std::string received;
    const double end = clock.NowMs() + timeoutMs;
    while (clock.NowMs() < end && received.find(until) == std::string::npos) {
        if (D2XXDriver::GetRxQueueStatus() != FT_OK)
            break;
        if (D2XXDriver::RxQueueBytes > 0) {
            const std::uint32_t got = D2XXDriver::ReadToInBuffer(D2XXDriver::RxQueueBytes);
            received.append(reinterpret_cast<const char*>(D2XXDriver::InBuffer), got);
        }
    }
    return received;
}

void WriteRaw(const std::string& bytes) {
    std::memcpy(D2XXDriver::OutBuffer, bytes.data(), bytes.size());
    ASSERT_EQ(D2XXDriver::WriteFromOutBuffer(static_cast<std::uint32_t>(bytes.size())),
              bytes.size());
}

} // namespace

TEST(SimProcessLoaderTest, FirmwareThroughThePseudoTerminal) {
    if (!SimProcess::Available())
        GTEST_SKIP() << "TESSRA_SIM does not name tessra2-sim";
    SerialBackend backend;
    backend.SetListSystemPorts(false);
    LinkStateGuard link{&backend};
    SimProcess sim({"--model", "1", "--no-pace"});
    ASSERT_TRUE(sim.Start()) << sim.Error().toStdString();
    ASSERT_GT(SDI12IO::OpenSdiPort(backend.AddPath(sim.PtyPath()), 7, 2, 0), 0);

    std::string reply;
    ASSERT_EQ(SDI12IO::SdiTransaction("0OXU+0391!", reply, 300), 0);
    EXPECT_EQ(reply, "0\r\n");
    SDI12IO::ReopenPort(115200, 0, 0, 8);
    EXPECT_EQ(ReadUntil("C", 3000), "C");

    std::string data(128, '\x11');
    data.replace(0, 9, "TESSRA2 S");
    data.replace(16, 16, std::string("V1.40.0") + std::string(9, '\0'));
    const std::uint16_t crc =
        SimValues::XModemCrc(reinterpret_cast<const std::uint8_t*>(data.data()), 128);
    const std::string block = std::string("\x01\x01\xFE") + data + static_cast<char>(crc >> 8) +
                              static_cast<char>(crc & 0xFF);
    WriteRaw(block);
    EXPECT_EQ(ReadUntil("\x06", 2000).back(), '\x06');
    WriteRaw("\x04");
    const std::string done = ReadUntil("APPLICATION DONE\r\n", 6000);
    EXPECT_NE(done.find("\x06....."), std::string::npos) << done;
    EXPECT_NE(done.find("APPLICATION DONE\r\n"), std::string::npos) << done;

    SDI12IO::ReopenPort(1200, 0, 2, 7);
    EXPECT_EQ(SDI12IO::SdiTransaction("0OOV!", reply, 300), 0);
    EXPECT_EQ(reply, "0V1.40.0\r\n");

    LinkStateGuard::Reset();
    EXPECT_TRUE(sim.Stop());
    EXPECT_TRUE(sim.Log().contains("line 115200 baud")) << sim.Log().toStdString();
}
