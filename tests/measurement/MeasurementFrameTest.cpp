// The measurement work area against the simulated gauge: rows, status
// marks and analysis, continuous mode, charts and the export.

#include "support/QtPrinters.h"
#include "support/GaugeOnSim.h"

#include "measurement/ErrorReportPanel.h"
#include "measurement/MeasurementFrame.h"
#include "ui/FolderSettings.h"
#include "ui/PanelButton.h"
#include "ui/TTNTStatusPanel.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QStringDecoder>

using namespace Measurement;

namespace {

class MeasurementArea : public GaugeOnSim {
protected:
    // The area of a connected gauge, shown as the main window shows it.
    SimGauge& Shown(int model = 1) {
        SimGauge& gauge = ConnectedGauge(model);
        area.resize(1176, 690);
        area.show();
        area.ShowMeasurementArea(model);
        return gauge;
    }
    TAXO_TTNTStatusPanel* Row(int position) { return area.RowPanel(position); }
    QString Status() const { return statusBar.currentMessage(); }
    QString FileText(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith("\xFF\xFE"));
        return QStringDecoder(QStringConverter::Utf16LE)(bytes.mid(2));
    }
    static void DeleteClosedWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QStatusBar statusBar;
    TMeasurementFrame area{handler, 0, &statusBar, nullptr, PinnedNow()};
};

} // namespace

TEST_F(MeasurementArea, TheRowsAreBuiltAtTheFirstShowWithTheirTitles) {
    EXPECT_EQ(Row(0), nullptr);
    Shown();
    EXPECT_EQ(Row(0)->GetCaptionText(), " Intensity RT ( real-time )");
    EXPECT_EQ(Row(8)->GetCaptionText(), " Axo Tessra2 status");
    EXPECT_EQ(Row(11)->GetCaptionText(), " Temperature heating rim");
    EXPECT_EQ(Row(0)->GetValueText(), " - - - -");
    EXPECT_EQ(area.MTitleLabel->text(), "Measurement M");
    EXPECT_EQ(area.M1TitleLabel->text(), "Measurement M1");
    EXPECT_EQ(area.MStartButton->text(), "Start measurement");
    EXPECT_EQ(area.MPermanentButton->text(), "Permanent Measurement");
    EXPECT_EQ(area.MExportButton->text(), "Export to file");
}

TEST_F(MeasurementArea, StatusWord0ShowsOkWithoutMarkAndIgnoresClicks) {
    Shown();
    area.MStartButtonClick();
    EXPECT_EQ(Row(8)->GetValueText(), " +0 OK");
    EXPECT_FALSE(Row(8)->IconShowsPicture());
    EXPECT_FALSE(area.TessraStatusBlinkTimer.isActive());
    area.RowClick(8);
    EXPECT_TRUE(area.ErrorPanel->isHidden());
    EXPECT_TRUE(area.OpenCharts().isEmpty());
}

TEST_F(MeasurementArea, StatusWord1026BlinksEverySecondAndItsClickOpensTheAnalysis) {
    SimGauge& gauge = Shown();
    gauge.Faults().statusBits = 1026;
    area.MStartButtonClick();
    EXPECT_EQ(Row(8)->GetValueText(), " +1026 Errors and warnings: ");
    EXPECT_TRUE(Row(8)->IconShowsPicture());
    ASSERT_EQ(area.BlinkRows(), (QList<TAXO_TTNTStatusPanel*>{Row(8)}));
    EXPECT_TRUE(area.TessraStatusBlinkTimer.isActive());
    EXPECT_EQ(area.TessraStatusBlinkTimer.interval(), 1000);
    area.TessraStatusBlinkTimerTimer();
    EXPECT_FALSE(Row(8)->IconShowsPicture());
    area.TessraStatusBlinkTimerTimer();
    EXPECT_TRUE(Row(8)->IconShowsPicture());

    area.RowClick(8);
    ErrorReportPanel* panel = area.ErrorPanel;
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->size(), QSize(505, 303));
    EXPECT_EQ(panel->ErrorHeaderLabel->text(), "Erroranalysis - details");
    EXPECT_EQ(panel->ErrorReportLabel->text().split('\n').first(), "Analysis Axo Tessra2 status (1026)");
    EXPECT_TRUE(panel->ErrorReportLabel->text().contains("1024: Tessra main board not calibrated (Failure)\n"
                                                         "2: USB interface connected (Warning)"));
    area.CloseLabelClick();
    EXPECT_TRUE(panel->isHidden());
}

