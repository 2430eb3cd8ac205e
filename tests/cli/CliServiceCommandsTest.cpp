// clock, reset-total and factory-reset.

#include "CliFixture.h"

#include <QDateTime>

class CliService : public CliOnSim {};

TEST_F(CliService, ClockGetPrintsTheGaugesClock) {
    SimGauge& gauge = AddGauge(1);
    gauge.PinClock(QDateTime(QDate(2015, 2, 12), QTime(10, 11, 12)), clock.Peek());
    EXPECT_EQ(Run({"clock", "get"}), 0) << err.toStdString();
    EXPECT_TRUE(out.startsWith("2015-02-12T10:11:1")) << out.toStdString();
}

TEST_F(CliService, ClockSetSendsTheTimeGiven) {
    SimGauge& gauge = AddGauge(1);
    gauge.PinClock(QDateTime(QDate(2015, 2, 12), QTime(10, 11, 12)), clock.Peek());
    EXPECT_EQ(Run({"clock", "set", "2020-06-30T23:59:58"}), 0) << err.toStdString();
    EXPECT_EQ(out, "2020-06-30T23:59:58\n");
    EXPECT_EQ(gauge.ClockAt(clock.Peek()).date(), QDate(2020, 6, 30));
}

TEST_F(CliService, ClockSetRefusesWhatIsNoTime) {
    SimGauge& gauge = AddGauge(1);
    for (const char* time : {"2020-06-31T10:00:00", "2020-06-30 10:00:00", "10:00", "now"}) {
        EXPECT_EQ(Run({"clock", "set", time}), 2) << time;
        EXPECT_EQ(err.trimmed(), QString("Not a time of the form YYYY-MM-DDTHH:MM:SS: ") + time);
    }
    EXPECT_TRUE(gauge.Commands().empty());
}

TEST_F(CliService, ClockSyncSetsThePcsTime) {
    SimGauge& gauge = AddGauge(1);
    gauge.PinClock(QDateTime(QDate(2001, 1, 1), QTime(0, 0)), clock.Peek());
    EXPECT_EQ(Run({"clock", "sync"}), 0) << err.toStdString();
    EXPECT_LT(std::abs(gauge.ClockAt(clock.Peek()).secsTo(QDateTime::currentDateTime())), 5);
}

TEST_F(CliService, ResetTotalAsksFirst) {
    SimGauge& gauge = AddGauge(1);
    EXPECT_EQ(Run({"reset-total"}), 2);
    EXPECT_TRUE(err.startsWith(
        "Are you sure you want to reset the accumulated amount of precipitation?"));
    EXPECT_DOUBLE_EQ(gauge.Gauge().accumulatedTotal, 12.5);
    EXPECT_EQ(Run({"reset-total", "--yes"}), 0) << err.toStdString();
    EXPECT_TRUE(err.trimmed().endsWith("Accumulated amount of precipitation reset!"));
    EXPECT_LT(gauge.Gauge().accumulatedTotal, 1.0);
}

TEST_F(CliService, FactoryResetWritesTheFactorySetOfTheModel) {
    SimGauge& gauge = AddGauge(1);
    SimGauge::State& state = gauge.Gauge();
    state.temperatureUnit = 1;
    state.heatingMode = 0;
    state.heatingThreshold = 3;
    state.heatingDuration = 100;
    EXPECT_EQ(Run({"factory-reset", "--yes"}), 0) << err.toStdString();
    EXPECT_TRUE(err.contains("Threshold temperature: -30")) << err.toStdString();
    EXPECT_EQ(state.temperatureUnit, 0);
    EXPECT_EQ(state.heatingMode, 1);
    EXPECT_EQ(state.heatingTemperature, 5);
    EXPECT_EQ(state.heatingThreshold, -30);
    EXPECT_EQ(state.heatingDuration, 20);
    EXPECT_EQ(state.heatingSelfTest, 60);
    EXPECT_EQ(state.heatingSwitchTime, "00:00:00");
}

TEST_F(CliService, FactoryResetHeatingAnswersTheTessra2sQuestion) {
    SimGauge& gauge = AddGauge(0);
    EXPECT_EQ(Run({"factory-reset", "--heating", "off", "--yes"}), 0) << err.toStdString();
    EXPECT_FALSE(err.contains("Do you want to activate the heating?")) << err.toStdString();
    EXPECT_TRUE(err.contains("Heating mode: deactivated")) << err.toStdString();
    EXPECT_EQ(gauge.Gauge().heatingMode, 0);
    EXPECT_EQ(gauge.Gauge().heatingTemperature, 4);
}

TEST_F(CliService, FactoryResetRefusesHeatingOffWhereTheFactorySetHeats) {
    SimGauge& gauge = AddGauge(2);
    gauge.Gauge().heatingMode = 0;
    EXPECT_EQ(Run({"factory-reset", "--heating", "off", "--yes"}), 2);
    EXPECT_EQ(err.trimmed(), "The factory settings of the Axo Tessra2 S always switch the heating "
                             "on; --heating off is for the Axo Tessra2 only.");
    EXPECT_EQ(gauge.Gauge().heatingMode, 0);
}
