// settings.ini and the stored language.

#include "AppFixture.h"
#include "config/IniDocument.h"
#include "support/FolderSettingsGuard.h"

#include <QFile>

namespace {

QString Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Every test here may change the folder settings; they are restored after it.
class Settings : public ::testing::Test {
    FolderSettingsGuard folders_;
};

} // namespace

TEST_F(Settings, MissingFileGivesTheProgramFolderForAllThree) {
    QTemporaryDir folder;
    ReadFolderSettings(folder.filePath(QStringLiteral("settings.ini")), QStringLiteral("/opt/t2/"));
    EXPECT_EQ(FirmwarePath, QStringLiteral("/opt/t2/"));
    EXPECT_EQ(ValuePath, QStringLiteral("/opt/t2/"));
    EXPECT_EQ(ParamPath, QStringLiteral("/opt/t2/"));
}

TEST_F(Settings, ReadsWindowsStyleFileAndWritesItBackWhole) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.ini"));
    // As the program on Windows leaves it: CR LF, another section, keys in
    // another case, a key missing.
    Write(path, "[OTHER]\r\nKEEP=me\r\n\r\n[general]\r\nfirmwarepath=C:\\Firmware\\\r\n"
                "VALUEPATH = D:\\Values\\ \r\n");
    ReadFolderSettings(path, QStringLiteral("/prog/"));
    EXPECT_EQ(FirmwarePath, QStringLiteral("C:\\Firmware\\"));
    EXPECT_EQ(ValuePath, QStringLiteral("D:\\Values\\"));
    EXPECT_EQ(ParamPath, QStringLiteral("/prog/"));

    ParamPath = QStringLiteral("/home/tech/configs/");
    ValuePath = QStringLiteral("/home/tech/exports with blanks/");
    ASSERT_TRUE(WriteFolderSettings(path));
    const QString text = Read(path);
    EXPECT_TRUE(text.contains(QLatin1String("[OTHER]\r\nKEEP=me\r\n"))) << text.toStdString();
    // An existing key keeps its spelling and its place.
    EXPECT_TRUE(text.contains(QLatin1String("[general]\r\nfirmwarepath=C:\\Firmware\\\r\n")));
    EXPECT_TRUE(text.contains(QLatin1String("VALUEPATH=/home/tech/exports with blanks/\r\n")));
    EXPECT_TRUE(text.contains(QLatin1String("PARAMPATH=/home/tech/configs/\r\n")));
    EXPECT_EQ(text.count(QLatin1String("VALUEPATH")), 1);

    // Read back unchanged.
    FirmwarePath = ValuePath = ParamPath = QString();
    ReadFolderSettings(path, QStringLiteral("/prog/"));
    EXPECT_EQ(ValuePath, QStringLiteral("/home/tech/exports with blanks/"));
    EXPECT_EQ(ParamPath, QStringLiteral("/home/tech/configs/"));
}

TEST_F(Settings, EightBitFileOfAnOlderToolKeepsItsUmlautsAndUtf8IsReadAsSuch) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.ini"));
    // "J\xFCrgen" and the euro sign 0x80 in Windows-1252, as older tools wrote them.
    Write(path, "[GENERAL]\r\nFIRMWAREPATH=C:\\Users\\J\xFCrgen\\\r\nVALUEPATH=D:\\\x80\\\r\n");
    ReadFolderSettings(path, QStringLiteral("/prog/"));
    EXPECT_EQ(FirmwarePath, QString::fromUtf8("C:\\Users\\J\u00fcrgen\\"));
    EXPECT_EQ(ValuePath, QString::fromUtf8("D:\\\u20ac\\"));

    // Written back, the file stays in its code page, as the older tools expect.
    ParamPath = QString::fromUtf8("/home/j\u00fcrgen/");
    ASSERT_TRUE(WriteFolderSettings(path));
    EXPECT_TRUE(ReadBytes(path).contains("PARAMPATH=/home/j\xFCrgen/\r\n"));
    FirmwarePath = ValuePath = ParamPath = QString();
    ReadFolderSettings(path, QStringLiteral("/prog/"));
    EXPECT_EQ(FirmwarePath, QString::fromUtf8("C:\\Users\\J\u00fcrgen\\"));
    EXPECT_EQ(ParamPath, QString::fromUtf8("/home/j\u00fcrgen/"));

    // A folder the code page cannot hold turns the file into UTF-8, text intact.
    ParamPath = QString::fromUtf8("/home/\u674e/");
    ASSERT_TRUE(WriteFolderSettings(path));
    EXPECT_TRUE(ReadBytes(path).contains("FIRMWAREPATH=C:\\Users\\J\xC3\xBCrgen\\\r\n"));
    FirmwarePath = ValuePath = ParamPath = QString();
    ReadFolderSettings(path, QStringLiteral("/prog/"));
    EXPECT_EQ(FirmwarePath, QString::fromUtf8("C:\\Users\\J\u00fcrgen\\"));
    EXPECT_EQ(ValuePath, QString::fromUtf8("D:\\\u20ac\\"));
    EXPECT_EQ(ParamPath, QString::fromUtf8("/home/\u674e/"));

    // A UTF-8 file, with the byte order mark an editor may add, is read as UTF-8.
    Write(path, "\xEF\xBB\xBF[GENERAL]\r\nFIRMWAREPATH=/home/j\xC3\xBCrgen/\r\n");
    ReadFolderSettings(path, QStringLiteral("/prog/"));
    EXPECT_EQ(FirmwarePath, QString::fromUtf8("/home/j\u00fcrgen/"));
}

