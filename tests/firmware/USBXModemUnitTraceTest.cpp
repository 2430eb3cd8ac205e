// The trace of an XModem transfer: one line per block outcome, and the end
// of transmission.

#include "XModemFixture.h"
#include "link/TrafficTrace.h"

#include <QFile>
#include <QRegularExpression>

namespace {

QStringList Texts(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList texts;
    static const QRegularExpression stamp(QStringLiteral("^\\+\\d+\\.\\d{6}  "));
    for (const QString& line : QString::fromLatin1(file.readAll()).split(u'\n', Qt::SkipEmptyParts))
        texts.append(QString(line).remove(stamp));
    return texts;
}

} // namespace

class XModemTrace : public XModemFixture {
protected:
    void SetUp() override {
        XModemFixture::SetUp();
        OpenAt(backend, "AX-XMODEM", 115200);
    }
    void TearDown() override {
        InstallTrace(nullptr);
        XModemFixture::TearDown();
    }
    ReceiverLine line;
    ReceiverBackend backend{line};
    TUSBXModem sender;
};

TEST_F(XModemTrace, ANakedBlockIsTriedAgainAndEachOutcomeIsALine) {
    const QString path = dir.filePath("trace.txt");
    {
        FileTrace trace(path.toStdString(), "", clock.Peek(), nullptr);
        InstallTrace(&trace);
        line.answerOfTry = {{0, "\x15"}}; // the first try of all is refused
        ASSERT_TRUE(sender.OpenFirmwareFile(WriteImage(TestImage(2 * 128))));
        ASSERT_TRUE(sender.SendFirmwareFile(nullptr));
        InstallTrace(nullptr);
    }
    EXPECT_EQ(Texts(path), (QStringList{"XModem  block 1  try 1  NAK",
                                        "XModem  block 1  try 2  ACK",
                                        "XModem  block 2  try 1  ACK",
                                        "note    XModem  end of transmission  ACK"}));
}

TEST_F(XModemTrace, ASilentReceiverIsATimeout) {
    const QString path = dir.filePath("trace.txt");
    {
        FileTrace trace(path.toStdString(), "", clock.Peek(), nullptr);
        InstallTrace(&trace);
        line.answerOfTry = {{0, ""}, {1, "\x18"}};
        ASSERT_TRUE(sender.OpenFirmwareFile(WriteImage(TestImage(128))));
        ASSERT_TRUE(sender.SendFirmwareFile(nullptr));
        InstallTrace(nullptr);
    }
    const QStringList texts = Texts(path);
    ASSERT_GE(texts.size(), 3);
    EXPECT_EQ(texts[0], "XModem  block 1  try 1  timeout");
    EXPECT_EQ(texts[1], "XModem  block 1  try 2  CAN (receiver cancelled)");
    EXPECT_EQ(texts[2], "XModem  block 1  try 3  ACK");
}
