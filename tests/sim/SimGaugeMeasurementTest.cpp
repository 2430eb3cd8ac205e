// Measurements: announcements, the service request, values split over data
// replies, the CRC variant, concurrent and verification commands, and the
// measurement faults.

#include "SimGaugeFixture.h"
#include "sim/SimValues.h"

namespace {

// Values of a reply line: address, then signed numbers, then CR LF.
std::vector<std::string> ValuesOf(const std::string& reply, std::size_t crcChars = 0) {
    std::vector<std::string> values;
    if (reply.size() < 3 + crcChars)
        return values;
    const std::string body = reply.substr(1, reply.size() - 3 - crcChars);
    for (char c : body) {
        if (c == '+' || c == '-')
            values.emplace_back();
        if (values.empty())
            return {}; // no sign in front
        values.back().push_back(c);
    }
    return values;
}

} // namespace

using SimGaugeMeasurementTest = SimGaugeTest;

TEST_F(SimGaugeMeasurementTest, MeasurementDeliversNineValuesOverSeveralReplies) {
    SimGauge& gauge = Open(1, true);
    gauge.Faults().statusBits = 1536;
    EXPECT_EQ(Ask("0M!", 200), "00019\r\n");
    std::string request;
    const double waitStart = clock.Peek();
    EXPECT_EQ(SDI12IO::WaitForReply(request, 1000, "0"), 0);
    EXPECT_LT(clock.Peek() - waitStart, 1000);
    EXPECT_GT(clock.Peek() - waitStart, 850);

    std::vector<std::string> values;
    int replies = 0;
    for (int index = 0; values.size() < 9 && index < 9; ++index, ++replies) {
        const std::string reply = Ask("0D" + std::to_string(index) + "!");
        ASSERT_GT(reply.size(), 3u);
        EXPECT_LE(reply.size() - 3, 35u); // at most 35 value characters per reply
        const auto part = ValuesOf(reply);
        ASSERT_FALSE(part.empty()) << reply;
        values.insert(values.end(), part.begin(), part.end());
    }
    EXPECT_GE(replies, 2);
    ASSERT_EQ(values.size(), 9u);
    EXPECT_EQ(values[8], "+1536");
    EXPECT_EQ(values[4], "+125.30"); // bucket content
    for (const std::string& value : values)
        EXPECT_NO_THROW((void)std::stod(value)) << value;
    // Past the last value the gauge answers with its address only.
    EXPECT_EQ(Ask("0D" + std::to_string(replies) + "!"), "0\r\n");

    EXPECT_EQ(Ask("0M1!"), "00013\r\n");
    EXPECT_EQ(SDI12IO::WaitForReply(request, 1000, "0"), 0);
    EXPECT_EQ(ValuesOf(Ask("0D0!")).size(), 3u);
}

TEST_F(SimGaugeMeasurementTest, ValuesChangeOverTimeAndTheTotalGrows) {
    SimGauge& gauge = Open(1, false);
    ASSERT_EQ(Ask("0M!"), "00019\r\n");
    const auto first = ValuesOf(Ask("0D0!"));
    clock.Advance(90000.0);
    ASSERT_EQ(Ask("0M!"), "00019\r\n");
    const auto second = ValuesOf(Ask("0D0!"));
    ASSERT_GE(first.size(), 4u);
    ASSERT_GE(second.size(), 4u);
    EXPECT_NE(first[0], second[0]);                       // intensity
    EXPECT_GT(std::stod(second[3]), std::stod(first[3])); // accumulated total
    EXPECT_EQ(gauge.Commands().size(), 4u);
}

TEST_F(SimGaugeMeasurementTest, WrongValueCountsAndCrc) {
    SimGauge& gauge = Open(1, false);
    gauge.Faults().valueCountDelta = -2;
    ASSERT_EQ(Ask("0M!"), "00019\r\n");
    std::size_t delivered = 0;
    for (int index = 0; index < 5; ++index)
        delivered += ValuesOf(Ask("0D" + std::to_string(index) + "!")).size();
    EXPECT_EQ(delivered, 7u);

    gauge.Faults().valueCountDelta = 1;
    ASSERT_EQ(Ask("0M1!"), "00013\r\n");
    EXPECT_EQ(ValuesOf(Ask("0D0!")).size(), 4u);

    // "aMC!": every data reply carries the SDI-12 CRC before CR LF.
    gauge.Faults().valueCountDelta = 0;
    ASSERT_EQ(Ask("0MC!"), "00019\r\n");
    const std::string reply = Ask("0D0!");
    ASSERT_GT(reply.size(), 6u);
    const std::string crc = reply.substr(reply.size() - 5, 3);
    EXPECT_EQ(crc, SimValues::Crc(reply.substr(0, reply.size() - 5)));
    EXPECT_FALSE(ValuesOf(reply, 3).empty());
}

TEST_F(SimGaugeMeasurementTest, CrcFollowsTheSdi12Rules) {
    // The published SDI-12 CRC example: "0+3.14" carries "OqZ".
    EXPECT_EQ(SimValues::Crc("0+3.14"), "OqZ");
    const std::string check = "123456789";
    EXPECT_EQ(SimValues::XModemCrc(reinterpret_cast<const std::uint8_t*>(check.data()), 9), 0x31C3);
}

TEST_F(SimGaugeMeasurementTest, ConcurrentAndVerificationCommands) {
    SimGauge& gauge = Open(2, false);
    EXPECT_EQ(Ask("0C!"), "000109\r\n");
    // No service request after a concurrent measurement.
    std::string request;
    EXPECT_EQ(SDI12IO::WaitForReply(request, 1500, "0"), -1);
    std::size_t values = 0;
    for (int index = 0; index < 3; ++index) {
        const std::string reply = Ask("0D" + std::to_string(index) + "!");
        EXPECT_LE(reply.size() - 3, 75u);
        values += ValuesOf(reply).size();
    }
    EXPECT_EQ(values, 9u);
    EXPECT_EQ(Ask("0CC1!"), "000103\r\n");
    EXPECT_EQ(Ask("0M5!"), "00000\r\n");
    EXPECT_EQ(Ask("0V!"), "00001\r\n");
    EXPECT_EQ(Ask("0D0!"), "0+0\r\n");
    EXPECT_EQ(Ask("0MX!", 100), "(none)");
    EXPECT_EQ(gauge.Commands().back(), "0MX!");
}

TEST_F(SimGaugeMeasurementTest, ABreakAbortsThePendingServiceRequest) {
    Open(1, true);
    ASSERT_EQ(Ask("0M!"), "00019\r\n");
    EXPECT_EQ(Ask("0OUT!"), "00\r\n");
    std::string request = "untouched";
    EXPECT_EQ(SDI12IO::WaitForReply(request, 1500, "0"), -1);
    EXPECT_EQ(request, "untouched");
}

TEST_F(SimGaugeMeasurementTest, ReplyFaults) {
    SimGauge& gauge = Open(1, true);
    gauge.Faults().garbage = true;
    gauge.Faults().faultyReplies = 1;
    const std::string noise = Ask("0OUT!");
    EXPECT_EQ(noise.size(), 4u);
    EXPECT_NE(noise, "00\r\n");
    EXPECT_EQ(noise.substr(2), "\r\n");
    EXPECT_EQ(Ask("0OUT!"), "00\r\n"); // only the one reply was spoiled

    gauge.Faults().garbage = false;
    gauge.Faults().silent = true;
    gauge.Faults().faultyReplies = 3;
    EXPECT_EQ(Ask("0OUT!", 100), "(none)"); // three silent attempts
    EXPECT_EQ(Ask("0OUT!", 100), "00\r\n");
}
