// End to end: the transaction through Qt Serial Port and a pseudo-terminal
// to tessra2-sim, on the real clock; then the simulator dies.

#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "link/SerialBackend.h"
#include "support/SimProcess.h"
#include "support/LinkStateGuard.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

class SimProcessEndToEndTest : public ::testing::Test {
protected:
    SimProcessEndToEndTest() { backend.SetListSystemPorts(false); }

    SerialBackend backend;
    LinkStateGuard link{&backend};
};

} // namespace

TEST_F(SimProcessEndToEndTest, IdentifiesTheGaugeThenNoticesItVanish) {
    if (!SimProcess::Available())
        GTEST_SKIP() << "TESSRA_SIM does not name tessra2-sim";
    SimProcess sim({"--model", "2", "--pace"});
    ASSERT_TRUE(sim.Start()) << sim.Error().toStdString();
    const std::string serial = backend.AddPath(sim.PtyPath());

    SDI12IO::TInfoNodeArray list;
    int count = 0;
    SDI12IO::EnumerateAdapters(list, count);
    ASSERT_EQ(count, 1);
    ASSERT_GT(SDI12IO::OpenSdiPort(list[0].Serial(), 7, 2, 0), 0);

    struct Exchange {
        const char* command;
        const char* reply;
        std::uint32_t timeoutMs;
    };
    const Exchange exchanges[] = {
        {"?!", "0\r\n", 150},
        {"0I!", "013AXO     TESR2S131123456789\r\n", 200},
        {"0OZY!", "03\r\n", 200},
        {"0OOV!", "0V1.31.0\r\n", 300},
    };
    RealClock clock;
    for (const Exchange& e : exchanges) {
        std::string reply;
        const double start = clock.NowMs();
        EXPECT_EQ(SDI12IO::SdiTransaction(e.command, reply, e.timeoutMs), 0) << e.command;
        EXPECT_EQ(reply, e.reply) << e.command;
        // At least break, marking and the characters both ways at 1200 baud;
        // the upper bound only catches a stall (this runs on a shared machine).
        const double wire = 33.33 + (std::strlen(e.command) + std::strlen(e.reply)) * 8.333;
        EXPECT_GE(clock.NowMs() - start, wire) << e.command;
        EXPECT_LT(clock.NowMs() - start, wire + 1000) << e.command;
    }
    EXPECT_TRUE(SDI12IO::IsPortResponsive());
    // Each command reached the gauge once: no attempt was repeated.
    const QString log = sim.Log();
    for (const Exchange& e : exchanges)
        EXPECT_EQ(log.count(QString("<- ") + e.command + "\n"), 1) << log.toStdString();

    sim.Kill();
    std::string reply = "stale";
    const double start = clock.NowMs();
    EXPECT_EQ(SDI12IO::SdiTransaction("0OUT!", reply, 300), -1);
    EXPECT_EQ(reply, "");
    // Three first-byte waits at most; nothing blocks on the dead line.
    EXPECT_LE(clock.NowMs() - start, 3 * (33.33 + 300) + 2000);
    EXPECT_FALSE(SDI12IO::IsPortResponsive());
    EXPECT_FALSE(SDI12IO::PortConnected);

    EXPECT_TRUE(log.contains("<- 0OZY!")) << log.toStdString();
    EXPECT_TRUE(log.contains("-> 03\\r\\n")) << log.toStdString();
}

TEST_F(SimProcessEndToEndTest, ModelAndAddressOptionsShowInTheReplies) {
    if (!SimProcess::Available())
        GTEST_SKIP() << "TESSRA_SIM does not name tessra2-sim";
    SimProcess sim({"--model", "0", "--address", "5", "--no-pace"});
    ASSERT_TRUE(sim.Start()) << sim.Error().toStdString();
    ASSERT_GT(SDI12IO::OpenSdiPort(backend.AddPath(sim.PtyPath()), 7, 2, 0), 0);
    std::string reply;
    EXPECT_EQ(SDI12IO::SdiTransaction("?!", reply, 150), 0);
    EXPECT_EQ(reply, "5\r\n");
    EXPECT_EQ(SDI12IO::SdiTransaction("5I!", reply, 200), 0);
    EXPECT_EQ(reply, "513AXO     TESSR2131123456789\r\n");
    // Model 0 does not know the model query; another address is not answered.
    EXPECT_EQ(SDI12IO::SdiTransaction("5OZY!", reply, 100), -1);
    EXPECT_EQ(SDI12IO::SdiTransaction("0I!", reply, 100), -1);
    EXPECT_TRUE(sim.Stop());
}
