// The guided precision test's pages against the simulated gauge, without a
// window: the welcome page, step 2 three ways, the weights, the
// evaluation, going back, the weight entry's outcomes, repeat, finish and
// cancel. Expected texts are the pages' English texts.

#include "precision/PrecisionTestFixture.h"
#include "support/CountingTrace.h"
#include "support/RecordingLogbook.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

const QString TestLogName = QStringLiteral("PrecisionTest_2024_06_11_09_30_15.log");

bool Sent(const SimGauge& gauge, const std::string& command) {
    const auto& commands = gauge.Commands();
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

} // namespace

TEST_F(PageFlow, WelcomePageForTheLModel) {
    ConnectedGauge(1);
    sequence.StartPrecisionTest(1);
    EXPECT_EQ(sequence.Step(), 0);
    EXPECT_EQ(sequence.Title(), "Welcome to the guided accuracy test!");
    EXPECT_EQ(Captions(),
              QStringList({
                  "With the aid of the \"Guided accuracy test\" you are able to check if a Axo "
                  "Tessra2 L is within its specified measurement limits.",
                  "This assistant automatically leads you through the complete accuracy test and "
                  "will show you the necessary instructions (marked by \"->\") for each step.",
                  "The complete test will take about 10 minutes.",
                  "Avoid any vibration of the Axo Tessra2 L during the test.",
                  "The test should only be carried out on calm days to avoid errors caused by the "
                  "influence of wind.",
                  "Accessories required (see operating instructions, Chapter 2):",
                  "- USB-Cable",
                  "- base weight (recommended 2500 g from the Axo test weights set)",
                  "- test weight (precision weight!)",
                  "-> Start the accuracy test by pressing the \"Continue\" button.",
              }));
    EXPECT_EQ(Shown(), (Buttons{true, true, false}));
    EXPECT_EQ(view.progressText, "");
    EXPECT_EQ(view.picture, GaugePicture::Gauge400); // the simulated gauge is of type 1
    EXPECT_TRUE(view.actionPanel);
}

TEST_F(PageFlow, StatusWithoutAdapter) {
    sequence.StartPrecisionTest(0);
    sequence.ContinueButtonClick();
    EXPECT_EQ(sequence.Step(), 2);
    EXPECT_EQ(view.progressText, "Guided accuracy test Step 2/7");
    EXPECT_EQ(sequence.Title(), "Step 2 - Reading in status information");
    EXPECT_EQ(Captions(),
              QStringList({
                  "The assistant will now try to establish a connection with the Axo Tessra2.",
                  "This may take up to 20 seconds.",
                  " > Establish connection...",
                  " > The assistant could not detect any compatible USB device drivers.",
              }));
    EXPECT_EQ(Row(" > Establish connection...").mark, RowMark::Failed);
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].kind, MsgKind::Error);
    EXPECT_EQ(dialogs.Messages()[0].text,
              " > The assistant could not detect any compatible USB device drivers.");
    EXPECT_EQ(Shown(), (Buttons{false, true, true}));
    EXPECT_FALSE(view.busy);

    // Back repeats step 2.
    sequence.BackButtonClick();
    EXPECT_EQ(sequence.Step(), 2);
    EXPECT_EQ(dialogs.Messages().size(), 2);
    EXPECT_EQ(sequence.Rows().size(), 4u);
}

TEST_F(PageFlow, StatusWithoutGaugeAddress) {
    SimGauge& gauge = ConnectedGauge(0);
    sequence.StartPrecisionTest(0);
    gauge.Faults().silent = true;
    sequence.ContinueButtonClick();
    EXPECT_EQ(Captions().mid(2),
              QStringList({
                  " > Establish connection...",
                  " > The assistant is scanning for a device address.",
                  " > The assistant was unable to find a Axo Tessra2 (addresses 0 - 9)!",
              }));
    EXPECT_EQ(Row(" > Establish connection...").mark, RowMark::Success);
    EXPECT_EQ(Row(" > The assistant is scanning for a device address.").mark, RowMark::None);
    EXPECT_TRUE(dialogs.Messages().isEmpty());
    EXPECT_EQ(Shown(), (Buttons{false, true, true}));
    EXPECT_FALSE(gauge.Gauge().testMode);
}

