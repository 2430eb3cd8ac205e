// The read and write sequences of the configuration area, without widgets,
// against the simulated gauge: the commands the gauge receives, in order,
// and what the rows hold afterwards.

#include "ConfigFixture.h"

#include "config/ConfigurationSequence.h"

using namespace Config;

namespace {

class RecordingView : public ConfigurationView {
public:
    void TransferStarting() override { ++starts; }
    void RowReported(Row row) override { reported.push_back(row); }
    void TransferFinished() override { ++finishes; }

    int starts = 0;
    int finishes = 0;
    std::vector<Row> reported;
};

// Which heating rows a mode shows, as the mode table of the area says.
struct HeatingRows {
    bool nominal, threshold, switchTime, duration, selfTest;
};

HeatingRows RowsOfMode(int model, int mode) {
    if (model == 0)
        return {mode == 1, false, false, false, false};
    static const HeatingRows table[5] = {
        {false, false, false, false, false}, // deactivated
        {true, false, false, false, true},   // permanent
        {true, true, false, false, true},    // temperature range control
        {true, false, true, true, true},     // NWS-Standard
        {true, false, false, true, true},    // precipitation events
    };
    return table[mode];
}

class SequenceOnSim : public ConfigOnSim {
protected:
    // A gauge of model, its rows prepared and read; the command record empty.
    SimGauge& ReadGauge(int model, const std::function<void(SimGauge::State&)>& preset = {}) {
        SimGauge& gauge = ConnectedGauge(model);
        if (preset)
            preset(gauge.Gauge());
        sequence.Prepare(model);
        sequence.Read();
        gauge.ClearCommands();
        view = RecordingView();
        return gauge;
    }

    ParameterRows rows;
    RecordingView view;
    ConfigurationSequence sequence{handler, rows, view};
};

} // namespace

TEST_F(SequenceOnSim, ReadOfATessra2LQueriesEverySettingInOrderAndFillsTheRows) {
    SimGauge& gauge = ConnectedGauge(1);
    SimGauge::State& s = gauge.Gauge();
    s.communicationInterface = 1;
    s.temperatureUnit = 1;
    s.intensityUnit = 3;
    s.impulseFrequency = 1;
    s.impulseFactor = 4;
    s.heatingMode = 2;
    s.heatingTemperature = 7;
    s.heatingThreshold = -12;
    s.heatingSwitchTime = "05:30:15";
    s.heatingDuration = 90;
    s.heatingSelfTest = 4320;

    sequence.Prepare(1);
    EXPECT_TRUE(gauge.Commands().empty()) << "preparing a Tessra2 L asks nothing";
    sequence.Read();

    EXPECT_EQ(gauge.Commands(),
              (Commands{"?!", "0OCL!", "0OCM!", "0OUT!", "0OUI!", "0OCI!", "0OOV!", "0OSI!",
                        "0OCH!", "0OCHS!", "0OCHG!", "0OCHZ!", "0OTM!", "0OCHD!", "0OCHT!"}));
    const ParameterSet& set = rows.Set();
    EXPECT_EQ(set.BusAddress, "0");
    EXPECT_EQ(set.CommunicationInterface, 1);
    EXPECT_EQ(set.ProtocolType, 0);
    EXPECT_EQ(set.TemperatureUnit, 1);
    EXPECT_EQ(set.PrecipitationUnit, 3);
    EXPECT_EQ(set.ImpulseFrequency, 1);
    EXPECT_EQ(set.ImpulseFactor, 4);
    EXPECT_EQ(rows.Selection(ImpulseFactorRow), 4);
    EXPECT_EQ(set.HeatingMode, 2);
    EXPECT_EQ(set.HeatingTemperature, 7);
    EXPECT_EQ(set.HeatingThreshold, -12);
    EXPECT_EQ(set.HeatingSwitchTime, "05:30:15");
    EXPECT_EQ(set.HeatingDuration, 90) << "read and stored although its row is hidden";
    EXPECT_EQ(set.HeatingSelfTest, 4320);
    EXPECT_EQ(rows.Selection(SelfTestRow), 5);

    EXPECT_TRUE(rows.Shown(ProtocolRow)) << "RS-485 shows the protocol";
    EXPECT_TRUE(rows.Shown(ThresholdRow));
    EXPECT_FALSE(rows.Shown(SwitchTimeRow));
    EXPECT_FALSE(rows.Shown(DurationRow));
    for (int row = 0; row < RowCount; ++row)
        EXPECT_EQ(rows.MarkOf(Row(row)), Mark::Succeeded) << "row " << row;
    EXPECT_TRUE(rows.ConfigurationRead);
    EXPECT_EQ(view.starts, 1);
    EXPECT_EQ(view.finishes, 1);
    EXPECT_EQ(view.reported.size(), std::size_t(RowCount)) << "one report a row";
    EXPECT_TRUE(rows.GaugeClockRunning()) << "the switching time shows the gauge clock";
}

