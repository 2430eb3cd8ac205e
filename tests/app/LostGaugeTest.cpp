// A gauge lost and found: an unplugged adapter during continuous
// measurement keeps the run, the same gauge coming back resumes it on its
// own, another gauge does not, and the terminal says what happened.

#include "AppFixture.h"
#include "measurement/CompareChartForm.h"
#include "measurement/MeasurementExport.h"
#include "measurement/MeasurementFrame.h"
#include "terminal/TerminalFrame.h"
#include "terminal/TerminalLogView.h"
#include "ui/TTNTPanel.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTextBlock>
#include <QtTest/QTest>

namespace {

using Main = TTessra2ParamMainForm;

class LostGauge : public AppOnSim {
protected:
    // Continuous measurement of a Tessra2 L with records cycles recorded.
    Main& Measuring(int records) {
        gauge = &AddGauge(1);
        Main& main = MakeWindow();
        main.Navigate(Tile(Main::MeasurementTile));
        Area().MPermanentButtonClick();
        for (int i = 0; i < records; ++i)
            Area().ContinousTimerTimer();
        return main;
    }
    TMeasurementFrame& Area() { return *window->MeasurementArea; }
    const TMeasurementValueArray& History() { return Area().GetMeasurementHistory(); }
    // The adapter goes; the next cycle finds it gone, and the window takes
    // the loss up once the cycle has unwound.
    void UnplugDuringACycle() {
        backend.Unplug(0);
        Area().ContinousTimerTimer();
        QCoreApplication::processEvents();
    }
    QString LinkState() { return window->LinkStateLabel->text(); }

    SimGauge* gauge = nullptr;
};

} // namespace

TEST_F(LostGauge, AnUnplugDuringContinuousMeasurementKeepsEveryRecordAndChart) {
    Main& main = Measuring(3);
    ASSERT_EQ(History().Size(), 3u);
    Area().RowClick(0);
    ASSERT_EQ(Area().OpenCharts().size(), 1);

    UnplugDuringACycle();

    EXPECT_FALSE(main.ShowsConnected());
    EXPECT_TRUE(main.WaitingForGauge());
    EXPECT_EQ(History().Size(), 3u) << "the cycle that lost the gauge records nothing";
    ASSERT_EQ(Area().OpenCharts().size(), 1) << "the chart stays open";
    EXPECT_EQ(Area().OpenCharts().first()->Points().Count(), 3u);
    EXPECT_TRUE(dialogs.Messages().isEmpty()) << "no dialog waits for OK";
    ASSERT_EQ(dialogs.Notices().size(), 1);
    const QString notice = dialogs.Notices().first().text;
    EXPECT_TRUE(notice.startsWith("The connection to the gauge was lost.")) << notice.toStdString();
    const QString journal = Area().JournalPath();
    ASSERT_FALSE(journal.isEmpty());
    EXPECT_TRUE(journal.endsWith(".txt"));
    EXPECT_TRUE(notice.contains("The 3 records of the measurement are kept; they are also saved in " +
                                journal + "."))
        << notice.toStdString();
    EXPECT_FALSE(notice.contains("Not all values could be recorded!"));
    // The journal holds every record as the area does.
    TMeasurementValueArray saved;
    const MeasurementExport::ReadResult read = MeasurementExport::Read(journal, saved);
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    EXPECT_EQ(read.leftOutLines, 0);
    ASSERT_EQ(saved.Size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t position = 0; position < 12; ++position)
            EXPECT_EQ(saved[i].Value(position), History()[i].Value(position)) << i << " " << position;
    EXPECT_TRUE(LinkState().contains(QRegularExpression(
        "^Gauge lost at \\d\\d:\\d\\d:\\d\\d - waiting for the adapter$")))
        << LinkState().toStdString();

    // While the adapter is away the program only looks for it.
    gauge->ClearCommands();
    main.ReconnectTimerTimer();
    EXPECT_TRUE(main.WaitingForGauge());
    EXPECT_TRUE(gauge->Commands().empty());

    // The same gauge connected by hand later: its records are still there.
    backend.Replug(0);
    main.Navigate(Tile(Main::MeasurementTile));
    EXPECT_FALSE(main.WaitingForGauge()) << "the user's click ends the waiting";
    ASSERT_TRUE(Area().isVisible());
    EXPECT_EQ(History().Size(), 3u);
    EXPECT_FALSE(Area().Sequence().ContinuousActive()) << "a click does not resume";
}

