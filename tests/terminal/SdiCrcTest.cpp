// The SDI-12 CRC: the published examples of the SDI-12 standard
// (version 1.3, "0D0!" answered with 0+3.14OqZ, and 0+3.14+2.718+1.414Ipz),
// replies that do not match, and which replies carry one.

#include "terminal/SdiCrc.h"

#include "sim/SimValues.h"

#include <gtest/gtest.h>

using namespace SdiCrc;

TEST(SdiCrcTest, ThePublishedExamplesMatch) {
    EXPECT_EQ(Encode(Compute("0+3.14")), "OqZ");
    EXPECT_EQ(Encode(Compute("0+3.14+2.718+1.414")), "Ipz");
    EXPECT_TRUE(ReplyCrcMatches("0+3.14OqZ\r\n"));
    EXPECT_TRUE(ReplyCrcMatches("0+3.14+2.718+1.414Ipz\r\n"));
}

TEST(SdiCrcTest, TheSimulatedGaugeEncodesItsCrcTheSameWay) {
    EXPECT_EQ(SimValues::Crc("0+3.14"), "OqZ");
    EXPECT_EQ(SimValues::Crc("0+3.14+2.718+1.414"), "Ipz");
}

TEST(SdiCrcTest, AnyChangeOfTextOrCrcIsWrong) {
    EXPECT_FALSE(ReplyCrcMatches("0+3.14OqY\r\n")) << "one CRC character off";
    EXPECT_FALSE(ReplyCrcMatches("0+3.15OqZ\r\n")) << "one data character off";
    EXPECT_FALSE(ReplyCrcMatches("1+3.14OqZ\r\n")) << "the address is covered";
    EXPECT_FALSE(ReplyCrcMatches("0+3.14OqZ")) << "no line end";
    EXPECT_FALSE(ReplyCrcMatches("0+3.14OqZ\n"));
    EXPECT_FALSE(ReplyCrcMatches("OqZ\r\n")) << "no room for the address";
    EXPECT_FALSE(ReplyCrcMatches(""));
    EXPECT_FALSE(ReplyCrcMatches("\r\n"));
    // The reply of a sensor with nothing to report but its address.
    EXPECT_TRUE(ReplyCrcMatches("0" + Encode(Compute("0")) + "\r\n"));
}

TEST(SdiCrcTest, DataRepliesCarryACrcAfterACrcMeasurementOfTheSameSensor) {
    ReplyTracker tracker;
    EXPECT_FALSE(tracker.Sent("0D0!")) << "no measurement yet";
    EXPECT_FALSE(tracker.Sent("0MC!")) << "the announcement has no CRC";
    EXPECT_TRUE(tracker.Sent("0D0!"));
    EXPECT_TRUE(tracker.Sent("0D1!"));
    EXPECT_FALSE(tracker.Sent("1D0!")) << "another sensor";
    EXPECT_FALSE(tracker.Sent("0I!"));
    EXPECT_TRUE(tracker.Sent("0D2!")) << "other commands keep the measurement's data";
    EXPECT_FALSE(tracker.Sent("0M!"));
    EXPECT_FALSE(tracker.Sent("0D0!")) << "a plain measurement replaces the data";
    EXPECT_FALSE(tracker.Sent("0CC3!"));
    EXPECT_TRUE(tracker.Sent("0D0!"));
    EXPECT_FALSE(tracker.Sent("0C!"));
    EXPECT_FALSE(tracker.Sent("0D0!"));
    EXPECT_FALSE(tracker.Sent("0MC1!"));
    EXPECT_TRUE(tracker.Sent("0D0!"));
    EXPECT_FALSE(tracker.Sent("0V!"));
    EXPECT_FALSE(tracker.Sent("0D0!"));
    EXPECT_FALSE(tracker.Sent("0MC!", false)) << "not answered: no measurement started";
    EXPECT_FALSE(tracker.Sent("0D0!"));
    EXPECT_FALSE(tracker.Sent("0MC!"));
    EXPECT_FALSE(tracker.Sent("0M!", false));
    EXPECT_TRUE(tracker.Sent("0D0!")) << "the answered measurement's data stay";
}

TEST(SdiCrcTest, ContinuousMeasurementsWithCrcCarryItInTheirOwnReply) {
    ReplyTracker tracker;
    EXPECT_TRUE(tracker.Sent("0RC0!"));
    EXPECT_TRUE(tracker.Sent("0RC9!"));
    EXPECT_FALSE(tracker.Sent("0RC!")) << "only aRC0! to aRC9! carry one";
    EXPECT_FALSE(tracker.Sent("0R0!"));
    EXPECT_FALSE(tracker.Sent("0D0!")) << "continuous readings leave the data alone";
    EXPECT_FALSE(tracker.Sent("0rc0!")) << "commands are case sensitive";
    EXPECT_FALSE(tracker.Sent("0RC10!"));
    EXPECT_FALSE(tracker.Sent("0RC0"));
}
