// The firmware update procedure against the simulated gauge: its steps,
// every failure path and what the rows and the result panel then say.

#include "FirmwareUpdateFixture.h"

#include "config/IniDocument.h"

#include <QDir>
#include <QFileInfo>

using namespace Firmware;

namespace {

const QString Succeeded = QStringLiteral("Firmware update successfully completed");
const QString Failed = QStringLiteral("Firmware update failed!");
const QString Cancelled = QStringLiteral("Cancelled by user!");
const QString NoHandshake =
    QStringLiteral("Synchronization with Axo Tessra2 not successful (XModem)");

QStringList Lines(const QString& text) {
    return text.split(QStringLiteral("\r\n"));
}

} // namespace

class UpdateOnEachModel : public FirmwareUpdateTest, public ::testing::WithParamInterface<int> {};

TEST_P(UpdateOnEachModel, EndsWithTheNewVersionTheDateAndTheGaugeConnected) {
    const int model = GetParam();
    SimGauge& gauge = ConnectedGauge(model);
    // Model 0 images carry another identification; the gauge's version decides.
    const QString path =
        model == 0 ? WriteFile("t2.bin", ImageBytes("TESSRA2", "V1.40.0", 3000)) : Image("V2.05.1");

    Run(path);

    EXPECT_TRUE(State().resultSuccess);
    EXPECT_EQ(Lines(Result()).first(), Succeeded);
    EXPECT_EQ(gauge.Gauge().firmwareVersion, model == 0 ? "V1.40.0" : "V2.05.1");
    EXPECT_EQ(gauge.LoaderBaud(), model == 0 ? 4800u : 115200u);
    EXPECT_EQ(gauge.Gauge().lastFirmwareUpdate, UpdateStamp);
    EXPECT_EQ(view.begun, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    for (int row = 0; row < StepRowCount; ++row)
        EXPECT_EQ(Row(row).mark, Mark::Success) << "row " << row;
    EXPECT_EQ(Row(ConnectionRow).text, "Connected");
    EXPECT_EQ(Row(FileRow).text, QFileInfo(path).fileName());
    EXPECT_EQ(Row(LoaderRow).text, "Initialization complete!");
    EXPECT_EQ(Row(HandshakeRow).title, model == 0   ? "Initializing Axo Tessra2 Axo Tessra2"
                                       : model == 1 ? "Initializing Axo Tessra2 Axo Tessra2 L"
                                                    : "Initializing Axo Tessra2 Axo Tessra2 S");
    EXPECT_EQ(Row(HandshakeRow).text, "Answer correct. Synchronization complete.");
    EXPECT_EQ(Row(OpeningRow).text, "OK");
    EXPECT_EQ(Row(TransferRow).text, "Upload finished");
    EXPECT_EQ(Row(VerificationRow).text, "Closing update procedure...");
    EXPECT_EQ(State().progressPosition, State().progressMaximum);
    EXPECT_EQ(FirmwarePath, dir.path() + "/");
    EXPECT_TRUE(AnswersAgain(gauge));
}

INSTANTIATE_TEST_SUITE_P(Models, UpdateOnEachModel, ::testing::Values(0, 1, 2));

TEST_F(FirmwareUpdateTest, RefusedConfirmationShowsTheCancellationAndTouchesNothing) {
    SimGauge& gauge = ConnectedGauge(1);
    Run(Image("V2.05.1"), MsgResult::No);

    EXPECT_EQ(Result(), Failed + "\r\n" + Cancelled);
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].text, "Are you sure to download/update a new firmware release?");
    EXPECT_EQ(dialogs.Messages()[0].kind, MsgKind::Warning);
    EXPECT_TRUE(dialogs.FileRequests().isEmpty());
    EXPECT_EQ(State().currentRow, NoRow);
    EXPECT_FALSE(Sent(gauge, "0OXU+0391!"));
    EXPECT_EQ(gauge.Gauge().firmwareVersion, "V1.31.0");
    EXPECT_TRUE(AnswersAgain(gauge));
}

