// Sending an image where the receiver has to play a part the simulated
// loader cannot: answers chosen per try, a cancel at a given block, and the
// failures on the program's own side (no file, unreadable file).

#include "XModemFixture.h"

class XModemTransfer : public XModemFixture {
protected:
    void SetUp() override {
        XModemFixture::SetUp();
        OpenAt(backend, "AX-XMODEM", 115200);
        Attach(sender);
    }

    // Opens an image of size bytes and sends it.
    bool Send(qint64 size) {
        image = TestImage(size);
        EXPECT_TRUE(sender.OpenFirmwareFile(WriteImage(image)));
        EXPECT_EQ(sender.FileSize, size);
        return sender.SendFirmwareFile(&progress);
    }

    ReceiverLine line;
    ReceiverBackend backend{line};
    TUSBXModem sender;
    RecordingProgress progress;
    QByteArray image;
};

TEST_F(XModemTransfer, SilentAndCancellingReceiverIsRetriedLikeANak) {
    line.answerOfTry = {{0, ""}, {1, "\x18"}};
    ASSERT_TRUE(Send(128));

    EXPECT_EQ(line.packetNumbers, (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(log, (std::vector<std::string>{"Received on Block 1 try 0 InStr:",
                                             "Received on Block 1 try 1 InStr:\x18"}));
    // The silent try waited the full 8 s for its acknowledgement.
    EXPECT_GE(clock.Peek(), 8000.0);
}

TEST_F(XModemTransfer, CancelBetweenBlocksStopsWithoutEndOfTransmission) {
    line.onAccepted = [](int accepted) {
        if (accepted == 2)
            UpdateCancelled = true;
    };
    EXPECT_FALSE(Send(5 * 128));

    EXPECT_EQ(line.packetNumbers, (std::vector<int>{1, 2}));
    EXPECT_EQ(line.endOfTransmissions, 0);
    EXPECT_FALSE(sender.FileStream.isOpen());
}

TEST_F(XModemTransfer, CancelAfterAnUnacknowledgedTryStopsTheRetries) {
    line.nakTries = 4;
    // The cancel button is pressed while the first try waits for its answer.
    clock.SetMessageHook([](void*) { UpdateCancelled = true; }, nullptr);
    EXPECT_FALSE(Send(2 * 128));

    EXPECT_EQ(line.packetNumbers, (std::vector<int>{1}));
    EXPECT_EQ(log, std::vector<std::string>{"Received on Block 1 try 0 InStr:\x15"});
    EXPECT_EQ(line.endOfTransmissions, 0);
}

TEST_F(XModemTransfer, WithoutAnOpenFileNothingIsSent) {
    EXPECT_FALSE(sender.SendFirmwareFile(&progress));
    EXPECT_TRUE(line.writes.empty());
}

TEST_F(XModemTransfer, UnopenableFileShowsTheErrorDialogAndSendsNothing) {
    EXPECT_FALSE(sender.OpenFirmwareFile(dir.filePath("missing.bin")));
    EXPECT_FALSE(sender.OpenFirmwareFile(dir.path())); // a folder
    ASSERT_EQ(dialogs.Messages().size(), 2);
    for (const ScriptedDialogs::MessageRecord& message : dialogs.Messages()) {
        EXPECT_EQ(message.text, "ERROR: Could not open file / create stream");
        EXPECT_EQ(message.kind, MsgKind::Error);
        EXPECT_EQ(message.buttons, MsgButtons::Ok);
    }
    EXPECT_FALSE(sender.FileStream.isOpen());
    EXPECT_FALSE(sender.SendFirmwareFile(&progress));
    EXPECT_TRUE(line.writes.empty());
}

#ifdef __linux__
TEST_F(XModemTransfer, ReadErrorFailsTheTransferInsteadOfEndingItEarly) {
    // Reading the start of a process's memory file fails with an I/O error.
    ASSERT_TRUE(sender.OpenFirmwareFile("/proc/self/mem"));
    EXPECT_FALSE(sender.SendFirmwareFile(&progress));
    EXPECT_EQ(line.endOfTransmissions, 0);
    EXPECT_EQ(progress.labels.back(), "Error uploading file");
    EXPECT_FALSE(sender.FileStream.isOpen());
}
#endif