TEST_F(PageFlow, StatusReadAndTestModeOn) {
    SimGauge& gauge = ConnectedGauge(1);
    ThroughStatus(1);
    EXPECT_EQ(Captions().mid(2),
              QStringList({
                  " > Establish connection...",
                  " > The assistant is scanning for a device address.",
                  " > The assistant is reading the Axo Tessra2 L device parameters: ",
                  "    Serial number / HW Index:      123456789 / 03",
                  "    Firmware version:      V1.31.0",
                  "    Bucket type:      400 cm²",
                  "    Bus address:      0",
                  "    Intensity units:      mm/h",
                  " > The assistant has successfully read in all status information.",
                  "-> Click \"Continue\" to proceed.",
              }));
    for (int i = 2; i <= 9; ++i) {
        if (i == 4) // " > The assistant is reading ..." has no mark
            continue;
        EXPECT_EQ(sequence.Rows()[static_cast<std::size_t>(i)].mark, RowMark::Success) << i;
    }
    EXPECT_EQ(Shown(), (Buttons{true, true, false}));
    EXPECT_TRUE(Sent(gauge, "0OTC1!"));
    EXPECT_TRUE(gauge.Gauge().testMode);
    EXPECT_FALSE(view.busy);
}

TEST_F(PageFlow, UnreadableValuesAreMarkedButTheTestGoesOn) {
    SimGauge& gauge = ConnectedGauge(0);
    gauge.Gauge().serialNumber = "";
    gauge.Gauge().gaugeType = 12; // two characters: not readable
    ThroughStatus(0);
    const PageRow& serial = Row("    Serial number / HW Index:       / 03");
    EXPECT_EQ(serial.kind, RowKind::Icon);
    EXPECT_EQ(serial.mark, RowMark::Failed);
    EXPECT_EQ(Row("    Bucket type:      N/A").mark, RowMark::Success);
    EXPECT_EQ(Shown(), (Buttons{true, true, false}));
}