TEST_F(SequenceOnSim, WriteOrderForEveryHeatingModeOfEveryModelWithForceOffAndOn) {
    for (int model = 0; model <= 2; ++model) {
        const int modes = model == 0 ? 2 : 5;
        for (int mode = 0; mode < modes; ++mode) {
            for (const bool force : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << "model " << model << " mode " << mode << " force " << force);
                backend = SimBackend();
                handler.Disconnect();
                SimGauge& gauge =
                    ReadGauge(model, [mode](SimGauge::State& s) { s.heatingMode = mode; });
                sequence.Write(rows.Set(), force);

                const HeatingRows shown = RowsOfMode(model, mode);
                Commands expected = Bracketed("A0!");
                expected += Bracketed("OCL0!");
                expected += Bracketed("OCM0!");
                expected += Bracketed("OUT0!");
                expected += Bracketed("OUI1!");
                expected += Bracketed("OCI0!");
                expected.push_back("0OOV!");
                expected += Bracketed("OSI1!");
                expected += Bracketed("OCH" + std::to_string(mode) + "!");
                if (model > 0 && mode == 3)
                    expected.push_back("0OTM!"); // "NWS-Standard" shows the gauge clock
                if (shown.nominal || force)
                    expected += Bracketed("OCHS+4!");
                if (model > 0) {
                    if (shown.threshold || force)
                        expected += Bracketed("OCHG-5!");
                    if (shown.switchTime || force) {
                        expected += Bracketed("OCHZ06:00:00!");
                        expected.push_back("0OTM!");
                    }
                    if (shown.duration || force)
                        expected += Bracketed("OCHD20!");
                    if (shown.selfTest || force)
                        expected += Bracketed("OCHT60!");
                }
                expected += Bracketed("ODC*!");
                EXPECT_EQ(Masked(gauge.Commands()), expected);

                EXPECT_EQ(rows.Shown(NominalTemperatureRow), shown.nominal);
                EXPECT_EQ(rows.Shown(ThresholdRow), shown.threshold);
                EXPECT_EQ(rows.Shown(SwitchTimeRow), shown.switchTime);
                EXPECT_EQ(rows.Shown(DurationRow), shown.duration);
                EXPECT_EQ(rows.Shown(SelfTestRow), shown.selfTest);
                EXPECT_EQ(rows.MarkOf(HeatingModeRow), Mark::Succeeded);
                EXPECT_EQ(rows.MarkOf(NominalTemperatureRow),
                          shown.nominal || force ? Mark::Succeeded : Mark::None);
            }
        }
    }
}

TEST_F(SequenceOnSim, DwdOmbrometerIsReadAsTheLastEntryAndWritesOnlyAddressAndProtocol) {
    for (const int model : {1, 2}) {
        SCOPED_TRACE(model);
        backend = SimBackend();
        handler.Disconnect();
        SimGauge& gauge = ReadGauge(model, [](SimGauge::State& s) {
            s.communicationInterface = 1;
            s.protocolType = 2;
        });
        EXPECT_EQ(rows.Selection(ProtocolRow), DwdPosition);
        EXPECT_EQ(rows.Set().ProtocolType, DwdPosition);
        // A read ends with every row enabled; only picking "DWD Ombrometer"
        // disables the others.
        for (int row = 0; row < RowCount; ++row)
            EXPECT_TRUE(rows.Enabled(Row(row))) << "row " << row;

        sequence.Write(rows.Set(), false);
        Commands expected = Bracketed("A0!");
        expected += Bracketed("OCM2!");
        expected += Bracketed("ODC*!");
        EXPECT_EQ(Masked(gauge.Commands()), expected);
        EXPECT_EQ(rows.MarkOf(ProtocolRow), Mark::Succeeded);
        EXPECT_EQ(rows.MarkOf(InterfaceRow), Mark::None);
    }
}

