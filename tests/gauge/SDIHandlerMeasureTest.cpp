// Measurement commands, data collection, the weight reading with status
// check, and the time every command waits, against the simulated gauge.

#include "SimFixture.h"

#include <functional>

namespace {
QString NumberedText(int id) {
    return QStringLiteral("<%1>").arg(id);
}
} // namespace

TEST_F(HandlerOnSim, MeasurementAnnouncementAndServiceRequest) {
    SimGauge& gauge = ConnectedGauge();
    int count = -1;
    EXPECT_EQ(handler.StartMeasurement("M1!", count), 1);
    EXPECT_EQ(count, 3);
    ASSERT_EQ(handler.StartMeasurement("M!", count), 1);
    EXPECT_EQ(count, 9);
    EXPECT_EQ(gauge.Commands(), (Commands{"0M1!", "0M!"}));
    // The service request ends the wait before the announced second is over.
    const double waited = Elapsed([&] { handler.WaitForServiceRequest(1); });
    EXPECT_GT(waited, 800.0);
    EXPECT_LT(waited, 1000.0);
    // Without one the wait runs its full time; a negative time is no wait.
    EXPECT_GE(Elapsed([&] { handler.WaitForServiceRequest(2); }), 2000.0);
    EXPECT_LT(Elapsed([&] { handler.WaitForServiceRequest(-3); }), 1.0);

    Silence(gauge);
    count = 7;
    EXPECT_EQ(handler.StartMeasurement("M!", count), -1);
    EXPECT_EQ(count, 7);
    handler.Disconnect();
    gauge.ClearCommands();
    EXPECT_EQ(handler.StartMeasurement("M!", count), -1);
    EXPECT_TRUE(gauge.Commands().empty());
}

TEST_F(HandlerOnSim, CollectDataAsksD0D1UntilTheCountIsReached) {
    SimGauge& gauge = ConnectedGauge();
    int count = 0;
    handler.StartMeasurement("M!", count);
    gauge.ClearCommands();
    std::vector<std::string> values;
    const double took = Elapsed([&] { EXPECT_TRUE(handler.CollectData(count, values)); });
    ASSERT_EQ(values.size(), 9u);
    EXPECT_EQ(values[4], "+125.30");
    EXPECT_EQ(values[8], "+0");
    EXPECT_EQ(gauge.Commands(), (Commands{"0D0!", "0D1!"})) << "nine values need two replies";
    EXPECT_GE(took, 2 * 200.0) << "a plain 200 ms pause before every data command";

    for (const auto& [delta, command, expected] :
         {std::tuple{1, "M!", 10u}, std::tuple{-1, "M1!", 2u}}) {
        gauge.Faults().valueCountDelta = delta;
        values.clear();
        handler.StartMeasurement(command, count);
        EXPECT_FALSE(handler.CollectData(count, values)) << command;
        EXPECT_EQ(values.size(), expected) << command;
    }
}

TEST_F(HandlerOnSim, WeightReadingReportsOnlyHeavyFailures) {
    TSDIHandler::SetTextSource(&NumberedText);
    SimGauge& gauge = ConnectedGauge();
    gauge.Faults().statusBits = 1536;
    QStringList messages;
    std::string valueText;
    double value = 0;
    const double took = Elapsed([&] { value = handler.MeasureWithStatus(messages, valueText); });
    EXPECT_DOUBLE_EQ(value, 125.3);
    EXPECT_EQ(valueText, "+125.30");
    EXPECT_EQ(messages, (QStringList{"<180> (<192>)", "<181> (<192>)"}));
    EXPECT_EQ(gauge.Commands(), (Commands{"0M!", "0D0!", "0D1!"}));
    EXPECT_GE(took, 500.0 + 2 * 200.0);

    messages.clear();
    gauge.Faults().statusBits = 256 | 128 | 64 | 2 | 1;
    EXPECT_DOUBLE_EQ(handler.MeasureWithStatus(messages, valueText), 125.3);
    EXPECT_TRUE(messages.isEmpty());

    // Data that does not add up: -1 and no message.
    gauge.Faults().valueCountDelta = 2;
    EXPECT_EQ(handler.MeasureWithStatus(messages, valueText), -1.0);
    EXPECT_TRUE(messages.isEmpty());
    // No announcement: no values, an exception line and 0.
    Silence(gauge);
    EXPECT_EQ(handler.MeasureWithStatus(messages, valueText), 0.0);
    EXPECT_EQ(messages, QStringList{"Exception Error List index out of bounds (4)"});
}

