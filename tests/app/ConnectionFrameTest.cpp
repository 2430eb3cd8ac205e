// The connection area: rows per model, the delayed read, marks, re-reads
// and the clock panel, as the user sees them.

#include "app/ConnectionFrame.h"
#include "AppFixture.h"
#include "logbook/GaugeHistoryWindow.h"
#include "service/TimeSetFrame.h"
#include "ui/ImageControl.h"
#include "ui/PanelButton.h"
#include "ui/Pictures.h"
#include "ui/TTNTPanel.h"
#include "ui/TTNTStatusPanel.h"

#include <QtTest/QTest>

namespace {

using Main = TTessra2ParamMainForm;

enum class Mark { None, Success, Failure, Other };

Mark MarkOf(const TAXO_TTNTStatusPanel* row) {
    if (!row->IconShowsPicture())
        return Mark::None;
    const QImage shown = qobject_cast<ImageControl*>(row->StatusIcon())->Picture().toImage();
    if (shown == Pictures::successImage().toImage())
        return Mark::Success;
    if (shown == Pictures::failedImage().toImage())
        return Mark::Failure;
    return Mark::Other;
}

QString Value(const TAXO_TTNTStatusPanel* row) {
    return row->FullValueText();
}

class ConnectionArea : public AppOnSim {
protected:
    TConnectionFrame& Area() { return *window->ConnectionArea; }
    const std::vector<TAXO_TTNTStatusPanel*>& Rows() { return Area().InfoRows(); }
    std::vector<Mark> Marks() {
        std::vector<Mark> marks;
        for (const TAXO_TTNTStatusPanel* row : Rows())
            marks.push_back(MarkOf(row));
        return marks;
    }
};

const std::vector<std::string> RowCommands = {"0OOS!", "0OOB!",  "0OOV!", "0ODC!", "0ODF!",
                                              "0OCB!", "0OCHS!", "0OUT!", "0OCH!"};

} // namespace

TEST_F(ConnectionArea, ModelZeroHasSevenRowsReadHalfASecondAfterShowing) {
    SimGauge& gauge = AddGauge(0);
    gauge.Gauge().gaugeType = 0;
    MakeWindow();
    window->Navigate(Tile(Main::ConnectTile));

    ASSERT_EQ(Rows().size(), 7u);
    EXPECT_EQ(Area().AdjustTimeButton, nullptr);
    EXPECT_EQ(Area().DeviceLabel->text(), QStringLiteral("Axo Tessra2"));
    EXPECT_EQ(Area().ShownPicture(), QStringLiteral("200"));
    EXPECT_EQ(Area().InfoReadButton->text(), QStringLiteral("Read from Axo Tessra2"));
    EXPECT_EQ(Area().StaticTitleLabel->text(), QStringLiteral("Statusinformation"));
    EXPECT_EQ(Rows()[0]->GetCaptionText().trimmed(), QStringLiteral("Serial number / HW Index:"));
    // Nothing is read before the timer.
    for (const TAXO_TTNTStatusPanel* row : Rows())
        EXPECT_EQ(Value(row), QStringLiteral("- - - -"));
    EXPECT_EQ(Marks(), std::vector<Mark>(7, Mark::None));
    EXPECT_TRUE(Area().ReadTimer.isActive());
    EXPECT_EQ(Area().ReadTimer.interval(), 500);
    EXPECT_TRUE(Area().ReadTimer.isSingleShot());
    EXPECT_FALSE(Contains(gauge.Commands(), "0OOS!"));

    gauge.ClearCommands();
    Area().ReadTimer.stop();
    Area().ReadTimerTimer();

    EXPECT_EQ(gauge.Commands(), RowCommands);
    EXPECT_EQ(Marks(), std::vector<Mark>(7, Mark::Success));
    const QStringList values = {
        "123456789 / 03", "V1.31.0",  "2024-03-01T10:00:00", "2024-01-15T08:30:00", "200 cm²",
        "4 °C",           "permanent"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Value(Rows()[static_cast<std::size_t>(i)]), values[i]);
    EXPECT_TRUE(Area().InfosRead());
}

