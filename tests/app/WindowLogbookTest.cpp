// What the window keeps in the logbook: the connection as read, the
// gauge's clock set, a total reset and a measurement run, each once and
// with its details.

#include "AppFixture.h"
#include "measurement/MeasurementFrame.h"
#include "service/ServiceFrame.h"
#include "service/TimeSetFrame.h"
#include "support/RecordingLogbook.h"

namespace {

using Main = TTessra2ParamMainForm;

class WindowLogbook : public AppOnSim {
protected:
    RecordingLogbook logbook;
};

} // namespace

TEST_F(WindowLogbook, TheConnectionIsKeptWithItsRowsAsRead) {
    AddGauge(1);
    MakeWindow();
    ConnectAndRead();

    const auto connections = logbook.OfKind(LogbookKind::Connection);
    ASSERT_EQ(connections.size(), 1u);
    const LogbookEntry& entry = connections.front();
    EXPECT_EQ(entry.gauge.model, 1);
    EXPECT_FALSE(entry.gauge.serialNumber.isEmpty());
    EXPECT_FALSE(entry.gauge.hardwareIndex.isEmpty());
    EXPECT_FALSE(entry.gauge.firmwareVersion.isEmpty());
    const QJsonObject status = entry.details.value(QStringLiteral("status")).toObject();
    EXPECT_EQ(status.size(), 8) << "the eight rows of a Tessra2 L";
    EXPECT_EQ(status.value(QStringLiteral("firmware-version")).toString(),
              entry.gauge.firmwareVersion);
}

TEST_F(WindowLogbook, TheClockPanelAndTheServiceAreaKeepWhatTheyDid) {
    SimGauge& gauge = AddGauge(1);
    gauge.PinClock(QDateTime(QDate(2015, 2, 12), QTime(10, 11, 12)), clock.Peek());
    MakeWindow();
    ConnectAndRead();
    window->ConnectionArea->AdjustTimeButtonClick();
    window->ConnectionArea->TimeSetArea->ActionButtonClick(2); // to the computer's time

    const auto syncs = logbook.OfKind(LogbookKind::ClockSync);
    ASSERT_EQ(syncs.size(), 1u);
    EXPECT_TRUE(syncs.front()
                    .details.value(QStringLiteral("before"))
                    .toString()
                    .startsWith(u"2015-02-12T10:11"));
    EXPECT_EQ(syncs.front().details.value(QStringLiteral("after")).toString().left(10),
              QDate::currentDate().toString(Qt::ISODate));

    window->Navigate(Tile(Main::ServiceTile));
    dialogs.QueueMessageAnswers({MsgResult::Yes, MsgResult::Ok});
    window->ServiceArea->ResetNrtButtonClick();
    EXPECT_EQ(logbook.OfKind(LogbookKind::TotalReset).size(), 1u);
}

TEST_F(WindowLogbook, AMeasurementRunIsKeptWhenTheWindowCloses) {
    AddGauge(1);
    Main& main = MakeWindow();
    main.Navigate(Tile(Main::MeasurementTile));
    main.MeasurementArea->MPermanentButtonClick();
    for (int i = 0; i < 3; ++i)
        main.MeasurementArea->ContinousTimerTimer();
    EXPECT_TRUE(logbook.OfKind(LogbookKind::MeasurementRun).empty()) << "the run goes on";

    window.reset();

    const auto runs = logbook.OfKind(LogbookKind::MeasurementRun);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs.front().details.value(QStringLiteral("records")).toInt(), 3);
    EXPECT_EQ(runs.front().gauge.model, 1);
}