TEST_F(FirmwareUpdateTest, CancelledFileDialogFailsTheFileRowAndSendsNothing) {
    SimGauge& gauge = ConnectedGauge(2);
    Run(QString());

    ASSERT_EQ(dialogs.FileRequests().size(), 1);
    EXPECT_EQ(dialogs.FileRequests()[0].request.folder, FirmwarePath);
    EXPECT_TRUE(dialogs.FileRequests()[0].request.filter.contains("*.bin"));
    EXPECT_EQ(Row(FileRow).title, "Firmware file cannot be opened!");
    EXPECT_EQ(Row(FileRow).mark, Mark::Failure);
    EXPECT_EQ(Result(), Failed + "\r\n" + Cancelled);
    EXPECT_FALSE(Sent(gauge, "0OXU+0391!"));
    EXPECT_FALSE(QDir(dir.filePath("backups")).exists()) << "no update, no backup";
    EXPECT_TRUE(AnswersAgain(gauge));
}

TEST_F(FirmwareUpdateTest, LoaderSwitchWithoutAnswerTriesTheDirectUpdate) {
    SimGauge& gauge = ConnectedGauge(1);
    gauge.Faults().silentLoaderSwitch = true;
    Run(Image("V2.05.1"));

    EXPECT_EQ(Row(LoaderRow).text, "Trying direct update.");
    EXPECT_EQ(Row(LoaderRow).mark, Mark::Failure);
    EXPECT_EQ(Row(HandshakeRow).mark, Mark::Success);
    EXPECT_TRUE(State().resultSuccess);
    EXPECT_EQ(gauge.Gauge().firmwareVersion, "V2.05.1");
}

TEST_F(FirmwareUpdateTest, GaugeWithoutLoaderFailsTheHandshakeAndStaysConnected) {
    SimGauge& gauge = ConnectedGauge(1);
    gauge.Faults().noLoader = true;
    double start = -1;
    view.onRowBegun = [&](int row) {
        if (row == HandshakeRow)
            start = clock.Peek();
    };
    Run(Image("V2.05.1"));

    EXPECT_EQ(Row(LoaderRow).text, "Trying direct update.");
    EXPECT_EQ(Row(HandshakeRow).title, "Synchronization with Axo Tessra2 not successful (XModem)");
    EXPECT_EQ(Row(HandshakeRow).mark, Mark::Failure);
    EXPECT_EQ(Lines(Result()).mid(0, 2),
              (QStringList{Failed, "Synchronization with Axo Tessra2 not successful (XModem)"}));
    EXPECT_EQ(view.begun.back(), HandshakeRow);
    // The loader's 5 s start, two handshake cycles of 10 x 1 s and 40 x 0.5 s,
    // the 1 s pause, and no more.
    EXPECT_GT(clock.Peek() - start, 5010.0 + 60000.0);
    EXPECT_LT(clock.Peek() - start, 5010.0 + 60000.0 + 1000.0 + 1000.0);
    EXPECT_TRUE(AnswersAgain(gauge));
}

TEST_F(FirmwareUpdateTest, WithoutAGaugeTheHandshakeFailsAtOnceAndNothingElseIsClaimed) {
    double start = -1;
    view.onRowBegun = [&](int row) {
        if (row == HandshakeRow)
            start = clock.Peek();
    };
    Run(Image("V2.05.1"));

    EXPECT_EQ(Row(ConnectionRow).mark, Mark::Failure);
    EXPECT_EQ(Row(LoaderRow).text, "Trying direct update.");
    EXPECT_EQ(Row(HandshakeRow).title, "Synchronization with Axo Tessra2 not successful (XModem)");
    EXPECT_EQ(State().resultLine,
              Failed + "\r\nSynchronization with Axo Tessra2 not successful (XModem)");
    EXPECT_EQ(State().resultNotes,
              QStringList{"The configuration could not be saved before the update: no gauge is "
                          "connected."});
    // The loader's 5 s start and the 1 s pause; no handshake cycles on no port.
    EXPECT_LT(clock.Peek() - start, 5010.0 + 1000.0 + 500.0);
}