TEST_F(SequenceOnSim, AsciiProtocolWithBaudCode3IsShownAt9600AndWrittenBackAsProtocol1ThenBaud3) {
    SimGauge& gauge = ConnectedGauge(1);
    gauge.Gauge().communicationInterface = 1;
    gauge.Gauge().protocolType = 1;
    gauge.Gauge().asciiBaud = 3;
    sequence.Prepare(1);
    sequence.Read();
    const Commands read = gauge.Commands();
    ASSERT_GE(read.size(), 4u);
    EXPECT_EQ(read[2], "0OCM!");
    EXPECT_EQ(read[3], "0OCR!") << "ASCII text asks for its baud rate";
    EXPECT_EQ(rows.Selection(ProtocolRow), 4);
    EXPECT_EQ(rows.Entries(ProtocolRow).firstTextId + 4, 614) << "\"ASCII Text 9600 bd\"";
    EXPECT_EQ(rows.Set().AsciiBaudIndex, 3);

    gauge.ClearCommands();
    gauge.Gauge().asciiBaud = 0;
    sequence.Write(rows.Set(), false);
    Commands expected = Bracketed("A0!");
    expected += Bracketed("OCL1!");
    expected += Bracketed("OCM1!");
    expected += Bracketed("OCR3!");
    expected.push_back("0OCR!"); // the row shows what the gauge now holds
    const Commands written = gauge.Commands();
    ASSERT_GE(written.size(), expected.size());
    EXPECT_EQ(Commands(written.begin(), written.begin() + long(expected.size())), expected);
    EXPECT_EQ(gauge.Gauge().protocolType, 1);
    EXPECT_EQ(gauge.Gauge().asciiBaud, 3);
    EXPECT_EQ(rows.Selection(ProtocolRow), 4);
    EXPECT_EQ(rows.MarkOf(ProtocolRow), Mark::Succeeded);
}

TEST_F(SequenceOnSim, Model0ImpulseFactorCode0ShowsPoint1AndIsWrittenAsCode1) {
    SimGauge& gauge = ReadGauge(0, [](SimGauge::State& s) { s.impulseFactor = 0; });
    EXPECT_EQ(rows.Selection(ImpulseFactorRow), 0);
    EXPECT_EQ(rows.Entries(ImpulseFactorRow).literals.at(0), "0.1");
    EXPECT_EQ(rows.Set().ImpulseFactor, 1);
    EXPECT_EQ(rows.MarkOf(ImpulseFactorRow), Mark::Succeeded);

    sequence.Write(rows.Set(), false);
    const Commands& sent = gauge.Commands();
    EXPECT_NE(std::find(sent.begin(), sent.end(), "0OSI1!"), sent.end());
    EXPECT_EQ(gauge.Gauge().impulseFactor, 1);
}

TEST_F(SequenceOnSim, Model0WithOldFirmwareHasNoImpulseFactor) {
    SimGauge& gauge = ConnectedGauge(0);
    gauge.Gauge().firmwareVersion = "V1.30.2";
    sequence.Prepare(0);
    EXPECT_EQ(gauge.Commands(), Commands{"0OOV!"}) << "model 0 is asked once while preparing";
    EXPECT_FALSE(rows.Shown(ImpulseFactorRow));
    sequence.Read();
    const Commands& sent = gauge.Commands();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "0OSI!"), 0);
    EXPECT_EQ(rows.MarkOf(ImpulseFactorRow), Mark::None);
}

TEST_F(SequenceOnSim, SelfTestOf1440MinutesSelectsOneDay) {
    ReadGauge(1, [](SimGauge::State& s) { s.heatingSelfTest = 1440; });
    EXPECT_EQ(rows.Selection(SelfTestRow), 3);
    EXPECT_EQ(rows.Entries(SelfTestRow).literals.at(3), "1d");
    EXPECT_EQ(rows.Set().HeatingSelfTest, 1440);
}