TEST_F(PageFlow, WholeTestPassesWithTheWeightsOnTheBucket) {
    SimGauge& gauge = ConnectedGauge(1);
    ThroughStatus(1);
    EXPECT_EQ(hand->Placements(), 0);

    sequence.ContinueButtonClick(); // step 3
    EXPECT_EQ(sequence.Title(), "Step 3 - Applying the base weight");
    EXPECT_EQ(Captions(),
              QStringList({"-> Apply the base weight in the center of the bucket overlay.",
                           "-> Click \"Continue\" to proceed."}));
    EXPECT_EQ(Shown(), (Buttons{true, true, true}));

    sequence.ContinueButtonClick(); // step 4: 2500 g on, measured
    EXPECT_EQ(gauge.Bucket().WeightsOnBucket(), 2500.0);
    EXPECT_EQ(sequence.Title(), "Step 4 - Determining base weight");
    ASSERT_EQ(weights.Waits().size(), 1u);
    EXPECT_EQ(weights.Waits()[0].durationSeconds, 120);
    EXPECT_EQ(weights.Waits()[0].tickMs, 1000);
    EXPECT_EQ(weights.Waits()[0].text, " > The Axo Tessra2 now determines the base weight.");
    EXPECT_EQ(weights.Waits()[0].readings, 5);
    EXPECT_EQ(Captions(),
              QStringList({" > The Axo Tessra2 L now determines the base weight.",
                           " > The Axo Tessra2 L has successfully determined the base weight.",
                           "-> Click \"Continue\" to proceed."}));
    // 2500 g on 400 cm² is 62.5 mm.
    EXPECT_NEAR(sequence.Evaluation().Values.BaseMm, 62.5f, 0.002f);

    sequence.ContinueButtonClick(); // step 5
    EXPECT_EQ(sequence.Title(), "Step 5 - Applying the test weight");
    EXPECT_TRUE(sequence.ActionLabelShown());
    EXPECT_EQ(sequence.ActionLabelText(),
              "The test weights identified with * are recommended weights.");

    weights.QueueEntry({1000.0f, 0});
    sequence.ContinueButtonClick(); // step 6
    EXPECT_EQ(gauge.Bucket().WeightsOnBucket(), 3500.0);
    ASSERT_EQ(weights.Entries().size(), 1u);
    EXPECT_EQ(weights.Entries()[0].title, "Determine the test weight");
    EXPECT_EQ(weights.Entries()[0].prompt, "Details of test weight");
    EXPECT_EQ(weights.Entries()[0].proposedUnit, 0);
    EXPECT_FALSE(sequence.ActionLabelShown());
    EXPECT_EQ(sequence.Title(), "Step 6 - determine test weight");
    const QStringList step6 = Captions();
    ASSERT_EQ(step6.size(), 5);
    EXPECT_EQ(step6[0], "Details of test weight 1000 gram");
    EXPECT_EQ(Row(step6[0]).mark, RowMark::Success);
    EXPECT_EQ(step6[1], " > The Axo Tessra2 L now determines the test weight.");
    EXPECT_EQ(Row(step6[1]).mark, RowMark::None);
    EXPECT_EQ(step6[2], " > Axo Tessra2 L has successfully determined the test weight.");
    EXPECT_TRUE(
        QRegularExpression(
            QStringLiteral("^   > The test weight is according to measurement:(999|1000)\\.\\d\\d  "
                           "gram 2[45]\\.\\d\\d  mm 0\\.98\\d\\d  inch$"))
            .match(step6[3])
            .hasMatch())
        << step6[3].toStdString();
    EXPECT_EQ(step6[4], "-> Click \"Continue\" to proceed.");

    sequence.ContinueButtonClick(); // step 7
    EXPECT_EQ(sequence.Title(), "Step 7 - Evaluation of the test");
    EXPECT_EQ(sequence.Verdict(), "Yes");
    const QStringList step7 = Captions();
    EXPECT_EQ(step7,
              QStringList({"See test details below: ", "Date: ", "Serial number / HW Index:",
                           "Firmware version:", "Intensity units:", "Measured total weight: ",
                           "Information of applied weight: ", "Measured test weight:",
                           "Permitted deviation: ", "Deviation: ", "base weight",
                           "Test passed: ", "Generating PDF report, please wait..."}));
    EXPECT_EQ(Row("Date: ").value, "2024-06-11 09:30:15");
    EXPECT_EQ(Row("Serial number / HW Index:").value, "123456789"); // the serial number alone
    EXPECT_EQ(Row("Intensity units:").value, "mm/h");
    EXPECT_EQ(Row("Information of applied weight: ").value, "1000.00 gram (25.00 mm;0.984 inch)");
    EXPECT_EQ(Row("Permitted deviation: ").value, "+-2.00 gram (+-0.05 mm;+-0.002 inch)");
    EXPECT_EQ(Row("Test passed: ").value, "Yes");
    EXPECT_EQ(Row("Test passed: ").kind, RowKind::Icon);
    EXPECT_EQ(Row("Test passed: ").mark, RowMark::Success);
    EXPECT_TRUE(view.chartShown);
    EXPECT_EQ(view.chart.axisTitle, "mm");
    EXPECT_EQ(view.chart.permitted, 0.05f);
    EXPECT_NEAR(view.chart.deviation, 0.0f, 0.005f);

    ASSERT_GE(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages().back().text, "The Axo Tessra2 has passed the accuracy test!");
    EXPECT_EQ(dialogs.Messages().back().kind, MsgKind::Information);
    EXPECT_EQ(view.reports, QStringList({"Yes"}));
    EXPECT_TRUE(view.reportButton);
    EXPECT_EQ(Shown(), (Buttons{true, false, false}));
    EXPECT_EQ(view.continueCaption, 215);
    const QString log = QDir(logs.path()).filePath(TestLogName);
    EXPECT_EQ(sequence.LogFilePath(), QDir::toNativeSeparators(log));
    EXPECT_TRUE(QFile::exists(log));

    // The report button builds the report again.
    sequence.ShowPDFButtonClick();
    EXPECT_EQ(view.reports, QStringList({"Yes", "Yes"}));

    // Exit, no repeat: the log's place, test mode off, the area hides.
    dialogs.Clear();
    gauge.ClearCommands();
    dialogs.QueueMessageAnswer(MsgResult::No);
    sequence.ContinueButtonClick();
    ASSERT_EQ(dialogs.Messages().size(), 2);
    EXPECT_EQ(dialogs.Messages()[0].text, "Do you want to repeat the test?");
    EXPECT_EQ(dialogs.Messages()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(dialogs.Messages()[1].text,
              "The accuracy test is finished. The log file can be found here: \r\n" +
                  QDir::toNativeSeparators(log));
    EXPECT_TRUE(Sent(gauge, "0OTC0!"));
    EXPECT_FALSE(gauge.Gauge().testMode);
    EXPECT_TRUE(view.hidden);
    EXPECT_EQ(sequence.Step(), -1);
    EXPECT_TRUE(sequence.Rows().empty());
}

TEST_F(PageFlow, TestWeightHeavierThanDeclaredFails) {
    // 1010 g on the bucket, 1000 g declared: 0.25 mm more than declared.
    ConnectedGauge(1, 2500.0, 1010.0);
    ThroughStatus(1);
    weights.QueueEntry({1000.0f, 0});
    ContinueTo(7);
    EXPECT_EQ(sequence.Verdict(), "No");
    EXPECT_EQ(Row("Test passed: ").mark, RowMark::Failed);
    EXPECT_EQ(dialogs.Messages().back().text, "The Axo Tessra2 has not passed the accuracy test!");
    EXPECT_EQ(dialogs.Messages().back().kind, MsgKind::Error);
    EXPECT_EQ(view.reports, QStringList({"No"}));
    EXPECT_NEAR(view.chart.deviation, 0.25f, 0.003f);
}

TEST_F(PageFlow, BackOnEachPage) {
    ConnectedGauge(1);
    ThroughStatus(1);
    sequence.ContinueButtonClick(); // 3
    sequence.BackButtonClick();
    EXPECT_EQ(sequence.Step(), 2);
    EXPECT_EQ(sequence.Title(), "Step 2 - Reading in status information");

    ContinueTo(4);
    EXPECT_EQ(weights.Waits().size(), 1u);
    sequence.BackButtonClick();
    EXPECT_EQ(sequence.Step(), 3);

    ContinueTo(5);
    EXPECT_EQ(weights.Waits().size(), 2u);
    const float base = sequence.Evaluation().Values.BaseMm;
    sequence.BackButtonClick(); // measures the base weight again
    EXPECT_EQ(sequence.Step(), 4);
    EXPECT_EQ(weights.Waits().size(), 3u);
    EXPECT_NEAR(sequence.Evaluation().Values.BaseMm, base, 0.002f);

    weights.QueueEntry({1000.0f, 0});
    ContinueTo(6);
    sequence.BackButtonClick();
    EXPECT_EQ(sequence.Step(), 5);
    EXPECT_EQ(sequence.Title(), "Step 5 - Applying the test weight");

    weights.QueueEntry({1000.0f, 0});
    ContinueTo(7);
    // Back on the evaluation asks for the test weight again and measures
    // again; the base weight stays.
    const std::size_t entries = weights.Entries().size();
    const std::size_t waits = weights.Waits().size();
    const float keptBase = sequence.Evaluation().Values.BaseMm;
    weights.QueueEntry({2.5f, 1});
    sequence.BackButtonClick();
    EXPECT_EQ(sequence.Step(), 6);
    EXPECT_EQ(weights.Entries().size(), entries + 1);
    EXPECT_EQ(weights.Waits().size(), waits + 1);
    EXPECT_EQ(sequence.Evaluation().Values.BaseMm, keptBase);
    EXPECT_EQ(sequence.Evaluation().Values.TestWeightMm, 2.5f);
    EXPECT_EQ(Captions()[0], "Details of test weight 2.5 mm");
}

TEST_F(PageFlow, WeightEntryClosedWithoutOk) {
    ConnectedGauge(0);
    ThroughStatus(0);
    weights.QueueEntry({25.0f, 1}); // first run: 25 mm
    ContinueTo(7);
    EXPECT_EQ(sequence.WeightUnit(), 1);
    // Back to the entry, closed without OK this time.
    sequence.BackButtonClick();
    EXPECT_EQ(weights.Entries().back().proposedUnit, 1);
    EXPECT_EQ(Captions()[0], "Details of test weight");
    EXPECT_EQ(sequence.Rows()[0].mark, RowMark::Failed);
    EXPECT_EQ(sequence.WeightUnit(), 0); // the remembered unit becomes gram
    EXPECT_EQ(sequence.Evaluation().Values.TestWeightMm, 0.0f);
    EXPECT_EQ(sequence.Step(), 6); // the test goes on

    // A weight of 0 or less: failed mark as well.
    sequence.ContinueButtonClick(); // 7
    weights.QueueEntry({-5.0f, 0});
    sequence.BackButtonClick();
    EXPECT_EQ(sequence.Rows()[0].mark, RowMark::Failed);
    EXPECT_EQ(Captions()[0], "Details of test weight");
}

TEST_F(PageFlow, RepeatStartsAgainAtStepTwoWithClearedValues) {
    ConnectedGauge(1);
    ThroughStatus(1);
    weights.QueueEntry({1.0f, 2}); // inch
    ContinueTo(7);
    ASSERT_NE(sequence.Evaluation().Values.TotalMm, 0.0f);
    dialogs.QueueMessageAnswer(MsgResult::Yes);
    sequence.ContinueButtonClick();
    EXPECT_EQ(sequence.Step(), 2);
    EXPECT_EQ(sequence.Title(), "Step 2 - Reading in status information");
    EXPECT_EQ(sequence.Verdict(), "");
    EXPECT_FALSE(view.reportButton);
    EXPECT_EQ(sequence.Evaluation().Values.TotalMm, 0.0f);
    EXPECT_EQ(sequence.Evaluation().Values.BaseMm, 0.0f);
    EXPECT_FALSE(view.hidden);
    // The last unit is proposed again.
    ContinueTo(6);
    EXPECT_EQ(weights.Entries().back().proposedUnit, 2);
}

TEST_F(PageFlow, CancelClosesTheLinkAndLeavesTestModeOn) {
    SimGauge& gauge = ConnectedGauge(1);
    ThroughStatus(1);
    sequence.ContinueButtonClick();
    gauge.ClearCommands();
    sequence.AbortButtonClick();
    EXPECT_FALSE(handler.Connected);
    EXPECT_TRUE(gauge.Commands().empty());
    EXPECT_TRUE(gauge.Gauge().testMode);
}

TEST_F(PageFlow, GaugeErrorsDuringTheWaitGiveZero) {
    SimGauge& gauge = ConnectedGauge(1);
    ThroughStatus(1);
    sequence.ContinueButtonClick();
    gauge.Faults().statusBits = 1024;
    sequence.ContinueButtonClick(); // step 4
    EXPECT_EQ(weights.Waits().back().result, 0.0f);
    EXPECT_EQ(sequence.Evaluation().Values.BaseMm, 0.0f);
    EXPECT_TRUE(dialogs.Messages().back().text.startsWith(
        "Warning: During test the following errors occured: \r\n"));
    EXPECT_EQ(Shown(), (Buttons{true, true, true})); // and the test goes on
}

TEST_F(PageFlow, InchGaugeChartsInInch) {
    SimGauge& gauge = ConnectedGauge(0);
    gauge.Gauge().intensityUnit = 3; // inch/h
    gauge.Gauge().gaugeType = 0;
    ThroughStatus(0);
    weights.QueueEntry({1000.0f, 0});
    ContinueTo(7);
    EXPECT_EQ(Row("Intensity units:").value, "inch/h");
    EXPECT_EQ(view.chart.axisTitle, "inch");
    EXPECT_EQ(view.chart.permitted, sequence.Evaluation().Values.PermittedInch);
    EXPECT_EQ(view.chart.deviation, sequence.Evaluation().Values.DeviationInch);
    EXPECT_NEAR(view.chart.permitted, 0.1f / 25.4f, 1e-6f); // 0.1 mm of 50 mm
    EXPECT_EQ(sequence.Verdict(), "Yes");
}

TEST_F(PageFlow, UnwritableLogIsReportedAndTheEvaluationGoesOn) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString program = blocker.fileName() + QStringLiteral("/program");
    const QString perUser = blocker.fileName() + QStringLiteral("/user");
    sequence.SetLogFolders({program, perUser});
    ConnectedGauge(1);
    ThroughStatus(1);
    weights.QueueEntry({1000.0f, 0});
    ContinueTo(7);
    const QStringList texts = dialogs.MessageTexts();
    ASSERT_GE(texts.size(), 2);
    EXPECT_EQ(texts[texts.size() - 2],
              "The file " + QDir::toNativeSeparators(program + "/" + TestLogName) +
                  " could not be written.\r\nThe file " +
                  QDir::toNativeSeparators(perUser + "/" + TestLogName) + " could not be written.");
    EXPECT_EQ(texts.back(), "The Axo Tessra2 has passed the accuracy test!");
    EXPECT_EQ(view.reports.size(), 1);
    EXPECT_TRUE(sequence.LogFilePath().isEmpty());

    dialogs.Clear();
    sequence.ContinueButtonClick();
    ASSERT_EQ(dialogs.Messages().size(), 2);
    EXPECT_EQ(dialogs.Messages()[1].text,
              "The accuracy test is finished. No log file was written.");
}