TEST_F(FirmwareUpdateTest, BlockNeverAcknowledgedFailsTheTransferAndSaysTheGaugeIsNotBack) {
    SimGauge& gauge = ConnectedGauge(1);
    gauge.Faults().nakBlocks = 4;
    Run(Image("V2.05.1"));

    EXPECT_EQ(Row(TransferRow).mark, Mark::Failure);
    EXPECT_EQ(State().progressLabel, "Error uploading file");
    const QStringList lines = Lines(Result());
    EXPECT_EQ(lines.mid(0, 2), (QStringList{Failed, Failed}));
    // The loader still waits for the image: the panel says so instead of "connected".
    EXPECT_TRUE(gauge.InLoader());
    EXPECT_EQ(lines.last(),
              "The gauge does not answer yet. If it is still in its loader, wait a minute and "
              "connect again.");
    EXPECT_EQ(gauge.Gauge().firmwareVersion, "V1.31.0");
    EXPECT_TRUE(handler.Connected) << "the final step reopened the adapter";
}

TEST_F(FirmwareUpdateTest, DroppedAcknowledgementsCostATryEachAndTheUpdateSucceeds) {
    SimGauge& gauge = ConnectedGauge(2);
    gauge.Faults().lostAcks = 1;
    gauge.Faults().corruptAcks = 1;
    Run(Image("V2.05.1"));

    EXPECT_TRUE(State().resultSuccess);
    EXPECT_EQ(gauge.BlockTries(), 3 * 8);
    EXPECT_EQ(gauge.Gauge().firmwareVersion, "V2.05.1");
}

TEST_F(FirmwareUpdateTest, CancelDuringTheTransferSendsNoEndAndReconnects) {
    SimGauge& gauge = ConnectedGauge(1);
    double cancelledAt = -1;
    view.onProgress = [&] {
        if (State().progressPosition == 3 && cancelledAt < 0) {
            cancelledAt = clock.Peek();
            sequence.Cancel();
        }
    };
    Run(Image("V2.05.1"));

    EXPECT_EQ(Lines(Result()).mid(0, 2), (QStringList{Failed, Cancelled}));
    EXPECT_EQ(Lines(Result()).last(), "The gauge does not answer yet. If it is still in its "
                                      "loader, wait a minute and connect again.");
    EXPECT_EQ(Row(TransferRow).mark, Mark::None) << "a cancel is no failure of the transfer";
    EXPECT_EQ(gauge.AcceptedBlocks(), 3);
    EXPECT_EQ(gauge.Gauge().firmwareVersion, "V1.31.0") << "no end of transmission";
    EXPECT_FALSE(State().cancelEnabled);
    EXPECT_LT(clock.Peek() - cancelledAt, 1000.0);
    EXPECT_TRUE(handler.Connected) << "the final step reopened the adapter";
}

TEST_F(FirmwareUpdateTest, ImageOfAnotherIdentificationCannotBeConfirmedOnModelsOneAndTwo) {
    SimGauge& gauge = ConnectedGauge(2);
    Run(WriteFile("other.bin", ImageBytes("TESSRA2 L", "V2.05.1", 1024)));

    EXPECT_TRUE(State().expectedVersion.isEmpty());
    EXPECT_EQ(gauge.Gauge().firmwareVersion, "V2.05.1");
    EXPECT_EQ(Row(VerificationRow).mark, Mark::Failure);
    EXPECT_EQ(Lines(Result()).mid(0, 2), (QStringList{Failed, Failed}));
    EXPECT_TRUE(Result().contains("The gauge reports version V2.05.1."));
    EXPECT_EQ(gauge.Gauge().lastFirmwareUpdate, "2024-01-15T08:30:00") << "no date after a failure";
}

TEST_F(FirmwareUpdateTest, ImageWithoutVersionAndASilentGaugeIsNoSuccess) {
    SimGauge& gauge = ConnectedGauge(1);
    view.onRowBegun = [&](int row) {
        if (row == VerificationRow)
            gauge.Faults().silent = true; // no version reply: an empty one
    };
    Run(WriteFile("other.bin", ImageBytes("TESSRA2 L", "V2.05.1", 1024)));

    EXPECT_FALSE(State().resultSuccess) << "an empty version never matches an empty expectation";
    EXPECT_TRUE(Result().contains("The gauge reports version -."));
}