TEST_F(SequenceOnSim, ThresholdFailureValueOrOutOfRangeFailsTheRowAndKeepsThePreviousValue) {
    SimGauge& gauge = ReadGauge(2, [](SimGauge::State& s) { s.heatingThreshold = -5; });
    ASSERT_EQ(rows.Set().HeatingThreshold, -5);
    for (const int reported : {-9999, 10, -41}) {
        SCOPED_TRACE(reported);
        gauge.Gauge().heatingThreshold = reported;
        sequence.Read();
        EXPECT_EQ(rows.MarkOf(ThresholdRow), Mark::Failed);
        EXPECT_EQ(rows.Set().HeatingThreshold, -5);
        EXPECT_EQ(rows.Position(ThresholdRow), -5);
        EXPECT_EQ(rows.MarkOf(SelfTestRow), Mark::Succeeded) << "the other steps still run";
    }
    gauge.Gauge().heatingThreshold = 9;
    sequence.Read();
    EXPECT_EQ(rows.MarkOf(ThresholdRow), Mark::Succeeded);
    EXPECT_EQ(rows.Set().HeatingThreshold, 9);
}

TEST_F(SequenceOnSim, ValuesTheListsDoNotHoldFailTheirRows) {
    SimGauge& gauge = ReadGauge(0, [](SimGauge::State& s) {
        s.communicationInterface = 1;
        s.protocolType = 3;
        s.heatingTemperature = 12;
    });
    ASSERT_EQ(rows.Set().ProtocolType, 3);
    SimGauge::State& s = gauge.Gauge();
    s.communicationInterface = 2; // four-wire exists on models 1 and 2 only
    s.protocolType = 6;
    s.heatingTemperature = 21;
    s.heatingSwitchTime = "25:00:00";
    sequence.Read();
    EXPECT_EQ(rows.MarkOf(InterfaceRow), Mark::Failed);
    EXPECT_EQ(rows.Selection(InterfaceRow), 1);
    EXPECT_EQ(rows.Set().CommunicationInterface, 1);
    EXPECT_EQ(rows.MarkOf(ProtocolRow), Mark::Failed);
    EXPECT_EQ(rows.Set().ProtocolType, 3);
    EXPECT_EQ(rows.MarkOf(NominalTemperatureRow), Mark::Failed);
    EXPECT_EQ(rows.Set().HeatingTemperature, 12);

    // On models 1 and 2 a code beyond 2 names its list entry; one beyond the list fails.
    backend = SimBackend();
    handler.Disconnect();
    SimGauge& l = ReadGauge(1, [](SimGauge::State& st) {
        st.heatingMode = 3;
        st.heatingSwitchTime = "07:15:00";
    });
    l.Gauge().protocolType = 3;
    l.Gauge().heatingSwitchTime = "7:xx:00";
    sequence.Read();
    EXPECT_EQ(rows.MarkOf(ProtocolRow), Mark::Succeeded);
    EXPECT_EQ(rows.Selection(ProtocolRow), 3) << "ASCII Text 4800 bd";
    EXPECT_EQ(rows.Set().ProtocolType, 3);
    EXPECT_EQ(rows.MarkOf(SwitchTimeRow), Mark::Failed) << "parts that are not numbers";
    EXPECT_EQ(rows.Set().HeatingSwitchTime, "07:15:00");
    EXPECT_EQ(rows.SwitchTime(), QTime(7, 15, 0));
    l.Gauge().heatingSwitchTime = "0";
    sequence.Read();
    EXPECT_EQ(rows.MarkOf(SwitchTimeRow), Mark::Failed) << "one part is no time of day";
    EXPECT_EQ(rows.Set().HeatingSwitchTime, "07:15:00");
    l.Gauge().protocolType = 9;
    sequence.Read();
    EXPECT_EQ(rows.MarkOf(ProtocolRow), Mark::Failed) << "beyond the nine entries";
    EXPECT_EQ(rows.Selection(ProtocolRow), 3);
    EXPECT_EQ(rows.Set().ProtocolType, 3);
}