TEST_F(HandlerOnSim, EveryCommandWaitsItsOwnTimeForTheFirstByte) {
    SimGauge& gauge = ConnectedGauge(1);
    Silence(gauge);
    const int breaksBefore = gauge.BreakCount();
    EXPECT_GE(Elapsed([&] { handler.GetTemperatureUnit(); }), SilentTransactionMs(300));
    EXPECT_EQ(gauge.BreakCount() - breaksBefore, 3);
    EXPECT_EQ(gauge.Commands(), (Commands{"0OUT!", "0OUT!", "0OUT!"}));

    const QDateTime stamp(QDate(2013, 4, 5), QTime(14, 3, 9));
    int count = 0;
    std::vector<std::string> values;
    // name, operation, sum of its first-byte timeouts, its transactions, its pauses
    const std::vector<std::tuple<const char*, std::function<void()>, double, int, double>> cases = {
        {"?!", [&] { handler.QueryAddress(); }, 150, 1, 0},
        {"?! read", [&] { handler.ReadAddress(); }, 100, 1, 0},
        {"I!", [&] { handler.GetModel(); }, 200, 1, 0},
        {"OOV!", [&] { handler.SupportsImpulseFactor(0); }, 300, 1, 0},
        {"OCHG!", [&] { handler.GetHeatingThreshold(); }, 300, 1, 0},
        {"OOE0!", [&] { handler.BeginConfigWrite(); }, 200, 1, 0},
        {"OOE1!", [&] { handler.EndConfigWrite(); }, 200, 1, 0},
        {"OTC1!", [&] { handler.StartTestMode(); }, 250, 1, 0},
        {"OTC0!", [&] { handler.StopTestMode(); }, 100, 1, 0},
        {"OTM!", [&] { handler.GetDeviceTime(); }, 200, 1, 0},
        {"OTM", [&] { handler.SetDeviceTime("2013-04-05T14:03:09"); }, 200 + 800 + 200, 3, 0},
        {"A", [&] { handler.ChangeAddress("3"); }, 200 + 300 + 200, 3, 0},
        {"OUT", [&] { handler.SetTemperatureUnit(1); }, 200 + 200 + 200, 3, 0},
        {"OUI", [&] { handler.SetIntensityUnit(1); }, 200 + 300 + 200, 3, 0},
        {"OCH", [&] { handler.SetHeatingMode(1); }, 200 + 900 + 200, 3, 0},
        {"OCL", [&] { handler.SetCommunicationInterface(1); }, 200 + 300 + 200, 3, 0},
        {"OCM", [&] { handler.SetProtocolType(1); }, 200 + 300 + 200, 3, 0},
        {"OCI", [&] { handler.SetImpulseFrequency(1); }, 200 + 300 + 200, 3, 0},
        {"OSI", [&] { handler.SetImpulseFactor(1); }, 200 + 250 + 200, 3, 0},
        {"OCHS", [&] { handler.SetHeatingTemperature(1); }, 200 + 2500 + 200, 3, 0},
        {"OCHG", [&] { handler.SetHeatingThreshold(1); }, 200 + 250 + 200, 3, 0},
        {"OCHZ", [&] { handler.SetHeatingSwitchTime("06:00:00"); }, 200 + 250 + 200, 3, 0},
        {"OCHD", [&] { handler.SetHeatingDuration(1); }, 200 + 250 + 200, 3, 0},
        {"OCHT", [&] { handler.SetHeatingSelfTest(1); }, 200 + 250 + 200, 3, 0},
        {"OCR", [&] { handler.SetAsciiBaudRate(1); }, 200 + 250 + 200, 3, 0},
        {"ODC", [&] { handler.SetLastConfigurationDate(stamp); }, 200 + 250 + 200, 3, 0},
        {"OMR", [&] { handler.ResetAccumulatedPrecipitation(); }, 200, 1, 0},
        {"M!", [&] { handler.StartMeasurement("M!", count); }, 200, 1, 0},
        {"D0!", [&] { handler.CollectData(1, values); }, 300, 1, 200},
        {"OXU", [&] { handler.SetTransferRate(4800); }, 300, 1, 0},
    };
    for (const auto& [name, run, timeouts, transactions, pauses] : cases) {
        const double expected = 3 * (33.33 * transactions + timeouts) + pauses;
        const double took = Elapsed(run);
        EXPECT_GE(took, expected) << name;
        EXPECT_LT(took, expected + 0.5 * transactions) << name;
    }
}