TEST_F(FirmwareUpdateTest, LoaderKeepingItsFirmwareFailsTheVersionCheck) {
    SimGauge& gauge = ConnectedGauge(1);
    gauge.Faults().keepsOldFirmware = true;
    Run(Image("V2.05.1"));

    EXPECT_FALSE(State().resultSuccess);
    EXPECT_EQ(Row(VerificationRow).mark, Mark::Failure);
    EXPECT_TRUE(Result().contains("The gauge reports version V1.31.0."));
    EXPECT_EQ(gauge.Gauge().lastFirmwareUpdate, "2024-01-15T08:30:00");
}

TEST_F(FirmwareUpdateTest, LoaderPrintingDotsForFortySecondsIsWaitedFor) {
    SimGauge& gauge = ConnectedGauge(1);
    gauge.Config().loaderDotsMs = 40000;
    gauge.Config().loaderDotIntervalMs = 1000;
    double verificationStart = 0;
    view.onRowBegun = [&](int row) {
        if (row == VerificationRow)
            verificationStart = clock.Peek();
    };
    Run(Image("V2.05.1"));

    EXPECT_TRUE(State().resultSuccess);
    EXPECT_EQ(Row(VerificationRow).mark, Mark::Success);
    // The greeting came after 41 s; the closing adds 3 s + 1.5 s.
    EXPECT_GT(clock.Peek() - verificationStart, 41000.0);
}

TEST_F(FirmwareUpdateTest, LoaderThatNeverGreetsIsGivenUpFifteenSecondsAfterItsLastDot) {
    SimGauge& gauge = ConnectedGauge(2);
    gauge.Faults().noApplicationDone = true;
    double verificationStart = 0;
    view.onRowBegun = [&](int row) {
        if (row == VerificationRow)
            verificationStart = clock.Peek();
    };
    Run(Image("V2.05.1"));

    EXPECT_TRUE(State().resultSuccess) << "the application started all the same";
    // Dots for 2 s, then 15 s without one; the closing adds 3 s + 1.5 s.
    EXPECT_GT(clock.Peek() - verificationStart, 17000.0 + 4500);
    EXPECT_LT(clock.Peek() - verificationStart, 17000.0 + 4500 + 2000);
}

TEST_F(FirmwareUpdateTest, LongFileNameIsShownWithItsFirstFortyCharacters) {
    ConnectedGauge(1);
    const QString name = QStringLiteral("Tessra2S_firmware_release_2024_05_final_b.bin");
    ASSERT_EQ(name.size(), 45);
    Run(Image("V2.05.1", name));

    EXPECT_EQ(Row(FileRow).text, "Tessra2S_firmware_release_2024_05_final_...");
}

TEST_F(FirmwareUpdateTest, ImageBeyondSixteenMebibytesIsRefusedBeforeAnythingIsSent) {
    SimGauge& gauge = ConnectedGauge(1);
    const QString path = dir.filePath("huge.bin");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(16 * 1024 * 1024 + 1));
    }
    gauge.ClearCommands();
    Run(path);

    ASSERT_EQ(dialogs.Messages().size(), 2);
    EXPECT_EQ(dialogs.Messages()[1].kind, MsgKind::Error);
    EXPECT_EQ(dialogs.Messages()[1].text,
              "The file huge.bin has 16777217 bytes, more than the 16 MiB a firmware image can "
              "have. It was not sent.");
    EXPECT_EQ(Row(FileRow).mark, Mark::Failure);
    EXPECT_EQ(Lines(Result()).at(1), dialogs.Messages()[1].text);
    // Only the area's own reading (when opened, and again at the start) and
    // the final address query went to the gauge.
    EXPECT_EQ(gauge.Commands(), (Commands{"0OOV!", "0OCB!", "0OOV!", "0OCB!", "?!"}));
}

