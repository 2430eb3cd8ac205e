// Information queries, configuration getters and setters, dates, clock and
// the reset of the accumulated precipitation against the simulated gauge.

#include "SimFixture.h"

#include <QRegularExpression>
#include <functional>

namespace {
const QDateTime Stamp(QDate(2013, 4, 5), QTime(14, 3, 9));
}

TEST_F(HandlerOnSim, GettersReturnTheGaugesValues) {
    SimGauge& gauge = ConnectedGauge(2);
    SimGauge::State& s = gauge.Gauge();
    s.serialNumber = "000000000";
    s.heatingSwitchTime = "05:45:00";
    s.gaugeType = 3;
    s.intensityUnit = 2;
    s.communicationInterface = 2;
    s.heatingTemperature = 12; // sent as +12
    s.heatingSelfTest = 1440;
    s.heatingThreshold = -3;
    EXPECT_EQ(handler.GetHardwareIndex(), "03");
    EXPECT_EQ(handler.GetSerialNumber(), "000000000");
    EXPECT_EQ(handler.GetFirmwareVersion(), "V1.31.0");
    EXPECT_EQ(handler.GetLastConfigurationDate(), "2024-03-01T10:00:00");
    EXPECT_EQ(handler.GetLastFirmwareUpdateDate(), "2024-01-15T08:30:00");
    EXPECT_EQ(handler.GetHeatingSwitchTime(), "05:45:00");
    EXPECT_EQ(handler.GetGaugeType(), 3);
    EXPECT_EQ(handler.GetTemperatureUnit(), 0);
    EXPECT_EQ(handler.GetIntensityUnit(), 2);
    EXPECT_EQ(handler.GetHeatingMode(), 1);
    EXPECT_EQ(handler.GetCommunicationInterface(), 2);
    EXPECT_EQ(handler.GetProtocolType(), 0);
    EXPECT_EQ(handler.GetImpulseFrequency(), 0);
    EXPECT_EQ(handler.GetImpulseFactor(), 1);
    EXPECT_EQ(handler.GetHeatingTemperature(), 12);
    EXPECT_EQ(handler.GetHeatingDuration(), 20);
    EXPECT_EQ(handler.GetHeatingSelfTest(), 1440);
    EXPECT_EQ(handler.GetAsciiBaudRate(), 0);
    EXPECT_EQ(handler.GetHeatingThreshold(), -3);
    EXPECT_EQ(gauge.Commands(),
              (Commands{"0OOB!", "0OOS!", "0OOV!", "0ODC!", "0ODF!", "0OCHZ!", "0OCB!", "0OUT!",
                        "0OUI!", "0OCH!", "0OCL!", "0OCM!", "0OCI!", "0OSI!", "0OCHS!", "0OCHD!",
                        "0OCHT!", "0OCR!", "0OCHG!"}));
}

TEST_F(HandlerOnSim, GettersReturnTheirFailureValues) {
    SimGauge& gauge = ConnectedGauge();
    const auto expectFailures = [&](const char* fault) {
        EXPECT_EQ(handler.GetHeatingSwitchTime(), "") << fault;
        EXPECT_EQ(handler.GetTemperatureUnit(), -1) << fault;
        EXPECT_EQ(handler.GetHeatingTemperature(), -1) << fault;
        EXPECT_EQ(handler.GetHeatingThreshold(), -9999) << fault;
        EXPECT_EQ(handler.GetDeviceTime(), "") << fault;
    };
    Silence(gauge);
    expectFailures("silent");
    gauge.Faults() = SimFaults();
    gauge.Faults().noLineEnd = true;
    expectFailures("no line end");
    gauge.Faults().noLineEnd = false;
    gauge.Faults().garbage = true;
    EXPECT_EQ(handler.GetTemperatureUnit(), -1);
    EXPECT_EQ(handler.GetHeatingThreshold(), -9999);

    gauge.Faults() = SimFaults();
    handler.Disconnect();
    gauge.ClearCommands();
    EXPECT_EQ(handler.GetSerialNumber(), "");
    EXPECT_EQ(handler.GetGaugeType(), -1);
    EXPECT_EQ(handler.GetDeviceTime(), "");
    EXPECT_TRUE(gauge.Commands().empty()) << "getters send nothing when not connected";
}

