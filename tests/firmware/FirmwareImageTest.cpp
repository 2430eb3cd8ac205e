// The image header, the shown file name and the size limit.

#include "firmware/FirmwareImage.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Firmware;

class ImageFiles : public ::testing::Test {
protected:
    QString Write(const QByteArray& bytes) {
        const QString path = dir.filePath(QStringLiteral("image%1.bin").arg(++count));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static QByteArray Header(const QByteArray& identification, const QByteArray& version) {
        QByteArray header(48, '\0');
        header.replace(0, identification.size(), identification);
        header.replace(16, version.size(), version);
        return header;
    }
    QTemporaryDir dir;
    int count = 0;
};

TEST_F(ImageFiles, VersionIsReadOnlyBehindTheCheckedIdentification) {
    EXPECT_EQ(ReadFileVersion(Write(Header("TESSRA2 S", "V2.05.1") + QByteArray(500, 'x'))),
              "V2.05.1");
    // Up to the first zero byte of each field; what follows it does not count.
    EXPECT_EQ(ReadFileVersion(Write(Header(QByteArray("TESSRA2 S\0junk", 14), "V3.0"))), "V3.0");
    // A version filling its 16 bytes has no zero byte to end it.
    EXPECT_EQ(ReadFileVersion(Write(Header("TESSRA2 S", "V1.234567890ABCD"))), "V1.234567890ABCD");
    EXPECT_EQ(ReadFileVersion(Write(Header("TESSRA2 L", "V2.05.1"))), "");
    EXPECT_EQ(ReadFileVersion(Write(Header("TESSRA2 S ", "V2.05.1"))), "") << "exactly, no blank";
    EXPECT_EQ(ReadFileVersion(Write(Header("tessra2 s", "V2.05.1"))), "");
}

TEST_F(ImageFiles, MissingEmptyAndShortFilesGiveWhatTheyHave) {
    EXPECT_EQ(ReadFileVersion(dir.filePath("none.bin")), "");
    EXPECT_EQ(ReadFileVersion(QString()), "");
    EXPECT_EQ(ReadFileVersion(Write(QByteArray())), "");
    EXPECT_EQ(ReadFileVersion(Write("TESSRA2 S")), "");
    EXPECT_EQ(ReadFileVersion(Write(QByteArray("TESSRA2 S\0\0\0\0\0\0\0V2", 18))), "V2");
    EXPECT_EQ(ReadFileVersion(dir.path()), "") << "a folder is no image";
}

TEST(ShownFileName, LongNamesShowTheirFirstFortyCharacters) {
    const QString name45 = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmno.bin");
    ASSERT_EQ(name45.size(), 45);
    EXPECT_EQ(ShownFileName("/firmware/" + name45), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn...");
    const QString name40 = QString(36, u'a') + ".bin";
    EXPECT_EQ(ShownFileName("C:/fw/" + name40), name40);
    EXPECT_EQ(ShownFileName("/fw/" + QString(41, u'b')), QString(40, u'b') + "...");
}

TEST(ImageSize, MoreThanSixteenMebibytesIsTooLarge) {
    EXPECT_FALSE(IsTooLarge(16777216));
    EXPECT_TRUE(IsTooLarge(16777217));
    EXPECT_FALSE(IsTooLarge(0));
}
