// The measurement sequence without widgets, against the simulated gauge:
// the commands the gauge receives, in order, what the rows show and what
// the history records.

#include "support/QtPrinters.h"
#include "support/GaugeOnSim.h"

#include "measurement/MeasurementSequence.h"

#include <QRegularExpression>

using namespace Measurement;
using Commands = std::vector<std::string>;

namespace {

class RecordingView : public MeasurementView {
public:
    void RowChanged(int position) override {
        changed.push_back({position, sequence->Row(position).valueText});
    }
    void GroupFailed() override { ++failures; }
    void BlinkingChanged(bool on) override { blinking = on; }
    void ContinuousModeChanged(bool on) override { modes.push_back(on); }
    void ContinuousTimerChanged(bool armed) override { timerArmed = armed; }
    void CloseCharts() override { ++chartClosings; }

    struct Change {
        int position;
        QString text;
    };
    std::vector<Change> changed;
    int failures = 0;
    bool blinking = false;
    std::vector<bool> modes;
    bool timerArmed = false;
    int chartClosings = 0;
    const MeasurementSequence* sequence = nullptr;
};

class MeasurementSequenceOnSim : public GaugeOnSim {
protected:
    MeasurementSequenceOnSim() { view.sequence = &sequence; }
    SimGauge& Gauge(int model = 1) {
        SimGauge& gauge = ConnectedGauge(model);
        sequence.Prepare(model);
        return gauge;
    }
    const ValueRow& Row(int position) const { return sequence.Row(position); }
    QString Raw(int position) const { return QString::fromStdString(Row(position).rawValue); }

    RecordingView view;
    MeasurementSequence sequence{handler, view, PinnedNow()};
};

const QRegularExpression SignedNumber(QStringLiteral("^[+-][0-9]+(\\.[0-9]+)?$"));

} // namespace

TEST_F(MeasurementSequenceOnSim, OneMeasurementSendsBothGroupsWithTheirUnitQueriesInOrder) {
    SimGauge& gauge = Gauge();
    sequence.SingleMeasurement();
    // "M!", its data, the two unit queries, "M1!", its data, the temperature unit.
    EXPECT_EQ(gauge.Commands(), (Commands{"0M!", "0D0!", "0D1!", "0OUI!", "0OUT!", "0M1!",
                                          "0D0!", "0OUT!"}));
    EXPECT_EQ(view.failures, 0);
    EXPECT_TRUE(sequence.HasMeasured());
}

TEST_F(MeasurementSequenceOnSim, EveryValueIsShownAsReceivedWithTheUnitOfItsRow) {
    SimGauge& gauge = Gauge();
    gauge.Gauge().intensityUnit = 1;   // mm/h
    gauge.Gauge().temperatureUnit = 1; // °F
    sequence.SingleMeasurement();

    for (int position : {0, 1, 2, 3, 4, 5, 6, 9, 10, 11})
        EXPECT_TRUE(SignedNumber.match(Raw(position)).hasMatch()) << position << ": " << Raw(position).toStdString();
    EXPECT_EQ(Row(0).valueText, Raw(0) + " mm/h");
    for (int position : {1, 2, 3})
        EXPECT_EQ(Row(position).valueText, Raw(position) + " mm (inactive while USB connected)");
    EXPECT_EQ(Raw(3), "+12.50") << "the accumulated total";
    EXPECT_EQ(Row(4).valueText, "+125.30 mm") << "the bucket content";
    EXPECT_EQ(Row(5).valueText, "+125.30 mm");
    EXPECT_EQ(Row(6).valueText, Raw(6) + " °F");
    EXPECT_TRUE(Row(7).hidden) << "the heating status row is never shown";
    EXPECT_EQ(Raw(7), "+1");
    EXPECT_EQ(Row(8).valueText, "+0 OK");
    EXPECT_EQ(Row(9).valueText, Raw(9) + " °F");
    EXPECT_EQ(Row(10).valueText, Raw(10) + " V");
    EXPECT_EQ(Row(11).valueText, Raw(11) + " °F");
    // The export takes these units; rows 7 and 8 keep none.
    EXPECT_EQ(Row(0).unitText, "mm/h");
    EXPECT_EQ(Row(4).unitText, "mm");
    EXPECT_EQ(Row(7).unitText, "");
    EXPECT_EQ(Row(8).unitText, "");
    EXPECT_EQ(Row(10).unitText, "V");
}

TEST_F(MeasurementSequenceOnSim, AMeasurementIsRecordedWithItsStartTimeAndTwelveRawValues) {
    Gauge();
    sequence.SingleMeasurement();
    ASSERT_EQ(sequence.History().Size(), 1u);
    const MeasurementValues& record = sequence.History()[0];
    EXPECT_EQ(DateTimeOf(record.Time), Now);
    for (int position = 0; position < 12; ++position)
        EXPECT_EQ(record.Value(static_cast<std::size_t>(position)), Row(position).rawValue)
            << position;
}