TEST_F(LostGauge, TheSameGaugeBackResumesTheRunOnItsOwnAfterAGap) {
    Main& main = Measuring(2);
    UnplugDuringACycle();
    ASSERT_TRUE(main.WaitingForGauge());

    backend.Replug(0);
    gauge->ClearCommands();
    main.ReconnectTimerTimer();

    EXPECT_TRUE(main.ShowsConnected());
    EXPECT_FALSE(main.WaitingForGauge());
    EXPECT_TRUE(Area().isVisible());
    EXPECT_EQ(main.CurrentTile(), Tile(Main::MeasurementTile));
    EXPECT_TRUE(Tile(Main::MeasurementTile)->Selected());
    EXPECT_TRUE(Area().Sequence().ContinuousActive());
    EXPECT_TRUE(Area().ContinousTimer.isActive());
    // Identified again, then measured at once: no second passes in between.
    const Commands& sent = gauge->Commands();
    ASSERT_GE(sent.size(), 4u);
    EXPECT_EQ((Commands{sent[0], sent[1], sent[2]}), (Commands{"?!", "0I!", "0OZY!"}));
    EXPECT_TRUE(Contains(sent, "0M!"));
    EXPECT_TRUE(Contains(sent, "0M1!"));
    ASSERT_EQ(History().Size(), 3u) << "the first resumed record joins the same history";
    TMeasurementValueArray saved;
    ASSERT_TRUE(MeasurementExport::Read(Area().JournalPath(), saved).ok);
    EXPECT_EQ(saved.Size(), 3u) << "and the same journal";
    EXPECT_EQ(History().Gaps(), std::vector<std::size_t>{2}) << "the gap before it is marked";
    EXPECT_TRUE(LinkState().contains(QRegularExpression(
        "^Gauge lost at \\d\\d:\\d\\d:\\d\\d, found again at \\d\\d:\\d\\d:\\d\\d$")))
        << LinkState().toStdString();
    EXPECT_TRUE(dialogs.Messages().isEmpty());
    ASSERT_EQ(dialogs.Notices().size(), 1);
    EXPECT_TRUE(dialogs.Notices()[0].withdrawn) << "the notice of the loss is over";
}

TEST_F(LostGauge, AnotherGaugeBehindTheReturningAdapterEndsTheWaitingWithoutResuming) {
    Main& main = Measuring(2);
    UnplugDuringACycle();

    gauge->Gauge().serialNumber = "987654321";
    backend.Replug(0);
    main.ReconnectTimerTimer();

    EXPECT_FALSE(main.WaitingForGauge());
    EXPECT_FALSE(main.ShowsConnected());
    EXPECT_FALSE(Area().Sequence().ContinuousActive());
    EXPECT_EQ(History().Size(), 2u) << "kept until that gauge is connected";
    ASSERT_EQ(dialogs.Notices().size(), 2);
    EXPECT_EQ(dialogs.Notices().last().text,
              "Another gauge (serial number 987654321) answers at the adapter; the program "
              "does not resume with it.");

    // Connecting it is a new run.
    main.Navigate(Tile(Main::MeasurementTile));
    ASSERT_TRUE(main.ShowsConnected());
    EXPECT_TRUE(History().Empty());
}

TEST_F(LostGauge, TheTerminalLogsTheLossAndTakesCommandsOnceTheGaugeIsBack) {
    AddGauge(1);
    Main& main = MakeWindow();
    main.Navigate(Tile(Main::TerminalTile));
    TTerminalFrame& terminal = *main.TerminalArea;

    backend.Unplug(0);
    main.ConnectedTimerTimer();
    ASSERT_TRUE(main.WaitingForGauge());
    backend.Replug(0);
    main.ReconnectTimerTimer();
    ASSERT_TRUE(terminal.isVisible());

    // Typed without a click on a tile.
    QTest::keyClicks(terminal.TerminalEditField, "0I!");
    QTest::keyClick(terminal.TerminalEditField, Qt::Key_Return);
    const QStringList lines = terminal.TerminalRichEdit->Lines();
    ASSERT_EQ(lines.size(), 4) << terminal.TerminalRichEdit->toPlainText().toStdString();
    EXPECT_TRUE(lines[0].endsWith(" Connection to the gauge lost.")) << lines[0].toStdString();
    const QTextBlock first = terminal.TerminalRichEdit->document()->findBlockByNumber(0);
    EXPECT_EQ(first.begin().fragment().charFormat().foreground().color(), QColor(255, 0, 0));
    EXPECT_TRUE(lines[1].endsWith(" Connection to the gauge restored.")) << lines[1].toStdString();
    EXPECT_TRUE(lines[3].endsWith("013AXO     TESR2L131123456789<cr><lf>")) << lines[3].toStdString();
}