TEST_F(MeasurementArea, TheM1TitleShowsTheDecodedLinesAlone) {
    SimGauge& gauge = Shown();
    gauge.Faults().statusBits = 6;
    area.MStartButtonClick();
    area.M1_TtitleLabelClick();
    ASSERT_TRUE(area.ErrorPanel->isVisible());
    EXPECT_EQ(area.ErrorPanel->size(), QSize(405, 162));
    EXPECT_EQ(area.ErrorPanel->ErrorReportLabel->text(),
              "4: Restart because of power failure (Warning)\n2: USB interface connected (Warning)\n");
}

TEST_F(MeasurementArea, ContinuousModeEndsWhenTheUserHasGoneToAnotherArea) {
    Shown();
    area.MPermanentButtonClick();
    EXPECT_EQ(Status(), "Continous Measurement Mode!");
    EXPECT_EQ(area.MPermanentButton->text(), "Cancel");
    EXPECT_TRUE(area.ContinousTimer.isActive());
    EXPECT_EQ(area.ContinousTimer.interval(), 1000);

    area.ContinousTimerTimer();
    EXPECT_EQ(area.GetMeasurementHistory().Size(), 1u);
    EXPECT_TRUE(area.ContinousTimer.isActive());

    area.hide();
    area.ContinousTimerTimer();
    EXPECT_FALSE(area.Sequence().ContinuousActive());
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(area.MPermanentButton->text(), "Permanent Measurement");
    EXPECT_FALSE(area.ContinousTimer.isActive());
    EXPECT_EQ(area.GetMeasurementHistory().Size(), 1u) << "nothing measured while hidden";
}

TEST_F(MeasurementArea, ContinuousModeStopsItsTimerWhenTheLinkIsLostAndTheDisconnectResetsIt) {
    Shown();
    area.MPermanentButtonClick();
    backend.Unplug();
    area.ContinousTimerTimer();
    EXPECT_FALSE(area.ContinousTimer.isActive());
    EXPECT_EQ(area.MPermanentButton->text(), "Cancel");
    EXPECT_EQ(Status(), "Continous Measurement Mode!");

    area.ResetMeasurementArea();
    EXPECT_FALSE(area.Sequence().ContinuousActive());
    EXPECT_EQ(area.MPermanentButton->text(), "Permanent Measurement");
    EXPECT_EQ(Status(), "");
    for (int position = 0; position < 12; ++position)
        EXPECT_EQ(Row(position)->GetValueText(), " ---") << position;
}

TEST_F(MeasurementArea, NoChartOpensBeforeAMeasurementIsRecorded) {
    Shown();
    for (int position = 0; position < 12; ++position)
        area.RowClick(position);
    EXPECT_TRUE(area.OpenCharts().isEmpty());
}

TEST_F(MeasurementArea, AChartClosesCleanlyWhileTheAreaKeepsMeasuring) {
    Shown();
    area.MStartButtonClick();
    area.RowClick(10);
    ASSERT_EQ(area.OpenCharts().size(), 1);
    TCompareChartForm* chart = area.OpenCharts().first();
    EXPECT_EQ(chart->size(), QSize(600, 400));
    EXPECT_EQ(chart->Title(), " Supply voltage");
    EXPECT_EQ(chart->Position(), 10);
    EXPECT_EQ(chart->Points().Count(), 1u);
    EXPECT_TRUE(chart->isVisible());

    chart->close();
    DeleteClosedWindows();
    EXPECT_TRUE(area.OpenCharts().isEmpty()) << "the closed window left the list";
    area.MStartButtonClick();
    area.MPermanentButtonClick();
    area.ContinousTimerTimer();
    area.ResetMeasurementArea();
    EXPECT_TRUE(area.OpenCharts().isEmpty());
}

TEST_F(MeasurementArea, ChartsStillOpenGoWithTheArea) {
    ConnectedGauge(1);
    auto other = std::make_unique<TMeasurementFrame>(handler, 0, &statusBar);
    other->show();
    other->ShowMeasurementArea(1);
    other->MStartButtonClick();
    other->RowClick(0);
    other->RowClick(9);
    QPointer<TCompareChartForm> chart = other->OpenCharts().first();
    ASSERT_FALSE(chart.isNull());
    other.reset();
    EXPECT_TRUE(chart.isNull());
}

