// The clock panel against the simulated gauge on the manual clock.

#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "service/DeviceClock.h"
#include "service/TimeSetFrame.h"
#include "sim/SimBackend.h"
#include "support/ScriptedDialogs.h"
#include "ui/PanelButton.h"
#include "ui/WideLanguageHandler.h"
#include "support/ConnectedSimGauge.h"
#include "support/LanguageScope.h"
#include "support/LinkStateGuard.h"

#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLabel>
#include <QTimeEdit>
#include <QtTest/QTest>
#include <string>
#include <vector>

namespace {

using Commands = std::vector<std::string>;

const QDateTime PcTime(QDate(2024, 6, 30), QTime(14, 15, 16));

class ClockPanel : public ::testing::Test {
protected:
    void SetUp() override {
        clock.SetPollStepMs(0.05);
        gauge = &ConnectSimGauge(backend, handler, 2);
        panel.SetWallClock([] { return PcTime; });
    }

    // The simulated gauge's clock shows when from now on.
    void SetGaugeClock(const QDateTime& when) { gauge->PinClock(when, clock.Peek()); }
    // The gauge answers its next query with text (address and line end added).
    void NextReplyIs(const std::string& text) {
        gauge->Faults().silent = true;
        gauge->Faults().faultyReplies = 1;
        const std::string line = "0" + text + "\r\n";
        gauge->InjectNoise(std::vector<std::uint8_t>(line.begin(), line.end()), clock.Peek() + 60);
    }
    void SetTimeToSet(const QDateTime& when) {
        panel.WriteDatePicker->setDate(when.date());
        panel.WriteTimePicker->setTime(when.time());
    }

    LanguageScope english{OffsetEnglish};
    ManualClock clock;
    ScopedClock scopedClock{clock};
    SimBackend backend;
    LinkStateGuard link{&backend};
    SimGauge* gauge = nullptr;
    TSDIHandler handler;
    ScriptedDialogs dialogs;
    TTimeSetFrame panel{&handler};
};

} // namespace

TEST(DeviceClockText, SplitsAndJudgesTheReply) {
    const ClockReading valid = ParseDeviceClock("2015-02-12T10:11:12");
    EXPECT_EQ(valid.outcome, ClockReading::Outcome::Valid);
    EXPECT_EQ(valid.when, QDateTime(QDate(2015, 2, 12), QTime(10, 11, 12)));
    EXPECT_EQ(ParseDeviceClock("").outcome, ClockReading::Outcome::NoReply);

    const ClockReading five = ParseDeviceClock("2015-02-12T10:11");
    EXPECT_EQ(five.outcome, ClockReading::Outcome::Invalid);
    EXPECT_EQ(five.parts, (QStringList{"2015", "02", "12", "10", "11"}));
    // Six parts, but no valid date and time.
    EXPECT_EQ(ParseDeviceClock("2015-02-30T10:11:12").outcome, ClockReading::Outcome::Invalid);
    EXPECT_EQ(ParseDeviceClock("2015-02-12T25:11:12").outcome, ClockReading::Outcome::Invalid);
    EXPECT_EQ(ParseDeviceClock("2015-02-12T10:1x:12").outcome, ClockReading::Outcome::Invalid);
    EXPECT_EQ(ParseDeviceClock("2015-02-12T10:11:+2").outcome, ClockReading::Outcome::Invalid);

    EXPECT_EQ(DeviceClockText(QDate(2013, 4, 5), QTime(14, 3, 9)), "2013-04-05T14:03:09");
}