TEST_F(HandlerOnSim, EverySetterWritesInsideTheBracketAndChecksTheEcho) {
    SimGauge& gauge = ConnectedGauge(1);
    const SimGauge::State& s = gauge.Gauge();
    const std::vector<std::tuple<std::function<bool()>, std::string, std::function<bool()>>> cases =
        {
            {[&] { return handler.SetTemperatureUnit(1); }, "0OUT1!",
             [&] { return s.temperatureUnit == 1; }},
            {[&] { return handler.SetIntensityUnit(3); }, "0OUI3!",
             [&] { return s.intensityUnit == 3; }},
            {[&] { return handler.SetHeatingMode(2); }, "0OCH2!",
             [&] { return s.heatingMode == 2; }},
            {[&] { return handler.SetCommunicationInterface(2); }, "0OCL2!",
             [&] { return s.communicationInterface == 2; }},
            {[&] { return handler.SetProtocolType(1); }, "0OCM1!",
             [&] { return s.protocolType == 1; }},
            {[&] { return handler.SetImpulseFrequency(1); }, "0OCI1!",
             [&] { return s.impulseFrequency == 1; }},
            {[&] { return handler.SetImpulseFactor(3); }, "0OSI3!",
             [&] { return s.impulseFactor == 3; }},
            {[&] { return handler.SetHeatingTemperature(5); }, "0OCHS+5!",
             [&] { return s.heatingTemperature == 5; }},
            {[&] { return handler.SetHeatingThreshold(-3); }, "0OCHG-3!",
             [&] { return s.heatingThreshold == -3; }},
            {[&] { return handler.SetHeatingSwitchTime("07:30:00"); }, "0OCHZ07:30:00!",
             [&] { return s.heatingSwitchTime == "07:30:00"; }},
            {[&] { return handler.SetHeatingDuration(45); }, "0OCHD45!",
             [&] { return s.heatingDuration == 45; }},
            {[&] { return handler.SetHeatingSelfTest(120); }, "0OCHT120!",
             [&] { return s.heatingSelfTest == 120; }},
            {[&] { return handler.SetAsciiBaudRate(5); }, "0OCR5!",
             [&] { return s.asciiBaud == 5; }},
            {[&] { return handler.SetLastConfigurationDate(Stamp); }, "0ODC2013-04-05T14:03:09!",
             [&] { return s.lastConfiguration == "2013-04-05T14:03:09"; }},
            {[&] { return handler.SetDeviceTime("2013-04-05T14:03:09"); },
             "0OTM2013-04-05T14:03:09!", [&] { return s.clockOffsetMs < -3.0e11; }},
            {[&] { return handler.ResetAccumulatedPrecipitation(); }, "0OMR!",
             [&] { return s.accumulatedTotal == 0.0; }},
        };
    for (const auto& [set, command, taken] : cases) {
        gauge.ClearCommands();
        EXPECT_TRUE(set()) << command;
        EXPECT_EQ(gauge.Commands(), (Commands{"0OOE0!", command, "0OOE1!"}));
        EXPECT_TRUE(taken()) << command;
        EXPECT_FALSE(s.writeOpen) << command;
    }
}

TEST_F(HandlerOnSim, RefusedWritesStillCloseTheBracket) {
    SimGauge& gauge = ConnectedGauge(0);
    EXPECT_FALSE(handler.SetTemperatureUnit(7)) << "the gauge ignores a value it does not know";
    EXPECT_EQ(gauge.Commands(), (Commands{"0OOE0!", "0OUT7!", "0OUT7!", "0OUT7!", "0OOE1!"}));
    EXPECT_FALSE(gauge.Gauge().writeOpen);
    EXPECT_FALSE(handler.SetDeviceTime("2013-13-45T99:00:00"));

    gauge.ClearCommands();
    gauge.Faults().garbage = true;
    EXPECT_FALSE(handler.SetIntensityUnit(2));
    EXPECT_EQ(gauge.Commands(), (Commands{"0OOE0!", "0OUI2!", "0OOE1!"}));

    // The reset is the one writer that stops when "OOE0!" is not echoed.
    gauge.ClearCommands();
    EXPECT_FALSE(handler.ResetAccumulatedPrecipitation());
    EXPECT_EQ(gauge.Commands(), Commands{"0OOE0!"});

    handler.Disconnect();
    gauge.ClearCommands();
    EXPECT_FALSE(handler.SetHeatingMode(1)) << "sent regardless, but the port is closed";
    EXPECT_TRUE(gauge.Commands().empty());
}

TEST_F(HandlerOnSim, FirmwareUpdateDateReconnectsAndLearnsTheAddress) {
    SimGauge& gauge = ConnectedGauge(1, '7');
    handler.Address = "0";
    SDI12IO::ReopenPort(115200, 0, 0, 8); // right after a transfer
    ASSERT_TRUE(handler.SetLastFirmwareUpdateDate(Stamp));
    EXPECT_EQ(handler.Address, "7");
    EXPECT_EQ(gauge.ProgramLine().baud, 1200u);
    EXPECT_EQ(gauge.Commands(), (Commands{"?!", "7OOE0!", "7ODF2013-04-05T14:03:09!", "7OOE1!"}));
    EXPECT_EQ(gauge.Gauge().lastFirmwareUpdate, "2013-04-05T14:03:09");

    Silence(gauge);
    gauge.ClearCommands();
    EXPECT_FALSE(handler.SetLastFirmwareUpdateDate(Stamp));
    EXPECT_EQ(handler.Address, "") << "the address is what the query gave: nothing";
    EXPECT_EQ(gauge.Commands()[3], "OOE0!");
}

TEST_F(HandlerOnSim, DeviceClock) {
    SimGauge& gauge = ConnectedGauge();
    const std::string time = handler.GetDeviceTime();
    EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d$")
                    .match(QString::fromStdString(time))
                    .hasMatch())
        << time;
    EXPECT_EQ(gauge.Commands(), Commands{"0OTM!"});

    handler.Disconnect();
    EXPECT_TRUE(handler.SetDeviceTime("2013-04-05T14:03:09"));
    EXPECT_TRUE(handler.Connected) << "SetDeviceTime connects first";
    backend.Unplug();
    handler.Disconnect();
    EXPECT_FALSE(handler.SetDeviceTime("2013-04-05T14:03:09"));
}
