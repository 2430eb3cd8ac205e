// The SDI-12 transaction against the in-process simulated gauge on the
// manual clock: breaks, retries, timeouts and what ends up in the reply.

#include "SimLinkFixture.h"

using SDI12IO::SdiTransaction;

namespace {

constexpr double BreakAndMarkingMs = 25.0 + 8.33;

} // namespace

using SdiTransactionTest = SimLinkTest;

TEST_F(SdiTransactionTest, AnswerOnTheFirstAttemptTakesOneBreak) {
    SimGauge& gauge = OpenGauge();
    std::string reply = "stale";
    const double start = clock.Peek();
    EXPECT_EQ(SdiTransaction("?!", reply, 150), 0);
    EXPECT_EQ(reply, "0\r\n");
    EXPECT_EQ(gauge.BreakCount(), 1);
    EXPECT_EQ(gauge.Commands(), std::vector<std::string>{"?!"});
    // Break, marking, two characters out and three back at 1200 baud.
    EXPECT_GE(clock.Peek() - start, BreakAndMarkingMs + 5 * 8.333);
    EXPECT_LT(clock.Peek() - start, BreakAndMarkingMs + 5 * 8.333 + 5.0);
}

TEST_F(SdiTransactionTest, SilentGaugeCostsThreeFullAttempts) {
    SimGauge& gauge = OpenGauge();
    gauge.Faults().silent = true;
    std::string reply = "stale";
    const double start = clock.Peek();
    EXPECT_EQ(SdiTransaction("0OUT!", reply, 300), -1);
    EXPECT_EQ(reply, "");
    EXPECT_EQ(gauge.BreakCount(), 3);
    EXPECT_EQ(gauge.Commands().size(), 3u);
    const double elapsed = clock.Peek() - start;
    EXPECT_GE(elapsed, 3 * (33.33 + 300));
    EXPECT_LT(elapsed, 3 * (33.33 + 300) + 10.0);
}

TEST_F(SdiTransactionTest, PiecesAreJoinedUpToTheLineFeed) {
    SimGauge& gauge = OpenGauge(); // paced: the bytes arrive one by one
    std::string reply;
    ASSERT_EQ(SdiTransaction("0I!", reply, 200), 0);
    EXPECT_EQ(reply, "013AXO     TESR2L131123456789\r\n");
    EXPECT_EQ(gauge.BreakCount(), 1);
}

TEST_F(SdiTransactionTest, ALineWithoutLineFeedIsReturnedAfterTheReadingTime) {
    SimGauge& gauge = OpenGauge();
    gauge.Faults().noLineEnd = true;
    std::string reply;
    const double start = clock.Peek();
    EXPECT_EQ(SdiTransaction("0OOV!", reply, 300), 0);
    EXPECT_EQ(reply, "0V1.31.0");
    EXPECT_EQ(gauge.BreakCount(), 1);
    const double sinceWrite = clock.Peek() - start - BreakAndMarkingMs;
    EXPECT_GE(sinceWrite, 300 + 810);
    EXPECT_LT(sinceWrite, 300 + 810 + 5.0);
}

TEST_F(SdiTransactionTest, OnlyTheFirstOfTwoLinesInOneReadCounts) {
    SimGauge& gauge = OpenGauge(Unpaced());
    gauge.Faults().silent = true;
    // Both lines arrive together, 20 ms after the command went out.
    gauge.InjectNoise({'0', '\r', '\n', '1', '\r', '\n'}, clock.Peek() + BreakAndMarkingMs + 20);
    std::string reply;
    EXPECT_EQ(SdiTransaction("0!", reply, 100), 0);
    EXPECT_EQ(reply, "0\r\n");
    // The purge after the reply dropped the second line.
    ASSERT_EQ(D2XXDriver::GetRxQueueStatus(), FT_OK);
    EXPECT_EQ(D2XXDriver::RxQueueBytes, 0u);
}

TEST_F(SdiTransactionTest, ALateFirstByteIsReadByTheNextAttempt) {
    SimGauge& gauge = OpenGauge();
    gauge.Faults().firstByteDelayMs = 100.0;
    gauge.Faults().faultyReplies = 1;
    std::string reply;
    EXPECT_EQ(SdiTransaction("?!", reply, 100), 0);
    // The first reply arrived during the second attempt's break and was
    // read by it; no purge ran between the attempts.
    EXPECT_EQ(reply, "0\r\n");
    EXPECT_EQ(gauge.BreakCount(), 2);
    // The repeated command is still on the wire when the reply is complete.
    gauge.Tick(clock.Peek() + 20);
    EXPECT_EQ(gauge.Commands(), (std::vector<std::string>{"?!", "?!"}));
}

TEST_F(SdiTransactionTest, AFloodOfNoiseNeverOverrunsTheBuffers) {
    SimGauge& gauge = OpenGauge(Unpaced());
    gauge.Faults().silent = true;
    std::vector<std::uint8_t> flood(70000);
    for (std::size_t i = 0; i < flood.size(); ++i)
        flood[i] = i % 3 == 0 ? 0 : static_cast<std::uint8_t>(0x80 + i % 100);
    gauge.InjectNoise(flood, clock.Peek() + BreakAndMarkingMs + 10);
    gauge.InjectNoise({'\r', '\n', 'X'}, clock.Peek() + BreakAndMarkingMs + 11);

    std::string reply;
    EXPECT_EQ(SdiTransaction("0M!", reply, 200), 0);
    ASSERT_EQ(reply.size(), flood.size() + 2);
    EXPECT_EQ(reply.substr(0, 4), std::string("\0\x81\x82\0", 4));
    EXPECT_EQ(reply.substr(reply.size() - 2), "\r\n");

    // Noise without any line feed: everything until the reading time is over.
    gauge.InjectNoise(flood, clock.Peek() + BreakAndMarkingMs + 10);
    const double start = clock.Peek();
    EXPECT_EQ(SdiTransaction("0M!", reply, 200), 0);
    EXPECT_EQ(reply.size(), flood.size());
    EXPECT_LT(clock.Peek() - start, BreakAndMarkingMs + 200 + 810 + 5);
}

TEST_F(SdiTransactionTest, AnAdapterVanishingMidReplyEndsWithinTheBound) {
    SimGauge& gauge = OpenGauge();
    // Gone after the command and the first few reply characters.
    gauge.Faults().vanishAtMs = clock.Peek() + BreakAndMarkingMs + 3 * 8.333 + 40.0;
    std::string reply;
    const double start = clock.Peek();
    EXPECT_EQ(SdiTransaction("0I!", reply, 200), 0);
    EXPECT_EQ(reply, "013A"); // what arrived before the adapter went
    EXPECT_LE(clock.Peek() - start, BreakAndMarkingMs + 200 + 810 + 5);
    EXPECT_FALSE(SDI12IO::IsPortResponsive());
    EXPECT_FALSE(SDI12IO::PortConnected);

    // The next transaction on the dead port fails quickly: no break can be
    // sent, so each attempt is marking plus the first-byte timeout.
    const double next = clock.Peek();
    EXPECT_EQ(SdiTransaction("?!", reply, 150), -1);
    EXPECT_EQ(reply, "");
    EXPECT_LE(clock.Peek() - next, 3 * (BreakAndMarkingMs + 150) + 5);
}