TEST_F(ClockPanel, OpeningReadsTheGaugeClockWhichThenRuns) {
    SetGaugeClock(QDateTime(QDate(2015, 2, 12), QTime(10, 11, 12)));
    panel.InitalizeFrame();

    EXPECT_EQ(gauge->Commands(), Commands{"0OTM!"});
    EXPECT_EQ(panel.ReadDatePicker->date(), QDate(2015, 2, 12));
    EXPECT_EQ(panel.ReadTimePicker->time(), QTime(10, 11, 12));
    EXPECT_EQ(panel.ReadDatePicker->text(), QStringLiteral("2015-02-12"));
    EXPECT_EQ(panel.ReadTimePicker->text(), QStringLiteral("10:11:12"));
    EXPECT_TRUE(panel.ReadDatePicker->isReadOnly());
    // The time to set starts at the PC's time.
    EXPECT_EQ(panel.WriteDatePicker->date(), PcTime.date());
    EXPECT_EQ(panel.WriteTimePicker->time(), PcTime.time());
    EXPECT_TRUE(panel.ClockTick.isActive());
    EXPECT_EQ(panel.ClockTick.interval(), 1000);

    panel.ClockTickTimer();
    panel.ClockTickTimer();
    EXPECT_EQ(panel.ReadTimePicker->time(), QTime(10, 11, 14));
    EXPECT_TRUE(dialogs.Messages().isEmpty());

    EXPECT_EQ(panel.TitleLabel->text(), QStringLiteral("Axo Tessra2 S time adjustment"));
    EXPECT_EQ(panel.Tessra2TimeLabel->text(), QStringLiteral("Axo Tessra2 S Time"));
    EXPECT_EQ(panel.SetTimeLabel->text(), QStringLiteral("New time"));
    EXPECT_EQ(panel.CloseLabel->text(), QStringLiteral("X "));
    const QStringList captions = {"Read time", "Write time", "Sync with PC time"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(panel.ActionButton(i)->text(), captions[i]);
}

TEST_F(ClockPanel, TheShownClockPassesMidnight) {
    SetGaugeClock(QDateTime(QDate(2015, 12, 31), QTime(23, 59, 59)));
    panel.InitalizeFrame();
    panel.ClockTickTimer();
    EXPECT_EQ(panel.ShownDeviceClock(), QDateTime(QDate(2016, 1, 1), QTime(0, 0, 0)));
}

TEST_F(ClockPanel, AReplyOfFivePartsIsReportedWithItsParts) {
    NextReplyIs("2015-02-12T10:11");
    panel.InitalizeFrame();

    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].kind, MsgKind::Error);
    EXPECT_EQ(dialogs.Messages()[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(dialogs.Messages()[0].text,
              QStringLiteral("Invalid time received2015\n02\n12\n10\n11\n"));
    EXPECT_EQ(panel.ShownDeviceClock(), PcTime);
    EXPECT_FALSE(panel.ClockTick.isActive());
}

TEST_F(ClockPanel, NoReplyChangesNothing) {
    SetGaugeClock(QDateTime(QDate(2015, 2, 12), QTime(10, 11, 12)));
    panel.InitalizeFrame();
    panel.ClockTick.stop();
    gauge->Faults().silent = true;
    gauge->Faults().faultyReplies = -1;
    panel.ActionButtonClick(0);
    EXPECT_EQ(panel.ShownDeviceClock(), QDateTime(QDate(2015, 2, 12), QTime(10, 11, 12)));
    EXPECT_FALSE(panel.ClockTick.isActive());
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST_F(ClockPanel, WritingSendsThePickersAndShowsWhatTheGaugeThenReports) {
    panel.InitalizeFrame();
    gauge->ClearCommands();
    SetTimeToSet(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)));

    emit panel.ActionButton(1)->clicked();

    EXPECT_EQ(gauge->Commands(),
              (Commands{"0OOE0!", "0OTM2020-01-02T03:04:05!", "0OOE1!", "0OTM!"}));
    EXPECT_EQ(panel.ReadDatePicker->date(), QDate(2020, 1, 2));
    EXPECT_LE(std::abs(panel.ReadTimePicker->time().secsTo(QTime(3, 4, 5))), 2);
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST_F(ClockPanel, SyncWithPcTimeSendsThePcsTimeAndReadsAgain) {
    panel.InitalizeFrame();
    SetTimeToSet(QDateTime(QDate(2001, 1, 1), QTime(1, 1, 1)));
    gauge->ClearCommands();

    panel.ActionButtonClick(2);

    EXPECT_EQ(gauge->Commands(),
              (Commands{"0OOE0!", "0OTM2024-06-30T14:15:16!", "0OOE1!", "0OTM!"}));
    EXPECT_EQ(panel.WriteDatePicker->date(), PcTime.date());
    EXPECT_EQ(panel.WriteTimePicker->time(), PcTime.time());
    EXPECT_EQ(panel.ReadDatePicker->date(), PcTime.date());
}

TEST_F(ClockPanel, AFailedWriteIsReportedAndNothingIsReadAgain) {
    panel.InitalizeFrame();
    SetTimeToSet(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)));
    gauge->Faults().silent = true;
    gauge->Faults().faultyReplies = -1;
    gauge->ClearCommands();

    panel.WriteDeviceClock();

    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].kind, MsgKind::Error);
    EXPECT_EQ(dialogs.Messages()[0].text,
              QStringLiteral("Time could not be set 2020-01-02T03:04:05"));
    EXPECT_FALSE(std::count(gauge->Commands().begin(), gauge->Commands().end(), "0OTM!"));
}

TEST_F(ClockPanel, ButtonsAreMadeOnceAndClosingHidesAndStopsTheClock) {
    panel.show();
    panel.InitalizeFrame();
    TAXO_TTNTPanelButton* first = panel.ActionButton(0);
    ASSERT_NE(first, nullptr);
    panel.InitalizeFrame();
    EXPECT_EQ(panel.ActionButton(0), first);
    EXPECT_EQ(panel.ControlPanel->findChildren<TAXO_TTNTPanelButton*>().size(), 3);
    // Layout: three buttons, each (width - 40) / 3 wide, 10 px apart.
    const int buttonWidth = (panel.ControlPanel->width() - 40) / 3;
    EXPECT_EQ(panel.ActionButton(1)->geometry().left(), 10 + buttonWidth + 10);
    EXPECT_EQ(panel.ActionButton(2)->width(), buttonWidth);

    ASSERT_TRUE(panel.ClockTick.isActive());
    QTest::mouseClick(panel.CloseLabel, Qt::LeftButton);
    EXPECT_FALSE(panel.isVisible());
    EXPECT_FALSE(panel.ClockTick.isActive());

    panel.show();
    panel.InitalizeFrame();
    QTest::mouseClick(panel.ControlPanel, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(panel.isVisible());

    // Without a gauge object nothing is read and a write fails.
    TTimeSetFrame alone(nullptr);
    alone.SetWallClock([] { return PcTime; });
    alone.InitalizeFrame();
    EXPECT_FALSE(alone.ClockTick.isActive());
    alone.WriteDeviceClock();
    EXPECT_EQ(dialogs.Messages().size(), 1);
}