TEST_F(PageFlow, TheReadingsTrafficIsKeptBesideTheLog) {
    ConnectedGauge(1);
    sequence.StartPrecisionTest(1);
    CountingTrace outer; // from the status step on, as the recording
    InstallTrace(&outer);
    weights.QueueEntry({1000.0f, 0});
    ContinueTo(7);
    InstallTrace(nullptr);

    const QString trace =
        QDir(logs.path()).filePath(QStringLiteral("PrecisionTest_2024_06_11_09_30_15.trace.txt"));
    EXPECT_EQ(sequence.TraceFilePath(), QDir::toNativeSeparators(trace));
    QFile file(trace);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0], "# SDI-12 traffic of the accuracy test of gauge 123456789, "
                        "2024-06-11T09:30:15");
    // Five readings for the base weight and five for the test weight, each
    // a measurement command answered by the gauge.
    const QRegularExpression measurement(
        QStringLiteral("^\\+\\d+\\.\\d{6}  SDI-12  0M!  attempt 1/3  reply 0\\d{4}<CR><LF>  "));
    EXPECT_GE(lines.filter(measurement).size(), 10) << lines.join(u'\n').toStdString();
    EXPECT_EQ(outer.reports, static_cast<int>(lines.size()) - 1)
        << "a --trace file still gets every line";
}

