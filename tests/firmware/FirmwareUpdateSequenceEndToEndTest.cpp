// End to end: the whole firmware update through Qt Serial Port and a
// pseudo-terminal into tessra2-sim, on the real clock. A pseudo-terminal
// has no receive latency to lower: the request must leave it working.

#include "FirmwareUpdateFixture.h"

#include "link/D2XXDriver.h"
#include "link/SerialBackend.h"
#include "support/SimProcess.h"

#include <QDir>

using namespace Firmware;

TEST(FirmwareUpdateEndToEnd, UpdatesATessra2SOverAPseudoTerminal) {
    if (!SimProcess::Available())
        GTEST_SKIP() << "TESSRA_SIM does not name tessra2-sim";
    SimProcess sim({"--model", "2", "--no-pace", "--latency", "1"});
    ASSERT_TRUE(sim.Start()) << sim.Error().toStdString();
    SerialBackend backend;
    backend.SetListSystemPorts(false);
    backend.AddPath(sim.PtyPath());
    LinkStateGuard link{&backend};
    LanguageScope english{OffsetEnglish};
    FolderSettingsGuard folders;
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    const QString image = dir.filePath("S.bin");
    {
        QFile file(image);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ImageBytes("TESSRA2 S", "V3.00.2", 4000));
    }
    TSDIHandler handler;
    ASSERT_TRUE(handler.Connect());
    ASSERT_EQ(handler.QueryAddress(), "0");
    RecordingView view;
    FirmwareUpdateSequence sequence(handler, view);
    sequence.SetBackupFolder(dir.filePath("backups"));
    dialogs.QueueMessageAnswer(MsgResult::Yes);
    dialogs.QueueFileAnswer(image);

    sequence.ShowArea(2);
    sequence.StartFirmwareUpdate();

    const UpdateState& state = sequence.State();
    EXPECT_TRUE(state.resultSuccess) << state.resultText.toStdString() << "\n"
                                     << sim.Log().right(3000).toStdString();
    EXPECT_EQ(state.rows[VerificationRow].mark, Mark::Success);
    EXPECT_EQ(QDir(dir.filePath("backups")).entryList(QDir::Files).size(), 1);
    EXPECT_FALSE(D2XXDriver::LowLatencyRequested);
    EXPECT_EQ(handler.GetFirmwareVersion(), "V3.00.2");
}
