// The precision test's log file: its name, its ten lines byte for byte (8-bit
// text, CR LF), and where it goes when the program's folder cannot be
// written.

#include "precision/PrecisionTestLog.h"
#include "precision/SampleTestRecord.h"
#include "support/DefaultLocaleScope.h"
#include "support/LanguageScope.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Precision;

namespace {

const QDateTime When(QDate(2013, 5, 14), QTime(10, 22, 5));

PrecisionTestRecord Record() {
    return SampleTestRecord(QStringLiteral("Yes"));
}

QByteArray Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// A folder that cannot be created, whoever runs the test: it would lie
// inside a plain file.
QString UnwritableFolder(const QTemporaryDir& dir) {
    const QString blocker = dir.filePath(QStringLiteral("plain-file"));
    QFile file(blocker);
    if (file.open(QIODevice::WriteOnly))
        file.write("x");
    return blocker + QStringLiteral("/program");
}

} // namespace

TEST(PrecisionTestLog, FileNameCarriesDateAndTime) {
    EXPECT_EQ(TestLogFileName(When), "PrecisionTest_2013_05_14_10_22_05.log");
}

TEST(PrecisionTestLog, TenLinesInEnglish) {
    LanguageScope english(OffsetEnglish);
    DefaultLocaleScope c(QLocale::c());
    const QByteArray expected =
        "Date: : 2013-05-14 10:22:05\r\n"
        "Serial number / HW Index:: 123456/7\r\n"
        "Firmware version:: V1.31.0\r\n"
        "Intensity units:: mm/h\r\n"
        "Measured total weight: : 3500.40 gram (87.51 mm;3.445 inch)\r\n"
        "Information of applied weight: : 1000.00 gram (25.00 mm;0.984 inch)\r\n"
        "Measured test weight:: 1000.40 gram (25.01 mm;0.985 inch)\r\n"
        "Permitted deviation: : +-2.00 gram (+-0.05 mm;+-0.002 inch)\r\n"
        "Deviation: : 0.40 gram (0.01 mm;0.000 inch)\r\n"
        "Test passed: : Yes\r\n";
    EXPECT_EQ(TestLogBytes(Record(), When), expected);
}

TEST(PrecisionTestLog, GermanLinesInWesternCodePage) {
    LanguageScope german(OffsetGerman);
    DefaultLocaleScope locale(QLocale(QLocale::German, QLocale::Germany));
    PrecisionTestRecord record = Record();
    record.verdict = QStringLiteral("Nein");
    const QByteArray log = TestLogBytes(record, When);
    const QList<QByteArray> lines = log.split('\n');
    ASSERT_EQ(lines.size(), 11); // ten lines, each ended by CR LF
    EXPECT_EQ(lines[0], "Datum: : 2013-05-14 10:22:05\r");
    // "ä" and "ü" as single bytes of code page 1252.
    EXPECT_EQ(lines[3], "Intensit\xE4tseinheit:: mm/h\r");
    EXPECT_EQ(lines[6], "Gemessenes Pr\xFC"
                        "fgewicht:: 1000,40 Gramm (25,01 mm;0,985 inch)\r");
    EXPECT_EQ(lines[7], "Zul\xE4ssige Abweichung: : +-2,00 Gramm (+-0,05 mm;+-0,002 inch)\r");
    EXPECT_EQ(lines[9], "Pr\xFC"
                        "fung bestanden: : Nein\r");
    EXPECT_TRUE(lines[10].isEmpty());
}

TEST(PrecisionTestLog, WrittenBesideTheProgramReplacingAnEarlierOne) {
    LanguageScope english(OffsetEnglish);
    QTemporaryDir program, user;
    const LogFolders folders{program.path(), user.path()};
    const QString expectedPath =
        QDir::toNativeSeparators(program.filePath("PrecisionTest_2013_05_14_10_22_05.log"));

    PrecisionTestRecord first = Record();
    first.verdict = QStringLiteral("No");
    ASSERT_EQ(WriteTestLog(first, When, folders).path, expectedPath);
    // A second evaluation in the same second replaces the first.
    const LogWriteResult second = WriteTestLog(Record(), When, folders);
    EXPECT_EQ(second.path, expectedPath);
    EXPECT_TRUE(second.failed.isEmpty());
    EXPECT_TRUE(Read(expectedPath).endsWith("Test passed: : Yes\r\n"));
    EXPECT_TRUE(QDir(user.path()).isEmpty());
}

TEST(PrecisionTestLog, PerUserFolderWhenTheProgramFolderCannotBeWritten) {
    LanguageScope english(OffsetEnglish);
    QTemporaryDir dir, user;
    const QString program = UnwritableFolder(dir);
    const QString perUser = user.filePath(QStringLiteral("not/yet/there"));
    const LogWriteResult result = WriteTestLog(Record(), When, {program, perUser});
    const QString expected =
        QDir::toNativeSeparators(QDir(perUser).filePath("PrecisionTest_2013_05_14_10_22_05.log"));
    EXPECT_EQ(result.path, expected);
    EXPECT_EQ(Read(expected), TestLogBytes(Record(), When));
    ASSERT_EQ(result.failed.size(), 1);
    EXPECT_TRUE(result.failed[0].startsWith(QDir::toNativeSeparators(program)));
}

TEST(PrecisionTestLog, NowhereToWrite) {
    QTemporaryDir dir;
    const QString blocked = UnwritableFolder(dir);
    const LogWriteResult result = WriteTestLog(Record(), When, {blocked, blocked + "2"});
    EXPECT_FALSE(result.Written());
    EXPECT_TRUE(result.path.isEmpty());
    EXPECT_EQ(result.failed.size(), 2);
}