TEST_F(PageFlow, AGaugeLostDuringTheWaitEndsItAtOnceAndBackRepeatsTheStepOnceItIsBack) {
    ConnectedGauge(1);
    ThroughStatus(1);
    sequence.ContinueButtonClick();
    // The adapter goes while the countdown is still waiting for the weight to settle.
    weights.BeforeTick([this](int left) {
        if (left == 100)
            backend.Unplug(0);
    });
    sequence.ContinueButtonClick(); // step 4
    ASSERT_EQ(weights.Waits().size(), 1u);
    EXPECT_TRUE(weights.Waits()[0].gaugeLost);
    EXPECT_EQ(weights.Waits()[0].remainingAtEnd, 100) << "the first tick after the loss ends it";
    EXPECT_EQ(weights.Waits()[0].readings, 0);
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].text,
              "The connection to the gauge was lost during the measurement; no value was taken. "
              "When the gauge is back, click Back to repeat this step.");
    EXPECT_EQ(Shown(), (Buttons{false, true, true})) << "no evaluation on readings never taken";
    EXPECT_EQ(Row(dialogs.Messages()[0].text).mark, RowMark::Failed);

    // The same gauge back, reconnected by the main window.
    weights.BeforeTick({});
    backend.Replug(0);
    ASSERT_TRUE(handler.Reconnect());
    sequence.BackButtonClick();
    ASSERT_EQ(weights.Waits().size(), 2u);
    EXPECT_FALSE(weights.Waits()[1].gaugeLost);
    EXPECT_EQ(weights.Waits()[1].readings, 5);
    EXPECT_NEAR(sequence.Evaluation().Values.BaseGram, 2500.0, 0.5);
    EXPECT_EQ(Shown(), (Buttons{true, true, true}));
}