TEST_F(MeasurementSequenceOnSim, StatusWordsWithoutTableBitsShowOkAndDoNotBlink) {
    SimGauge& gauge = Gauge();
    for (const int status : {0, 2048}) {
        gauge.Faults().statusBits = status;
        sequence.SingleMeasurement();
        EXPECT_EQ(Row(8).valueText, QStringLiteral("+%1 OK").arg(status));
        EXPECT_EQ(sequence.StatusWord(), status);
        EXPECT_FALSE(Row(8).warning);
        EXPECT_EQ(Row(8).action, RowAction::None) << "the row ignores clicks";
        EXPECT_FALSE(view.blinking);
    }
}

TEST_F(MeasurementSequenceOnSim, StatusWord1026BlinksAndOpensTheAnalysis) {
    SimGauge& gauge = Gauge();
    gauge.Faults().statusBits = 1026;
    sequence.SingleMeasurement();
    EXPECT_EQ(Row(8).valueText, "+1026 Errors and warnings: ");
    EXPECT_EQ(sequence.StatusWord(), 1026);
    EXPECT_TRUE(Row(8).warning);
    EXPECT_EQ(Row(8).action, RowAction::Analysis);
    EXPECT_TRUE(view.blinking);

    // The next measurement without lines stops the blinking.
    gauge.Faults().statusBits = 0;
    sequence.SingleMeasurement();
    EXPECT_FALSE(Row(8).warning);
    EXPECT_FALSE(view.blinking);
}

TEST_F(MeasurementSequenceOnSim, AGaugeAnnouncingSevenValuesFillsSevenRowsAndKeepsTheStatusWord) {
    SimGauge& gauge = Gauge();
    gauge.Faults().statusBits = 1026;
    sequence.SingleMeasurement();
    gauge.Faults().mainValueCount = 7;
    gauge.Faults().statusBits = 0;
    sequence.SingleMeasurement();

    EXPECT_EQ(view.failures, 0) << "seven announced, seven delivered";
    for (int position = 0; position < 7; ++position)
        EXPECT_NE(Row(position).valueText, "Failure") << position;
    EXPECT_EQ(Row(7).valueText, "Failure");
    EXPECT_EQ(Row(8).valueText, "Failure");
    EXPECT_EQ(sequence.StatusWord(), 1026) << "no status value arrived";
    EXPECT_EQ(Row(9).valueText, Raw(9) + " °C") << "the M1 group still follows";
    EXPECT_EQ(sequence.History().Size(), 2u);
}

TEST_F(MeasurementSequenceOnSim, AFailedGroupIsReportedAndTheOtherGroupAndTheRecordFollow) {
    SimGauge& gauge = Gauge();
    sequence.SingleMeasurement();
    const QString shown = Row(0).valueText;
    const std::string raw = Row(0).rawValue;
    gauge.ClearCommands();
    // "M!" goes unanswered (three attempts).
    gauge.Faults().silent = true;
    gauge.Faults().faultyReplies = 3;
    sequence.SingleMeasurement();

    EXPECT_EQ(view.failures, 1);
    EXPECT_EQ(gauge.Commands().front(), "0M!");
    EXPECT_EQ(std::count(gauge.Commands().begin(), gauge.Commands().end(), "0M1!"), 1);
    EXPECT_EQ(Row(0).valueText, "- - - -") << "the failed group's rows keep what they showed";
    EXPECT_NE(shown, Row(0).valueText);
    ASSERT_EQ(sequence.History().Size(), 2u);
    EXPECT_EQ(sequence.History()[1].Value(0), raw) << "the last successful reading is recorded";
}

TEST_F(MeasurementSequenceOnSim, AFailedUnitQueryShowsNoUnitText) {
    SimGauge& gauge = Gauge();
    // "OUI!" and "OUT!" go unanswered.
    gauge.Faults().silent = true;
    gauge.Faults().faultyReplies = 6;
    sequence.ShowMValues({"+1.5", "+0.1", "+0.2", "+12.5", "+100.0", "+100.0", "+20.1", "+1", "+0"});
    EXPECT_EQ(Row(0).valueText, "+1.5");
    EXPECT_EQ(Row(1).valueText, "+0.1 (inactive while USB connected)");
    EXPECT_EQ(Row(4).valueText, "+100.0");
    EXPECT_EQ(Row(6).valueText, "+20.1");
    EXPECT_EQ(Row(8).valueText, "+0 OK");
    EXPECT_EQ(Row(0).unitText, "");
}