TEST_F(FirmwareUpdateTest, EmptyImageIsNeverReportedAsAnUpdate) {
    SimGauge& gauge = ConnectedGauge(0);
    Run(WriteFile("empty.bin", QByteArray()));

    EXPECT_EQ(gauge.BlockTries(), 0) << "only the end of transmission went out";
    EXPECT_FALSE(State().resultSuccess);
    EXPECT_TRUE(Result().contains("The firmware file is empty: no firmware was transferred."));
    EXPECT_TRUE(AnswersAgain(gauge));
}

TEST_F(FirmwareUpdateTest, ShortImageGoesThroughAsFilledBlockAndFailsTheCheck) {
    SimGauge& gauge = ConnectedGauge(1);
    Run(WriteFile("short.bin", QByteArray("TESSRA2 S\0\0\0\0\0\0\0V2", 18)));

    EXPECT_EQ(State().expectedVersion, "V2");
    EXPECT_EQ(gauge.AcceptedBlocks(), 1);
    // Too short to carry a version field: the gauge keeps its version.
    EXPECT_FALSE(State().resultSuccess);
    EXPECT_TRUE(Result().contains("The gauge reports version V1.31.0."));
}

TEST_F(FirmwareUpdateTest, UnreadableImageFailsWhenOpenedForTheTransfer) {
    SimGauge& gauge = ConnectedGauge(1);
    const QString path = dir.filePath("folder.bin");
    ASSERT_TRUE(QDir().mkpath(path));
    Run(path);

    EXPECT_EQ(dialogs.MessageTexts().last(), "ERROR: Could not open file / create stream");
    EXPECT_EQ(Row(OpeningRow).title, "Firmware file cannot be opened!");
    EXPECT_EQ(Row(OpeningRow).mark, Mark::Failure);
    EXPECT_EQ(Lines(Result()).mid(0, 2), (QStringList{Failed, "Firmware file cannot be opened!"}));
    EXPECT_EQ(gauge.BlockTries(), 0);
}

TEST_F(FirmwareUpdateTest, GaugeVanishingDuringTheTransferEndsItAtOnce) {
    SimGauge& gauge = ConnectedGauge(1);
    double vanishedAt = -1;
    view.onProgress = [&] {
        if (State().progressPosition == 2 && vanishedAt < 0) {
            vanishedAt = clock.Peek();
            gauge.Faults().vanished = true; // unplugged
        }
    };
    Run(Image("V2.05.1"));

    EXPECT_EQ(Row(TransferRow).mark, Mark::Failure);
    const QStringList lines = Lines(Result());
    EXPECT_EQ(lines.mid(0, 2), (QStringList{Failed, Failed}));
    EXPECT_TRUE(lines.contains("The adapter stopped answering during the transfer."));
    EXPECT_TRUE(lines.contains("The gauge does not answer yet. If it is still in its loader, "
                               "wait a minute and connect again."));
    // Not four tries of 8 s on a port that is gone.
    EXPECT_LT(clock.Peek() - vanishedAt, 1000.0);
    EXPECT_FALSE(handler.Connected);
}

TEST_F(FirmwareUpdateTest, LowestReceiveLatencyHoldsForTheTransferAndIsGivenBack) {
    ConnectedGauge(1);
    bool lowDuringTransfer = false;
    view.onProgress = [&] {
        if (State().currentRow == TransferRow && State().progressPosition == 4)
            lowDuringTransfer = backend.LowLatency();
    };
    bool lowWhileVerifying = true;
    view.onRowBegun = [&](int row) {
        if (row == VerificationRow)
            lowWhileVerifying = backend.LowLatency();
    };
    Run(Image("V2.05.1"));

    ASSERT_TRUE(State().resultSuccess);
    EXPECT_TRUE(lowDuringTransfer);
    EXPECT_FALSE(lowWhileVerifying);
    EXPECT_FALSE(backend.LowLatency());
    EXPECT_GE(backend.LowLatencyRequests(), 1);
    EXPECT_EQ(backend.LowLatencyRestores(), backend.LowLatencyRequests());
}