TEST_F(PageFlow, TheEvaluatedTestIsKeptInTheLogbookWithItsValuesAndLog) {
    RecordingLogbook logbook;
    ConnectedGauge(1);
    ThroughStatus(1);
    weights.QueueEntry({1000.0f, 0});
    ContinueTo(7);

    ASSERT_EQ(logbook.entries.size(), 1u);
    const LogbookEntry& entry = logbook.entries.front();
    EXPECT_EQ(entry.kind, LogbookKind::PrecisionTest);
    EXPECT_TRUE(entry.details.value(QStringLiteral("passed")).toBool());
    const QJsonObject values = entry.details.value(QStringLiteral("values")).toObject();
    // 1000 g on 400 cm² is 25 mm, and the test passed: within the band.
    EXPECT_NEAR(values.value(QStringLiteral("TestWeightMm")).toDouble(), 25.0, 0.01);
    EXPECT_LE(std::abs(values.value(QStringLiteral("DeviationMm")).toDouble()),
              values.value(QStringLiteral("PermittedMm")).toDouble());
    EXPECT_EQ(values.value(QStringLiteral("Verdict")).toString(), "Yes");
    EXPECT_EQ(entry.details.value(QStringLiteral("log")).toString(),
              QFileInfo(sequence.LogFilePath()).absoluteFilePath());
    EXPECT_TRUE(entry.files.contains(QFileInfo(sequence.LogFilePath()).absoluteFilePath()));
}
