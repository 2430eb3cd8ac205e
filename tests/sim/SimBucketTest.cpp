// The simulated bucket in test mode: the weights placed on it, settling,
// noise, and the bucket values of "M!" in the gauge's unit.

#include "sim/SimBucket.h"
#include "SimGaugeFixture.h"

#include <cmath>
#include <functional>

namespace {

// The bucket value (the fifth value) of one "M!" measurement.
double BucketReading(const std::function<std::string(const std::string&)>& ask) {
    ask("0M!");
    std::string values;
    for (int index = 0; index < 4; ++index) {
        const std::string reply = ask("0D" + std::to_string(index) + "!");
        if (reply.size() <= 3)
            break;
        values += reply.substr(1, reply.size() - 3);
    }
    std::vector<std::string> split;
    for (char c : values) {
        if (c == '+' || c == '-')
            split.emplace_back();
        if (!split.empty())
            split.back().push_back(c);
    }
    return split.size() > 4 ? std::stod(split[4]) : std::nan("");
}

} // namespace

TEST(SimBucket, SettlesOnTheNewLoadWithinSeconds) {
    SimBucket bucket;
    EXPECT_EQ(bucket.SettledGramAt(0.0), 0.0);
    bucket.PlaceWeights(2500.0, 1000.0);
    EXPECT_EQ(bucket.WeightsOnBucket(), 2500.0);
    EXPECT_EQ(bucket.SettledGramAt(1000.0), 0.0);
    EXPECT_GT(bucket.SettledGramAt(2000.0), 1000.0);
    EXPECT_LT(bucket.SettledGramAt(2000.0), 2500.0);
    EXPECT_NEAR(bucket.SettledGramAt(21000.0), 2500.0, 0.01);
    // A change while settling starts from where the bucket is.
    const double midway = bucket.SettledGramAt(1500.0);
    bucket.PlaceWeights(3500.0, 1500.0);
    EXPECT_DOUBLE_EQ(bucket.SettledGramAt(1500.0), midway);
    EXPECT_NEAR(bucket.SettledGramAt(40000.0), 3500.0, 0.01);
}

TEST(SimBucket, NoiseOfAboutFiveHundredthsOfAGram) {
    SimBucket bucket;
    bucket.PlaceWeights(1000.0, 0.0);
    double smallest = 1e9, largest = -1e9;
    for (int i = 0; i < 200; ++i) {
        const double reading = bucket.ReadGram(60000.0);
        smallest = std::min(smallest, reading);
        largest = std::max(largest, reading);
    }
    EXPECT_GE(smallest, 1000.0 - 0.05);
    EXPECT_LE(largest, 1000.0 + 0.05);
    EXPECT_GT(largest - smallest, 0.05); // it does vary
}

using SimBucketInTestMode = SimGaugeTest;

TEST_F(SimBucketInTestMode, BucketValuesFollowTheWeightsInTheGaugesUnit) {
    SimGauge& gauge = Open(1, false);
    const auto ask = [](const std::string& command) { return Ask(command); };
    // Outside test mode the bucket shows its own content.
    EXPECT_DOUBLE_EQ(BucketReading(ask), 125.3);

    EXPECT_EQ(Ask("0OTC1!"), "01\r\n");
    gauge.Gauge().gaugeType = 1; // 400 cm²: 40 g per mm
    gauge.Bucket().PlaceWeights(2500.0, clock.Peek());
    clock.Advance(30000);
    // Within the noise (0.05 g = 0.00125 mm) and the three decimals.
    EXPECT_NEAR(BucketReading(ask), 62.5, 0.0018);

    gauge.Gauge().gaugeType = 0; // 200 cm²: 20 g per mm
    EXPECT_NEAR(BucketReading(ask), 125.0, 0.0031);

    gauge.Gauge().intensityUnit = 2;                         // inch/min: the bucket in inch
    EXPECT_NEAR(BucketReading(ask), 125.0 / 25.4, 0.000105); // five decimals

    EXPECT_EQ(Ask("0OTC0!"), "00\r\n");
    EXPECT_DOUBLE_EQ(BucketReading(ask), 125.3);
}