TEST_F(Settings, FileEndingInACutOffUtf8SequenceIsEightBitText) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.ini"));
    // Found by the fuzzer: UTF-8 up to the last byte, which begins a
    // sequence that never ends. Read as UTF-8, writing a line after it would
    // turn the file into 8-bit text and change what the folder reads.
    Write(path, "[GENERAL]\r\nFIRMWAREPATH=C:\\fw\xC3\xA4\r\nX=\xEF");
    ReadFolderSettings(path, QStringLiteral("/prog/"));
    const QString read = FirmwarePath;
    EXPECT_EQ(read, QString::fromUtf8("C:\\fw\u00c3\u00a4")) << "the Windows code page";
    ASSERT_TRUE(WriteFolderSettings(path));
    FirmwarePath = QString();
    ReadFolderSettings(path, QStringLiteral("/prog/"));
    EXPECT_EQ(FirmwarePath, read) << "the same after writing";
}

TEST_F(Settings, AFolderBeginningWithAByteOrderMarkSurvivesEverySave) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.ini"));
    // Found by the fuzzer: each read dropped one U+FEFF from the value's start.
    Write(path, "[GENERAL]\r\nFIRMWAREPATH=\xEF\xBB\xBF\xEF\xBB\xBF/fw\r\n");
    const QString twoMarks = QString(2, QChar(0xFEFF)) + QStringLiteral("/fw");
    ReadFolderSettings(path, QStringLiteral("/prog/"));
    EXPECT_EQ(FirmwarePath, twoMarks);
    ASSERT_TRUE(WriteFolderSettings(path));
    FirmwarePath = QString();
    ReadFolderSettings(path, QStringLiteral("/prog/"));
    EXPECT_EQ(FirmwarePath, twoMarks) << "the same after writing";
}

TEST_F(Settings, ValueWithLineBreakCannotInjectKeys) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.ini"));
    FirmwarePath = QStringLiteral("/fw/");
    ValuePath = QStringLiteral("/values/");
    ParamPath = QStringLiteral("/a\nFIRMWAREPATH=/evil");
    ASSERT_TRUE(WriteFolderSettings(path));
    FirmwarePath = ValuePath = ParamPath = QString();
    ReadFolderSettings(path, QStringLiteral("/prog/"));
    EXPECT_EQ(FirmwarePath, QStringLiteral("/fw/"));
    const IniDocument back = IniDocument::Load(path).value();
    EXPECT_EQ(back.Lines().size(), 4);
}

TEST_F(Settings, BesideTheProgramWhenWritableElsePerUser) {
    QTemporaryDir program;
    QTemporaryDir user;
    // A program folder that is gone cannot be written either.
    const SettingsLocation gone =
        LocateSettings(QDir(program.path()).filePath(QStringLiteral("gone")), user.path());
    EXPECT_EQ(gone.writePath, QDir(user.path()).filePath(QStringLiteral("settings.ini")));

    const SettingsLocation writable = LocateSettings(program.path(), user.path());
    EXPECT_EQ(writable.writePath, QDir(program.path()).filePath(QStringLiteral("settings.ini")));
    EXPECT_EQ(writable.readPath, writable.writePath);

    // An installed program: its folder cannot be written.
    QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (FolderWritable(program.path()))
        GTEST_SKIP() << "folders stay writable for this user (running as root)";
    const QString perUser = QDir(user.path()).filePath(QStringLiteral("settings.ini"));
    const SettingsLocation installed = LocateSettings(program.path(), user.path());
    EXPECT_EQ(installed.writePath, perUser);
    EXPECT_EQ(installed.readPath, perUser);
    QFile::setPermissions(program.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(Settings, PerUserFileIsWrittenWhereTheFolderDoesNotExistYet) {
    QTemporaryDir user;
    const QString path = QDir(user.path()).filePath(QStringLiteral("Axo-Gauges/T2/settings.ini"));
    FirmwarePath = QStringLiteral("/fw/");
    ASSERT_TRUE(WriteFolderSettings(path));
    EXPECT_TRUE(Read(path).contains(QLatin1String("[GENERAL]\r\nFIRMWAREPATH=/fw/\r\n")));
}

TEST_F(Settings, LanguageStoreKeepsTheOffsetAndRejectsWhatIsNoNumber) {
    TestLanguageStore scope;
    const LanguageStore& store = scope.Store();
    EXPECT_FALSE(store.Read().has_value());
    ASSERT_TRUE(store.Write(30000));
    EXPECT_EQ(store.Read(), std::optional<int>(30000));
    // Any other stored number is returned as it is.
    ASSERT_TRUE(store.Write(12345));
    EXPECT_EQ(store.Read(), std::optional<int>(12345));
    scope.WriteRaw(QStringLiteral("English"));
    EXPECT_FALSE(store.Read().has_value());
    store.Clear();
    EXPECT_FALSE(store.Read().has_value());
}
