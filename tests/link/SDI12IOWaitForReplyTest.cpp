// Waiting for an unsolicited line (the service request after "M!").

#include "SimLinkFixture.h"

using SDI12IO::WaitForReply;

using WaitForReplyTest = SimLinkTest;

TEST_F(WaitForReplyTest, ExpectedLineInTwoReads) {
    SimGauge& gauge = OpenGauge(Unpaced());
    gauge.InjectNoise({'0'}, clock.Peek() + 300);
    gauge.InjectNoise({'\r', '\n'}, clock.Peek() + 700);
    std::string reply;
    const double start = clock.Peek();
    EXPECT_EQ(WaitForReply(reply, 1000, "0"), 0);
    EXPECT_EQ(reply, "0\r\n");
    EXPECT_GE(clock.Peek() - start, 700);
    EXPECT_LT(clock.Peek() - start, 705);
}

TEST_F(WaitForReplyTest, AnyOtherByteSpoilsTheWaitUntilTheTimeout) {
    SimGauge& gauge = OpenGauge(Unpaced());
    gauge.InjectNoise({'X', '0', '\r', '\n'}, clock.Peek() + 10);
    std::string reply = "untouched";
    const double start = clock.Peek();
    EXPECT_EQ(WaitForReply(reply, 500, "0"), -1);
    EXPECT_EQ(reply, "untouched");
    EXPECT_GE(clock.Peek() - start, 500);
    EXPECT_LT(clock.Peek() - start, 505);
    // Both buffers purged at the end.
    gauge.InjectNoise({'Y'}, clock.Peek() + 1);
    clock.Advance(2);
    ASSERT_EQ(D2XXDriver::GetRxQueueStatus(), FT_OK);
    EXPECT_EQ(D2XXDriver::RxQueueBytes, 1u);
}

TEST_F(WaitForReplyTest, ServiceRequestAfterAMeasurementCommand) {
    SimGauge& gauge = OpenGauge();
    std::string reply;
    ASSERT_EQ(SDI12IO::SdiTransaction("0M!", reply, 200), 0);
    EXPECT_EQ(reply, "00019\r\n");
    // The gauge reports within the announced second.
    EXPECT_EQ(WaitForReply(reply, 1000, "0"), 0);
    EXPECT_EQ(reply, "0\r\n");
    EXPECT_EQ(gauge.Commands(), std::vector<std::string>{"0M!"});
}