TEST_F(MeasurementArea, SeveralChartsFollowTheHistoryAndStartingContinuousModeClosesThem) {
    Shown();
    area.MStartButtonClick();
    area.RowClick(0);
    area.RowClick(0);
    area.RowClick(9);
    ASSERT_EQ(area.OpenCharts().size(), 3);
    area.MStartButtonClick();
    for (TCompareChartForm* chart : area.OpenCharts())
        chart->ReadTimerTimer();
    for (TCompareChartForm* chart : area.OpenCharts())
        EXPECT_EQ(chart->Points().Count(), 2u);

    area.MPermanentButtonClick();
    DeleteClosedWindows();
    EXPECT_TRUE(area.OpenCharts().isEmpty());
    EXPECT_TRUE(area.GetMeasurementHistory().Empty());
    area.ContinousTimerTimer();
    area.RowClick(0);
    ASSERT_EQ(area.OpenCharts().size(), 1);
    EXPECT_EQ(area.OpenCharts().first()->Points().Count(), 1u) << "from the first continuous record";
}

TEST_F(MeasurementArea, TheExportOfOneRecordHasTwelveLinesWithTheRowsTitlesAndUnits) {
    SimGauge& gauge = Shown();
    gauge.Gauge().temperatureUnit = 1;
    area.MStartButtonClick();
    ValuePath = ProgramFolder();
    const QString path = PathOf("values.txt");
    dialogs.QueueFileAnswer(path);
    area.MExportButtonClick();

    ASSERT_EQ(dialogs.FileRequests().size(), 1);
    EXPECT_EQ(dialogs.FileRequests()[0].kind, ScriptedDialogs::FileDialogKind::Save);
    EXPECT_EQ(dialogs.FileRequests()[0].request.folder, ProgramFolder());
    EXPECT_TRUE(dialogs.FileRequests()[0].request.defaultSuffix.isEmpty());
    EXPECT_EQ(ValuePath, FolderOf(path));
    const QStringList lines = FileText(path).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 13) << "twelve lines, each ended by CR LF";
    EXPECT_EQ(lines.last(), "");
    const QString stamp = QStringLiteral("05.03.2014 14:07:09;");
    const QString raw10 = Row(10)->GetRawValue();
    EXPECT_EQ(lines[0], stamp + " Intensity RT ( real-time );" + Row(0)->GetRawValue() + ";mm/h");
    EXPECT_EQ(lines[7], stamp + " Heating status;+1;");
    EXPECT_EQ(lines[8], stamp + " Axo Tessra2 status;+0;");
    EXPECT_EQ(lines[9], stamp + " Internal temperature;" + Row(9)->GetRawValue() + ";°F");
    EXPECT_EQ(lines[10], stamp + " Supply voltage;" + raw10 + ";V");
    EXPECT_EQ(lines[11], stamp + " Temperature heating rim;" + Row(11)->GetRawValue() + ";°F");
}

TEST_F(MeasurementArea, TheExportOfAnEmptyHistoryIsTheByteOrderMarkAlone) {
    Shown();
    const QString path = PathOf("empty.txt");
    dialogs.QueueFileAnswer(path);
    area.MExportButtonClick();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xFF\xFE", 2));
}

TEST_F(MeasurementArea, AnExportThatCannotBeWrittenSaysSo) {
    Shown();
    area.MStartButtonClick();
    dialogs.QueueFileAnswer(PathOf("missing/values.txt"));
    area.MExportButtonClick();
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].kind, MsgKind::Error);
    EXPECT_TRUE(dialogs.Messages()[0].text.contains("missing/values.txt"));
}

TEST_F(MeasurementArea, TheExportOffersTextFilesFirstThenCsvAndWritesTheOneChosen) {
    Shown();
    area.MStartButtonClick();
    const QString path = PathOf("values.csv");
    dialogs.QueueFileAnswer(path, 1);
    area.MExportButtonClick();

    ASSERT_EQ(dialogs.FileRequests().size(), 1);
    EXPECT_EQ(dialogs.FileRequests()[0].request.filter, "Text files (*.txt *.TXT);;CSV (*.csv)");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3) << "header and record, each ended by CR LF";
    EXPECT_TRUE(lines[0].startsWith("Time,Intensity RT ( real-time ) [mm/h],Accu RT/NRT [mm "))
        << lines[0].toStdString();
    QStringList record{"2014-03-05T14:07:09"};
    for (int position = 0; position < 12; ++position)
        record << Row(position)->GetRawValue();
    EXPECT_EQ(lines[1], record.join(u','));
}