TEST_F(SequenceOnSim, WithoutAGaugeEveryRowFailsAndTheReadStillCompletes) {
    ReadGauge(1, [](SimGauge::State& s) { s.heatingMode = 4; });
    const ParameterSet before = rows.Set();
    handler.Disconnect();
    sequence.Read();
    for (int row = 0; row < RowCount; ++row)
        EXPECT_EQ(rows.MarkOf(Row(row)), Mark::Failed) << "row " << row;
    EXPECT_EQ(rows.Set().HeatingMode, before.HeatingMode);
    EXPECT_EQ(rows.Set().HeatingDuration, before.HeatingDuration);
    EXPECT_TRUE(rows.ConfigurationRead);
}

TEST_F(SequenceOnSim, SwitchingTimeIsKeptAsTheGaugeSentItAndSentBackSo) {
    SimGauge& gauge = ReadGauge(1, [](SimGauge::State& s) {
        s.heatingMode = 3;
        s.heatingSwitchTime = "6:5:0";
    });
    EXPECT_EQ(rows.MarkOf(SwitchTimeRow), Mark::Succeeded);
    EXPECT_EQ(rows.SwitchTime(), QTime(6, 5, 0));
    EXPECT_EQ(rows.Set().HeatingSwitchTime, "6:5:0");
    sequence.Write(rows.Set(), false);
    const Commands& sent = gauge.Commands();
    EXPECT_NE(std::find(sent.begin(), sent.end(), "0OCHZ6:5:0!"), sent.end());
}

TEST_F(SequenceOnSim, NwsGaugeClockRunsWhileTheSwitchingTimeIsShown) {
    SimGauge& gauge = ConnectedGauge(1);
    gauge.Gauge().heatingMode = 3;
    const QDateTime pinned(QDate(2026, 12, 31), QTime(23, 59, 58));
    gauge.PinClock(pinned, clock.Peek());
    sequence.Prepare(1);
    sequence.Read();
    ASSERT_TRUE(rows.Shown(SwitchTimeRow));
    ASSERT_TRUE(rows.GaugeClockRunning());
    const QDateTime shown = rows.GaugeClock();
    EXPECT_GE(shown, pinned) << "the gauge's clock";
    EXPECT_LE(shown, gauge.ClockAt(clock.Peek())) << "the gauge's clock";
    EXPECT_TRUE(rows.TickGaugeClock());
    EXPECT_EQ(rows.GaugeClock(), shown.addSecs(1));

    // A clock reply that is not six parts leaves the picker and stops the clock.
    gauge.Faults().garbage = true;
    sequence.ApplySwitchTime(QStringLiteral("06:00:00"), true);
    EXPECT_FALSE(rows.GaugeClockRunning());
    EXPECT_EQ(rows.GaugeClock(), shown.addSecs(1));
    gauge.Faults().garbage = false;

    sequence.ApplySwitchTime(QStringLiteral("06:00:00"), true);
    ASSERT_TRUE(rows.GaugeClockRunning());
    sequence.ChooseHeatingMode(1);
    EXPECT_FALSE(rows.TickGaugeClock()) << "the hidden row stops the clock";
    EXPECT_FALSE(rows.GaugeClockRunning());
}

TEST_F(SequenceOnSim, ChoosingNwsStandardStoresThePickersTimeSoThatItIsWritten) {
    SimGauge& gauge = ReadGauge(1, [](SimGauge::State& s) {
        s.heatingMode = 1;
        s.heatingSwitchTime = "06:00:00";
    });
    sequence.ChooseHeatingMode(HeatingNwsStandard);
    EXPECT_EQ(gauge.Commands(), Commands{"0OTM!"});
    EXPECT_TRUE(rows.Shown(SwitchTimeRow));
    const QString shown = rows.SwitchTime().toString(QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(rows.Set().HeatingSwitchTime, shown);
    EXPECT_LT(std::abs(rows.SwitchTime().secsTo(QTime::currentTime())), 5);

    gauge.ClearCommands();
    sequence.Write(rows.Set(), false);
    const Commands& sent = gauge.Commands();
    EXPECT_NE(std::find(sent.begin(), sent.end(), "0OCHZ" + shown.toStdString() + "!"), sent.end());
    EXPECT_EQ(QString::fromStdString(gauge.Gauge().heatingSwitchTime), shown);
}
