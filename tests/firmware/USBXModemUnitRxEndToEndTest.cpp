// End to end: the sender, through the serial backend, on one side of a
// pseudo-terminal pair; lrzsz rx, an independent XModem-CRC receiver, on the
// other. Real time (the installed real clock), every wait bounded.
//
// rx reaches the terminal through socat, not directly: rx discards its
// terminal's input right after writing each acknowledgement, and flushes
// both directions when it exits. On a real serial line that is harmless
// (the next block is still on the wire), but a pseudo-terminal delivers the
// sender's next block within microseconds, so rx would throw it away (and
// its own last acknowledgement with it) now and then. On socat's socket
// those flushes do nothing; the bytes themselves pass unchanged.

#if defined(__unix__)

#include "XModemFixture.h"

#include "link/SerialBackend.h"
#include "support/LinkStateGuard.h"
#include "support/Pty.h"

#include <QDir>
#include <QStandardPaths>
#include <QTimer>

class XModemAgainstRx : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("rx").isEmpty() ||
            QStandardPaths::findExecutable("socat").isEmpty())
            GTEST_SKIP() << "lrzsz rx or socat is not installed";
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(pty.IsOpen());
        UpdateCancelled = false;
        backend.SetListSystemPorts(false);
        const std::string serial = backend.AddPath(pty.SlavePath());
        ASSERT_NE(SDI12IO::OpenSdiPort(serial, 7, 2, 0), -1);
        SDI12IO::ReopenPort(115200, 0, 0, 8);
        sender.OnLog = [this](const std::string& line) { log.push_back(line); };
    }
    void TearDown() override {
        pty.StopProgram();
    }

    // Sends image to "rx -c" and returns the file rx wrote (null when none).
    QByteArray Transfer(const QByteArray& image, bool& sent, int& rxExit) {
        const QString imagePath = dir.filePath("image.bin");
        {
            QFile file(imagePath);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(image);
        }
        EXPECT_TRUE(sender.OpenFirmwareFile(imagePath));
        // rx starts at the first message processing, right after the
        // handshake's purge: a loader that starts while the program waits.
        QTimer::singleShot(0, [this] {
            // rx takes only a name inside its working folder.
            const QString previous = QDir::currentPath();
            QDir::setCurrent(dir.path());
            EXPECT_TRUE(pty.StartOnMaster(
                {"socat", "STDIO", "SYSTEM:rx -q -c received.bin; echo $? >rx.exit"}));
            QDir::setCurrent(previous);
        });
        sent = sender.SynchronizeReceiver() && sender.SendFirmwareFile(&progress);
        int relayExit = -1;
        if (!pty.WaitForProgram(15000, relayExit))
            ADD_FAILURE() << "rx did not finish";
        QFile exitFile(dir.filePath("rx.exit"));
        rxExit = exitFile.open(QIODevice::ReadOnly) ? exitFile.readAll().trimmed().toInt() : -1;
        QFile received(dir.filePath("received.bin"));
        if (!received.open(QIODevice::ReadOnly))
            return QByteArray();
        return received.readAll();
    }

    QTemporaryDir dir;
    PtyPair pty;
    SerialBackend backend;
    LinkStateGuard link{&backend};
    TUSBXModem sender;
    RecordingProgress progress;
    std::vector<std::string> log;
};

TEST_F(XModemAgainstRx, ImagesArriveWhole) {
    for (const qint64 size : {qint64(130), qint64(256), qint64(300 * 128)}) {
        SCOPED_TRACE(size);
        const QByteArray image = TestImage(size);
        bool sent = false;
        int rxExit = -1;
        const QByteArray received = Transfer(image, sent, rxExit);
        EXPECT_TRUE(sent);
        EXPECT_EQ(rxExit, 0);
        EXPECT_EQ(received.size(), Padded(image).size());
        EXPECT_TRUE(received == Padded(image));
        EXPECT_EQ(progress.position, progress.maximum);
        // Handshake at once, and no block needed a second try.
        EXPECT_EQ(log, std::vector<std::string>{"XModem init: C"});
        log.clear();
        QFile::remove(dir.filePath("received.bin"));
        QFile::remove(dir.filePath("rx.exit"));
    }
}

TEST_F(XModemAgainstRx, EmptyImageLeavesAnEmptyFile) {
    bool sent = false;
    int rxExit = -1;
    const QByteArray received = Transfer(QByteArray(), sent, rxExit);
    // rx acknowledges the lone end of transmission and keeps an empty file.
    EXPECT_TRUE(sent);
    EXPECT_EQ(rxExit, 0);
    EXPECT_TRUE(QFile::exists(dir.filePath("received.bin")));
    EXPECT_TRUE(received.isEmpty());
    EXPECT_EQ(progress.maximum, 1);
    EXPECT_EQ(progress.position, 1);
}

#endif