TEST_F(ConnectionArea, ModelsWithAClockHaveEightRowsAndTheAdjustButton) {
    const QDateTime pinned(QDate(2026, 3, 4), QTime(5, 6, 7));
    const double pinnedAt = clock.Peek();
    SimGauge& gauge = AddGauge(2);
    gauge.PinClock(pinned, pinnedAt);
    MakeWindow();
    ConnectAndRead();

    ASSERT_EQ(Rows().size(), 8u);
    EXPECT_EQ(Rows()[7]->GetCaptionText().trimmed(), QStringLiteral("Time"));
    ASSERT_NE(Area().AdjustTimeButton, nullptr);
    EXPECT_EQ(Area().AdjustTimeButton->text(), QStringLiteral("set Time"));
    EXPECT_EQ(Area().AdjustTimeButton->parentWidget(), Rows()[7]);
    EXPECT_TRUE(Area().AdjustTimeButton->isVisible());
    EXPECT_EQ(Area().ShownPicture(), QStringLiteral("S"));
    EXPECT_EQ(Area().DeviceLabel->text(), QStringLiteral("Axo Tessra2 S"));
    EXPECT_EQ(Marks(), std::vector<Mark>(8, Mark::Success));
    // The gauge's time as it answered, some simulated seconds after it was set.
    const QDateTime gaugeTime =
        QDateTime::fromString(Value(Rows()[7]), QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    EXPECT_GE(gaugeTime, pinned);
    EXPECT_LE(gaugeTime, gauge.ClockAt(clock.Peek()));

    // Rows fill the area from y = 40, each (height - 110) / 8 high.
    const int rowHeight = (Area().height() - 110) / 8;
    EXPECT_EQ(Rows()[1]->geometry(), QRect(15, 40 + rowHeight, Area().width() - 225, rowHeight));
}

TEST_F(ConnectionArea, UnusableAnswersShowTheFailureMarkAndKeepTheValue) {
    SimGauge& gauge = AddGauge(1);
    gauge.Gauge().serialNumber = "000000000";
    gauge.Gauge().gaugeType = 7;
    gauge.Gauge().temperatureUnit = 1;
    gauge.Gauge().heatingTemperature = 5;
    MakeWindow();
    ConnectAndRead();

    EXPECT_EQ(Marks(),
              (std::vector<Mark>{Mark::Failure, Mark::Success, Mark::Success, Mark::Success,
                                 Mark::Failure, Mark::Success, Mark::Success, Mark::Success}));
    EXPECT_EQ(Value(Rows()[0]), QStringLiteral("- - - -"));
    EXPECT_EQ(Value(Rows()[4]), QStringLiteral("- - - -"));
    EXPECT_EQ(Value(Rows()[5]), QStringLiteral("41 °F"));
    EXPECT_EQ(Area().ShownPicture(), QStringLiteral("400")); // failed type query: 400 picture
}

TEST_F(ConnectionArea, ShowingAgainDoesNotReadAgainButAReconnectionDoes) {
    SimGauge& gauge = AddGauge(1);
    MakeWindow();
    ConnectAndRead();
    TAXO_TTNTStatusPanel* firstRow = Rows()[0];

    window->Navigate(Tile(Main::ServiceTile));
    gauge.ClearCommands();
    window->Navigate(Tile(Main::ConnectTile));
    EXPECT_FALSE(Area().ReadTimer.isActive());
    EXPECT_EQ(Rows()[0], firstRow);
    EXPECT_EQ(Value(Rows()[0]), QStringLiteral("123456789 / 03"));
    EXPECT_EQ(Marks(), std::vector<Mark>(8, Mark::Success));
    // Only the model and the gauge type for the picture are asked again.
    EXPECT_EQ(gauge.Commands(), (Commands{"0I!", "0OZY!", "0OCB!"}));

    // The link is lost and found again.
    window->Gauge().Disconnect();
    window->ConnectedTimerTimer();
    ASSERT_FALSE(window->ShowsConnected());
    gauge.Gauge().firmwareVersion = "V1.32.0";
    window->Navigate(Tile(Main::ConnectTile));
    ASSERT_TRUE(window->ShowsConnected());
    EXPECT_EQ(Value(Rows()[1]), QStringLiteral("- - - -"));
    EXPECT_EQ(Marks(), std::vector<Mark>(8, Mark::None));
    EXPECT_TRUE(Area().ReadTimer.isActive());
    EXPECT_EQ(Area().ReadTimer.interval(), 500);
    Area().ReadTimer.stop();
    Area().ReadTimerTimer();
    EXPECT_EQ(Value(Rows()[1]), QStringLiteral("V1.32.0"));
}

TEST_F(ConnectionArea, TheReadButtonReadsEverythingAgainWithTheAreaDisabled) {
    SimGauge& gauge = AddGauge(1);
    MakeWindow();
    ConnectAndRead();
    gauge.Gauge().firmwareVersion = "V2.0.0";
    gauge.ClearCommands();
    std::vector<bool> enabledDuringRead;
    QObject::connect(&Area(), &TConnectionFrame::InfoRowShown,
                     [&](int, bool) { enabledDuringRead.push_back(Area().isEnabled()); });

    emit Area().InfoReadButton->clicked();

    EXPECT_EQ(enabledDuringRead, std::vector<bool>(8, false));
    EXPECT_TRUE(Area().isEnabled());
    EXPECT_EQ(Value(Rows()[1]), QStringLiteral("V2.0.0"));
    EXPECT_EQ(gauge.Commands().size(), RowCommands.size() + 1);
    EXPECT_TRUE(Area().InfosRead());
}

TEST_F(ConnectionArea, AdapterVanishingDuringTheReadStopsItSafely) {
    AddGauge(1);
    MakeWindow();
    window->Navigate(Tile(Main::ConnectTile));
    QObject::connect(&Area(), &TConnectionFrame::InfoRowShown, [this](int index, bool) {
        if (index == 1)
            backend.Unplug(0);
    });
    bool finishedComplete = true;
    QObject::connect(&Area(), &TConnectionFrame::InfosReadFinished,
                     [&](bool complete) { finishedComplete = complete; });
    const double start = clock.Peek();
    Area().ReadTimer.stop();
    Area().ReadTimerTimer();

    EXPECT_FALSE(finishedComplete);
    EXPECT_FALSE(Area().InfosRead());
    EXPECT_LT(clock.Peek() - start, 1500.0);
    EXPECT_EQ(Marks()[0], Mark::Success);
    EXPECT_EQ(Marks()[1], Mark::Success);
    for (std::size_t i = 2; i < Rows().size(); ++i) {
        EXPECT_EQ(Marks()[i], Mark::None) << i;
        EXPECT_EQ(Value(Rows()[i]), QStringLiteral("- - - -"));
    }
    window->ConnectedTimerTimer();
    EXPECT_FALSE(window->ShowsConnected());
    EXPECT_EQ(Tile(Main::ConnectTile)->Caption(), QStringLiteral("Connect"));
}

TEST_F(ConnectionArea, ClickingTheTileDuringTheReadRebuildsNothingUnderIt) {
    AddGauge(2);
    MakeWindow();
    window->Navigate(Tile(Main::ConnectTile));
    int clicks = 0;
    QObject::connect(&Area(), &TConnectionFrame::InfoRowShown, [&](int index, bool) {
        if (index == 2 && clicks++ == 0)
            window->Navigate(Tile(Main::ConnectTile));
    });
    Area().ReadTimer.stop();
    Area().ReadTimerTimer();
    // The first reading stopped; the click's own reading follows its timer.
    EXPECT_FALSE(Area().InfosRead());
    ASSERT_TRUE(Area().ReadTimer.isActive());
    Area().ReadTimer.stop();
    Area().ReadTimerTimer();
    EXPECT_TRUE(Area().InfosRead());
    EXPECT_EQ(Marks(), std::vector<Mark>(8, Mark::Success));
}

TEST_F(ConnectionArea, ClockPanelCoversTheRowsAndTheTimeIsReadAgainWhenItCloses) {
    SimGauge& gauge = AddGauge(1);
    MakeWindow();
    ConnectAndRead();
    gauge.ClearCommands();

    Area().AdjustTimeButtonClick();
    TTimeSetFrame* clock = Area().TimeSetArea;
    ASSERT_NE(clock, nullptr);
    EXPECT_TRUE(clock->isVisible());
    EXPECT_EQ(clock->size(), QSize(500, 180));
    EXPECT_EQ(clock->geometry().top(), (Area().height() - 180) / 2);
    EXPECT_TRUE(Area().SetTimeTimer.isActive());
    EXPECT_EQ(Area().SetTimeTimer.interval(), 500);
    for (const TAXO_TTNTStatusPanel* row : Rows())
        EXPECT_FALSE(row->isVisible());
    EXPECT_EQ(gauge.Commands(), Commands{"0OTM!"}); // the panel read the clock

    Area().SetTimeTimerTimer();
    EXPECT_FALSE(Rows()[0]->isVisible());
    EXPECT_TRUE(Area().SetTimeTimer.isActive());

    gauge.ClearCommands();
    clock->CloseLabelClick();
    Area().SetTimeTimerTimer();
    for (const TAXO_TTNTStatusPanel* row : Rows())
        EXPECT_TRUE(row->isVisible());
    EXPECT_FALSE(Area().SetTimeTimer.isActive());
    EXPECT_EQ(gauge.Commands(), Commands{"0OTM!"});
    EXPECT_EQ(MarkOf(Rows()[7]), Mark::Success);

    // Opening it again reuses the panel.
    Area().AdjustTimeButtonClick();
    EXPECT_EQ(Area().TimeSetArea, clock);
}

TEST_F(ConnectionArea, LosingTheGaugeClosesTheClockPanel) {
    AddGauge(1);
    MakeWindow();
    ConnectAndRead();
    Area().AdjustTimeButtonClick();
    ASSERT_TRUE(Area().TimeSetArea->isVisible());

    backend.Unplug(0);
    window->ConnectedTimerTimer();
    EXPECT_TRUE(Area().TimeSetArea->isHidden());
    EXPECT_FALSE(Area().TimeSetArea->ClockTick.isActive());
    EXPECT_FALSE(Area().SetTimeTimer.isActive());

    // Another gauge: a fresh area with its rows, no clock panel over them.
    AddGauge(2);
    window->Navigate(Tile(Main::ConnectTile));
    ASSERT_TRUE(window->ShowsConnected());
    EXPECT_TRUE(Area().TimeSetArea->isHidden());
    ASSERT_EQ(Rows().size(), 8u);
    for (const TAXO_TTNTStatusPanel* row : Rows())
        EXPECT_TRUE(row->isVisible());
    EXPECT_EQ(Area().ShownPicture(), QStringLiteral("S"));
}

TEST_F(ConnectionArea, GaugeHistoryButtonOpensTheConnectedGaugesHistory) {
    SimGauge& gauge = AddGauge(1);
    gauge.Gauge().serialNumber = "4711";
    MakeWindow();
    ConnectAndRead();
    ASSERT_TRUE(Area().HistoryButton->isEnabled());
    EXPECT_EQ(Area().HistoryButton->text(), QStringLiteral("Gauge history"));

    QTest::mouseClick(Area().HistoryButton, Qt::LeftButton);
    auto* history = window->findChild<GaugeHistoryWindow*>();
    ASSERT_NE(history, nullptr);
    EXPECT_TRUE(history->isVisible());
    EXPECT_EQ(history->History().SerialNumber(), QStringLiteral("4711"));
    delete history;

    // Without a gauge there is no history to show.
    backend.Unplug(0);
    window->ConnectedTimerTimer();
    EXPECT_FALSE(Area().HistoryButton->isEnabled());
}