TEST_F(FirmwareUpdateTest, LatencyIsGivenBackWhenTheTransferFails) {
    SimGauge& gauge = ConnectedGauge(2);
    gauge.Faults().nakBlocks = 4;
    Run(Image("V2.05.1"));

    ASSERT_EQ(Row(TransferRow).mark, Mark::Failure);
    EXPECT_GE(backend.LowLatencyRequests(), 1);
    EXPECT_FALSE(backend.LowLatency());
    EXPECT_EQ(backend.LowLatencyRestores(), backend.LowLatencyRequests());
}

TEST_F(FirmwareUpdateTest, BackupIsWrittenBeforeTheLoaderSwitch) {
    SimGauge& gauge = ConnectedGauge(1);
    gauge.Gauge().temperatureUnit = 1;
    gauge.Gauge().heatingMode = 2;
    gauge.Gauge().heatingThreshold = -7;
    gauge.Gauge().serialNumber = "SN 4711/B";
    QStringList backupsAtLoaderSwitch;
    bool switchSentBefore = true;
    view.onRowBegun = [&](int row) {
        if (row == LoaderRow) {
            backupsAtLoaderSwitch = QDir(dir.filePath("backups")).entryList(QDir::Files);
            switchSentBefore = Sent(gauge, "0OXU+0391!");
        }
    };
    Run(Image("V2.05.1"));

    ASSERT_EQ(backupsAtLoaderSwitch, QStringList{"Tessra2_SN_4711_B_2024-05-06_07-08-09.txt"});
    EXPECT_FALSE(switchSentBefore);
    const QString file = dir.filePath("backups/Tessra2_SN_4711_B_2024-05-06_07-08-09.txt");
    const std::optional<IniDocument> backup = IniDocument::Load(file);
    ASSERT_TRUE(backup.has_value());
    EXPECT_EQ(backup->Value("CONFIGURATION", "TYPE"), QByteArray("1"));
    EXPECT_EQ(backup->Value("CONFIGURATION", "TEMPERATUREUNIT"), QByteArray("1"));
    EXPECT_EQ(backup->Value("CONFIGURATION", "HEATINGMAINSWITCH"), QByteArray("2"));
    EXPECT_EQ(backup->Value("CONFIGURATION", "HEATINGTHRESHOLD"), QByteArray("-7"));
    EXPECT_TRUE(State().resultSuccess);
    EXPECT_EQ(Lines(Result()).last(), "Configuration saved to " + QDir::toNativeSeparators(file));
    EXPECT_TRUE(view.statusTexts.contains("Saving the gauge's configuration before the update..."));
}

TEST_F(FirmwareUpdateTest, FailedBackupIsShownAndTheUpdateGoesOn) {
    SimGauge& gauge = ConnectedGauge(2);
    // A file where the backup folder should be.
    WriteFile("blocked", "x");
    sequence.SetBackupFolder(dir.filePath("blocked/backups"));
    Run(Image("V2.05.1"));

    EXPECT_TRUE(State().resultSuccess);
    EXPECT_TRUE(State().backupFile.isEmpty());
    const QString line = "The configuration could not be saved before the update: the file " +
                         QDir::toNativeSeparators(dir.filePath(
                             "blocked/backups/Tessra2_123456789_2024-05-06_07-08-09.txt")) +
                         " could not be written.";
    EXPECT_EQ(Lines(Result()).last(), line);
    EXPECT_TRUE(view.statusTexts.contains(line));
    EXPECT_EQ(gauge.Gauge().firmwareVersion, "V2.05.1");
}

TEST_F(FirmwareUpdateTest, CancelDuringTheBackupEndsItAndTheUpdate) {
    SimGauge& gauge = ConnectedGauge(1);
    view.onStatus = [&](const QString& text) {
        if (text.startsWith("Saving"))
            sequence.Cancel();
    };
    Run(Image("V2.05.1"));

    EXPECT_EQ(Lines(Result()).mid(0, 2), (QStringList{Failed, Cancelled}));
    EXPECT_FALSE(QDir(dir.filePath("backups")).exists());
    EXPECT_EQ(std::count(gauge.Commands().begin(), gauge.Commands().end(), "0OUT!"), 0)
        << "the read stops after its first setting";
    EXPECT_EQ(gauge.Gauge().firmwareVersion, "V1.31.0");
    EXPECT_FALSE(gauge.InLoader());
}