TEST_F(MeasurementSequenceOnSim, AStatusValueThatIsNotANumberShowsFailureWithoutAnalysis) {
    Gauge();
    sequence.ShowMValues({"+1.5", "+0.1", "+0.2", "+12.5", "+100.0", "+100.0", "+20.1", "+1", "+1.5"});
    EXPECT_EQ(Row(8).valueText, "+1.5 Failure");
    EXPECT_FALSE(Row(8).warning);
    EXPECT_EQ(Row(8).action, RowAction::None);
    EXPECT_EQ(sequence.StatusWord(), 0);
    EXPECT_EQ(Row(0).valueText, "+1.5 mm/h") << "the rows before it are shown";
}

TEST_F(MeasurementSequenceOnSim, ContinuousModeMarksOldValuesMeasuresAndRearmsItsTimer) {
    SimGauge& gauge = Gauge();
    sequence.SingleMeasurement();
    sequence.ToggleContinuous();
    EXPECT_TRUE(sequence.ContinuousActive());
    EXPECT_EQ(view.chartClosings, 1);
    EXPECT_TRUE(sequence.History().Empty()) << "the history starts anew";
    EXPECT_EQ(view.modes, (std::vector<bool>{true}));
    EXPECT_TRUE(view.timerArmed);

    gauge.ClearCommands();
    view.changed.clear();
    sequence.ContinuousTick(true);
    ASSERT_GE(view.changed.size(), 12u);
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(view.changed[i].position, static_cast<int>(i));
        EXPECT_TRUE(view.changed[i].text.endsWith(" *")) << view.changed[i].text.toStdString();
    }
    EXPECT_EQ(gauge.Commands().front(), "0M!");
    EXPECT_EQ(sequence.History().Size(), 1u);
    EXPECT_TRUE(view.timerArmed) << "the next cycle follows";
}

TEST_F(MeasurementSequenceOnSim, ContinuousModeEndsWhenTheAreaIsHiddenAtTheNextTick) {
    SimGauge& gauge = Gauge();
    sequence.ToggleContinuous();
    gauge.ClearCommands();
    sequence.ContinuousTick(false);
    EXPECT_FALSE(sequence.ContinuousActive());
    EXPECT_EQ(view.modes, (std::vector<bool>{true, false}));
    EXPECT_FALSE(view.timerArmed);
    EXPECT_TRUE(gauge.Commands().empty());
}

TEST_F(MeasurementSequenceOnSim, ALostLinkEndsTheCycleAndLeavesTheTimerOff) {
    Gauge();
    sequence.ToggleContinuous();
    backend.Unplug();
    sequence.ContinuousTick(true);
    EXPECT_FALSE(view.timerArmed);
    EXPECT_TRUE(sequence.ContinuousActive()) << "the disconnect resets the area";
    EXPECT_TRUE(sequence.History().Empty());
    EXPECT_EQ(view.failures, 0) << "the cycle ends before it measures";
}

TEST_F(MeasurementSequenceOnSim, ATickAfterCancelMeasuresNothingAndKeepsTheModeOff) {
    SimGauge& gauge = Gauge();
    sequence.ToggleContinuous();
    sequence.ToggleContinuous();
    gauge.ClearCommands();
    for (const bool visible : {true, false}) {
        sequence.ContinuousTick(visible);
        EXPECT_FALSE(sequence.ContinuousActive());
        EXPECT_FALSE(view.timerArmed);
    }
    EXPECT_TRUE(gauge.Commands().empty());
}

TEST_F(MeasurementSequenceOnSim, ShowingTheAreaAgainKeepsTheRunUnlessTheModelOrTheGaugeChanged) {
    Gauge(1);
    sequence.SingleMeasurement();
    const QString shown = Row(0).valueText;
    EXPECT_FALSE(sequence.Prepare(1));
    EXPECT_EQ(Row(0).valueText, shown);
    EXPECT_EQ(sequence.History().Size(), 1u);

    EXPECT_TRUE(sequence.Prepare(2)) << "another model";
    EXPECT_EQ(Row(0).valueText, "- - - -");
    EXPECT_TRUE(sequence.History().Empty());

    sequence.SingleMeasurement();
    sequence.Reset();
    EXPECT_EQ(Row(0).valueText, "---");
    EXPECT_EQ(sequence.History().Size(), 1u) << "a disconnect keeps the run's records";
    EXPECT_FALSE(sequence.Prepare(2)) << "the same gauge back: the same run";
    EXPECT_EQ(sequence.History().Size(), 1u);
    EXPECT_TRUE(sequence.Prepare(2, "987654321")) << "another gauge starts a new run";
    EXPECT_TRUE(sequence.History().Empty());
}
