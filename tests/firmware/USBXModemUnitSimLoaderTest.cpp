// The sender against the simulated gauge's loader, reached the way the
// firmware update reaches it: connect, query the address, switch the gauge
// to its loader at the transfer speed, then handshake and send.

#include "XModemFixture.h"

#include "gauge/SDIHandler.h"
#include "sim/SimBackend.h"
#include "ui/WideLanguageHandler.h"
#include "support/ConnectedSimGauge.h"

class XModemSimLoader : public XModemFixture {
protected:
    void SetUp() override {
        XModemFixture::SetUp();
        LanguageOffset = OffsetEnglish;
        Attach(sender);
    }
    void TearDown() override {
        LanguageOffset = OffsetGerman;
        XModemFixture::TearDown();
    }

    // Connects to a simulated gauge of model and puts it into its loader at baud.
    SimGauge& LoaderAt(int model, std::uint32_t baud) {
        D2XXDriver::InstallBackend(&backend);
        SimGauge& gauge = ConnectSimGauge(backend, handler, model);
        EXPECT_TRUE(handler.SetTransferRate(baud));
        return gauge;
    }

    // The image with a version text where firmware images keep it.
    static QByteArray VersionedImage(qint64 size) {
        QByteArray image = TestImage(size);
        image.replace(SimGauge::ImageVersionOffset, 8, QByteArray("V9.87.6\0", 8));
        return image;
    }

    static QByteArray Received(SimGauge& gauge) {
        return QByteArray(reinterpret_cast<const char*>(gauge.ReceivedImage().data()),
                          static_cast<qsizetype>(gauge.ReceivedImage().size()));
    }

    std::vector<std::string> TriesOf(int block, int tries, const std::string& received) {
        std::vector<std::string> lines;
        for (int t = 0; t < tries; ++t)
            lines.push_back("Received on Block " + std::to_string(block) + " try " +
                            std::to_string(t) + " InStr:" + received);
        return lines;
    }

    SimBackend backend;
    TSDIHandler handler;
    TUSBXModem sender;
    RecordingProgress progress;
};

TEST_F(XModemSimLoader, ShortLastBlockIsFilledWithFFAndProgressEndsAtItsMaximum) {
    SimGauge& gauge = LoaderAt(1, 115200);
    const QByteArray image = VersionedImage(130);

    ASSERT_TRUE(sender.OpenFirmwareFile(WriteImage(image)));
    ASSERT_TRUE(sender.SynchronizeReceiver());
    ASSERT_TRUE(sender.SendFirmwareFile(&progress));

    EXPECT_EQ(log, std::vector<std::string>{"XModem init: C"});
    EXPECT_EQ(Received(gauge), Padded(image));
    EXPECT_EQ(gauge.ReceivedImage()[130], 0xFF);
    EXPECT_EQ(gauge.BlockTries(), 2);
    EXPECT_EQ(progress.maximum, 2);
    EXPECT_EQ(progress.positions, (std::vector<std::int64_t>{0, 1, 2, 2}));
    EXPECT_EQ(progress.labels, (QStringList{"0 / 130", "128 / 130", "130 / 130"}));
    EXPECT_FALSE(sender.FileStream.isOpen());
    // The acknowledged end of transmission made the loader take the image.
    EXPECT_EQ(gauge.Gauge().firmwareVersion, "V9.87.6");
}

TEST_F(XModemSimLoader, WholeBlocksGoUnfilledAndTheMaximumIsReachedOnlyByTheEnd) {
    SimGauge& gauge = LoaderAt(2, 115200);
    const QByteArray image = VersionedImage(256);

    ASSERT_TRUE(sender.OpenFirmwareFile(WriteImage(image)));
    ASSERT_TRUE(sender.SynchronizeReceiver());
    ASSERT_TRUE(sender.SendFirmwareFile(&progress));

    EXPECT_EQ(Received(gauge), image);
    EXPECT_EQ(progress.maximum, 3);
    EXPECT_EQ(progress.positions, (std::vector<std::int64_t>{0, 1, 2, 3}));
    EXPECT_EQ(progress.labels.back(), "256 / 256");
    EXPECT_GE(progress.repaints, 3);
}

TEST_F(XModemSimLoader, ThreeHundredBlocksArriveInOrderAcrossTheNumberWrap) {
    SimGauge& gauge = LoaderAt(2, 115200);
    const QByteArray image = TestImage(300 * 128);

    ASSERT_TRUE(sender.OpenFirmwareFile(WriteImage(image)));
    ASSERT_TRUE(sender.SynchronizeReceiver());
    ASSERT_TRUE(sender.SendFirmwareFile(&progress));

    // The loader takes a block only under the next number (mod 256): block
    // 256 went out as 0 and block 257 as 1, each at the first try.
    EXPECT_EQ(gauge.AcceptedBlocks(), 300);
    EXPECT_EQ(gauge.BlockTries(), 300);
    EXPECT_EQ(Received(gauge), image);
    EXPECT_EQ(sender.BlockNumber, 301 & 0xFF);
    EXPECT_EQ(progress.position, 301);
    // 300 blocks of 133 bytes at 115200 baud take at least 3.46 s of line time.
    EXPECT_GT(clock.Peek(), 300 * 133 * 10 * 1000.0 / 115200);
}