TEST_F(FirmwareUpdateTest, BackupOfAGaugeThatDoesNotAnswerIsNotSavedAndEndsAtOnce) {
    SimGauge& gauge = ConnectedGauge(1);
    double started = -1;
    double ended = -1;
    view.onStatus = [&](const QString& text) {
        // From the start of the backup: the serial number and the address
        // query go unanswered, three attempts each.
        if (text.startsWith("Saving")) {
            started = clock.Peek();
            gauge.Faults().silent = true;
            gauge.Faults().faultyReplies = 6;
        } else if (text.startsWith("The configuration could not be saved")) {
            ended = clock.Peek();
        }
    };
    Run(Image("V2.05.1"));

    // Two unanswered questions, three attempts of 300 ms each; not one per setting.
    ASSERT_GE(started, 0);
    ASSERT_GE(ended, 0);
    EXPECT_LT(ended - started, 2500.0);

    EXPECT_FALSE(QDir(dir.filePath("backups")).exists());
    EXPECT_TRUE(Result().contains("The configuration could not be saved before the update: the "
                                  "gauge did not answer every setting."));
    EXPECT_TRUE(State().resultSuccess);
}

// A cancel at the start of each step: the panel says it, nothing hangs, the
// gauge is asked for at the end.
class CancelAtStep : public FirmwareUpdateTest, public ::testing::WithParamInterface<int> {};

TEST_P(CancelAtStep, EndsTheProcedureTruthfully) {
    const int step = GetParam();
    SimGauge& gauge = ConnectedGauge(2);
    double cancelledAt = -1;
    view.onRowBegun = [&](int row) {
        if (row == step) {
            cancelledAt = clock.Peek();
            sequence.Cancel();
        }
    };
    Run(Image("V2.05.1"));

    ASSERT_GE(cancelledAt, 0);
    // The file choice has no cancel test of its own: the loader switch's comes first.
    EXPECT_EQ(view.begun.back(), step == FileRow ? LoaderRow : step);
    if (step == VerificationRow) {
        // The image is in the gauge: the check still says what it holds.
        EXPECT_TRUE(State().resultSuccess);
    } else if (step == HandshakeRow) {
        // The handshake has no cancel test of its own: it ends as one that failed.
        EXPECT_EQ(Lines(Result()).mid(0, 2), (QStringList{Failed, NoHandshake}));
        EXPECT_EQ(Row(HandshakeRow).title, NoHandshake);
        EXPECT_EQ(gauge.Gauge().firmwareVersion, "V1.31.0");
    } else {
        EXPECT_EQ(Lines(Result()).mid(0, 2), (QStringList{Failed, Cancelled}));
        EXPECT_EQ(gauge.Gauge().firmwareVersion, "V1.31.0");
    }
    // At most the verification, the closing pauses and the final reconnection.
    EXPECT_LT(clock.Peek() - cancelledAt, 10000.0);
    EXPECT_TRUE(handler.Connected);
    if (step >= HandshakeRow && step <= TransferRow) {
        // The loader still waits for its image; the final address query
        // found no answer and the panel says so.
        EXPECT_TRUE(gauge.InLoader());
        EXPECT_EQ(Lines(Result()).last(), "The gauge does not answer yet. If it is still in its "
                                          "loader, wait a minute and connect again.");
    } else {
        EXPECT_EQ(gauge.Commands().back(), "?!");
        EXPECT_TRUE(AnswersAgain(gauge));
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, CancelAtStep, ::testing::Range(0, StepRowCount));

TEST_F(FirmwareUpdateTest, ClickWhileTheProcedureRunsStartsNoSecondOne) {
    SimGauge& gauge = ConnectedGauge(1);
    view.onRowBegun = [&](int row) {
        if (row == TransferRow)
            sequence.StartFirmwareUpdate();
    };
    Run(Image("V2.05.1"));

    EXPECT_TRUE(State().resultSuccess);
    EXPECT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(gauge.AcceptedBlocks(), 8);
}