TEST_F(MeasurementArea, AFailedGroupShowsTheErrorDialog) {
    SimGauge& gauge = Shown();
    // Every data reply lacks a value: both groups fail.
    gauge.Faults().valueCountDelta = -1;
    area.MStartButtonClick();
    EXPECT_EQ(dialogs.MessageTexts(), (QStringList{"Not all values could be recorded!",
                                                   "Not all values could be recorded!"}));
    EXPECT_EQ(dialogs.Messages()[0].kind, MsgKind::Error);
    EXPECT_EQ(dialogs.Messages()[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(area.GetMeasurementHistory().Size(), 1u) << "the record is appended all the same";
}

TEST_F(MeasurementArea, RowsShareTheHeightLeftByTheFixedPartsAndButtonsSitAtSixths) {
    Shown();
    area.resize(1200, 850);
    QCoreApplication::processEvents();
    const int rowHeight = (850 - 170 - 20) / 12; // 55
    for (int position : {0, 6, 8, 9, 11})
        EXPECT_EQ(Row(position)->height(), rowHeight) << position;
    EXPECT_EQ(Row(0)->y(), 40);
    EXPECT_TRUE(Row(7)->isHidden()) << "the heating status row is built hidden";
    EXPECT_EQ(area.MBlock->height(), 8 * rowHeight + 60) << "eight rows before the first values";
    EXPECT_EQ(area.M1Block->y(), area.MBlock->height());
    EXPECT_EQ(area.MStartButton->width(), 200);
    EXPECT_EQ(area.MStartButton->geometry().center().x() + 1, 1200 / 6);
    EXPECT_EQ(area.MPermanentButton->geometry().center().x() + 1, 1200 / 2);
    EXPECT_EQ(area.MExportButton->geometry().center().x() + 1, 5 * 1200 / 6);

    area.MStartButtonClick();
    EXPECT_TRUE(Row(7)->isHidden());
    EXPECT_EQ(area.MBlock->height(), 8 * rowHeight + 60) << "the hidden row takes no space";
    EXPECT_EQ(Row(8)->y(), Row(6)->y() + rowHeight);
    EXPECT_EQ(Row(0)->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(Row(1)->palette().color(QPalette::Window), QColor(212, 212, 212));
    EXPECT_EQ(Row(8)->palette().color(QPalette::Window), QColor(212, 212, 212));
    EXPECT_EQ(Row(9)->palette().color(QPalette::Window), QColor(212, 212, 212));
    EXPECT_EQ(Row(10)->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(MeasurementArea, ALanguageChangeRetitlesTheRowsAndButtons) {
    Shown();
    {
        LanguageScope german(OffsetGerman);
        area.TranslateMeasurementArea();
        EXPECT_EQ(Row(10)->GetCaptionText(), GetText(121));
        EXPECT_FALSE(Row(10)->GetCaptionText().startsWith(' '));
        EXPECT_EQ(area.MStartButton->text(), GetText(36));
        EXPECT_NE(area.MStartButton->text(), "Start measurement");
        EXPECT_EQ(area.M1TitleLabel->text(), GetText(554));
    }
}

TEST_F(MeasurementArea, AJournalThatCannotBeWrittenIsSaidOnceAndTheRunGoesOnInMemory) {
    // A file where the journals' folder should be.
    QFile blocker(PathOf("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    area.SetJournalFolder(PathOf("blocked/Measurements"));
    Shown();
    area.MStartButtonClick();
    area.MStartButtonClick();

    EXPECT_EQ(area.GetMeasurementHistory().Size(), 2u);
    EXPECT_TRUE(area.JournalPath().isEmpty());
    ASSERT_EQ(dialogs.Notices().size(), 1) << "once a run, not once a record";
    EXPECT_TRUE(dialogs.Notices()[0].text.endsWith(
        "\nThe records of this measurement are kept in the program only; export them before you "
        "start a new measurement."))
        << dialogs.Notices()[0].text.toStdString();
    EXPECT_TRUE(dialogs.Messages().isEmpty()) << "nothing waits for OK";
}