TEST_F(XModemSimLoader, EmptyImageSendsOnlyTheEndOfTransmission) {
    SimGauge& gauge = LoaderAt(1, 115200);

    ASSERT_TRUE(sender.OpenFirmwareFile(WriteImage(QByteArray())));
    ASSERT_TRUE(sender.SynchronizeReceiver());
    EXPECT_TRUE(sender.SendFirmwareFile(&progress));

    EXPECT_EQ(gauge.BlockTries(), 0);
    EXPECT_TRUE(gauge.ReceivedImage().empty());
    EXPECT_EQ(progress.maximum, 1);
    EXPECT_EQ(progress.position, 1);
    EXPECT_EQ(progress.labels, QStringList{"0 / 0"});
}

TEST_F(XModemSimLoader, NakedTriesAreRepeatedAndLoggedWithTheNak) {
    SimGauge& gauge = LoaderAt(1, 115200);
    gauge.Faults().nakBlocks = 3;
    const QByteArray image = VersionedImage(256);

    ASSERT_TRUE(sender.OpenFirmwareFile(WriteImage(image)));
    ASSERT_TRUE(sender.SynchronizeReceiver());
    log.clear();
    ASSERT_TRUE(sender.SendFirmwareFile(&progress));

    std::vector<std::string> expected = TriesOf(1, 3, "\x15");
    const std::vector<std::string> second = TriesOf(2, 3, "\x15");
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(log, expected);
    EXPECT_EQ(gauge.AcceptedBlocks(), 2);
    EXPECT_EQ(progress.position, 3);
}

TEST_F(XModemSimLoader, LostAndDamagedAcknowledgementsCostAWaitEachAndARepeat) {
    SimGauge& gauge = LoaderAt(1, 115200);
    gauge.Faults().lostAcks = 1;
    gauge.Faults().corruptAcks = 1;
    const QByteArray image = VersionedImage(128);

    ASSERT_TRUE(sender.OpenFirmwareFile(WriteImage(image)));
    ASSERT_TRUE(sender.SynchronizeReceiver());
    log.clear();
    const double start = clock.Peek();
    ASSERT_TRUE(sender.SendFirmwareFile(&progress));

    EXPECT_EQ(log, TriesOf(1, 2, ""));
    EXPECT_GE(clock.Peek() - start, 2 * 8000.0);
    EXPECT_EQ(gauge.AcceptedBlocks(), 1);
}

TEST_F(XModemSimLoader, BlockRefusedFourTimesEndsTheTransferWithoutEndOfTransmission) {
    SimGauge& gauge = LoaderAt(1, 115200);
    gauge.Faults().nakBlocks = 4;
    const std::string versionBefore = gauge.Gauge().firmwareVersion;
    const QByteArray image = VersionedImage(3 * 128);

    ASSERT_TRUE(sender.OpenFirmwareFile(WriteImage(image)));
    ASSERT_TRUE(sender.SynchronizeReceiver());
    log.clear();
    EXPECT_FALSE(sender.SendFirmwareFile(&progress));

    EXPECT_EQ(log, TriesOf(1, 4, "\x15"));
    EXPECT_EQ(gauge.BlockTries(), 4);
    EXPECT_EQ(gauge.AcceptedBlocks(), 0);
    EXPECT_EQ(progress.labels.back(), "Error uploading file");
    EXPECT_FALSE(sender.FileStream.isOpen());
    // No end of transmission: the loader did not take an image.
    EXPECT_EQ(gauge.Gauge().firmwareVersion, versionBefore);
}

TEST_F(XModemSimLoader, NakOnTheEndOfTransmissionReportsFailureAfterAllBlocks) {
    SimGauge& gauge = LoaderAt(2, 115200);
    gauge.Faults().nakEndOfTransmission = true;
    const QByteArray image = VersionedImage(3 * 128);

    ASSERT_TRUE(sender.OpenFirmwareFile(WriteImage(image)));
    ASSERT_TRUE(sender.SynchronizeReceiver());
    EXPECT_FALSE(sender.SendFirmwareFile(&progress));

    EXPECT_EQ(gauge.AcceptedBlocks(), 3);
    EXPECT_EQ(progress.position, 3); // not the maximum of 4
}

TEST_F(XModemSimLoader, LoaderAtTheOtherSpeedIsFoundAfterTheSwitchAndTakesTheImage) {
    // The loader listens at 4800 while the adapter was left at 115200.
    SimGauge& gauge = LoaderAt(0, 4800);
    SDI12IO::ReopenPort(115200, 0, 0, 8);
    const QByteArray image = VersionedImage(200);

    ASSERT_TRUE(sender.SynchronizeReceiver());
    ASSERT_GE(log.size(), 13u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(log[i], "XModem init: ");
    EXPECT_EQ(log[10], "switching baud rate... 4800");
    EXPECT_EQ(log[11], "switching baud rate...4800 (39)");
    EXPECT_EQ(log.back(), "XModem init: C");
    EXPECT_EQ(D2XXDriver::CurrentBaudRate, 4800u);

    ASSERT_TRUE(sender.OpenFirmwareFile(WriteImage(image)));
    ASSERT_TRUE(sender.SendFirmwareFile(&progress));
    EXPECT_EQ(gauge.AcceptedBlocks(), 2);
}
