// Menu language files "zh-CHT.txt" and "zh-CHS.txt": encodings, line ends,
// the lookup rules, and files that are missing, unreadable or garbage.

#include "support/LanguageScope.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Encode(const QString& text, QStringConverter::Encoding encoding) {
    QStringEncoder encoder(encoding, QStringConverter::Flag::Stateless);
    return encoder(text);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Loads the menu language files of a scratch folder; forgets them afterwards.
class LanguageFilesTest : public ::testing::Test {
protected:
    void TearDown() override {
        QTemporaryDir empty;
        LoadLanguageFiles(empty.path());
    }
    QString Path(const char* name) const { return QDir(dir_.path()).filePath(QLatin1String(name)); }
    void Load() { LoadLanguageFiles(dir_.path()); }

    QTemporaryDir dir_;
};

} // namespace

TEST(DecodeLanguageFile, EveryEncodingAndLineEndStyle) {
    const QStringList lines = {QString::fromUtf8("2=Datei äöü €"), QStringLiteral("3=Ende"),
                               QString::fromUtf8("10=Связь")};
    const QString lineEnds[] = {QStringLiteral("\r\n"), QStringLiteral("\r"), QStringLiteral("\n"),
                                QString(QChar(0x2028))};
    for (const QString& lineEnd : lineEnds) {
        const QString text = lines.join(lineEnd) + lineEnd;
        const QByteArray utf16le = QByteArray("\xFF\xFE") + Encode(text, QStringConverter::Utf16LE);
        const QByteArray utf16be = QByteArray("\xFE\xFF") + Encode(text, QStringConverter::Utf16BE);
        const QByteArray utf8 = QByteArray("\xEF\xBB\xBF") + Encode(text, QStringConverter::Utf8);
        EXPECT_EQ(DecodeLanguageFile(utf16le), lines) << "UTF-16 LE, line end " << lineEnd.size();
        EXPECT_EQ(DecodeLanguageFile(utf16be), lines) << "UTF-16 BE, line end " << lineEnd.size();
        EXPECT_EQ(DecodeLanguageFile(utf8), lines) << "UTF-8, line end " << lineEnd.size();
    }
    // Without a byte-order mark: the 8-bit code page (Latin-1 where the
    // system's code page cannot decode the bytes, as on a UTF-8 system).
    for (const char* lineEnd : {"\r\n", "\r", "\n"}) {
        const QByteArray eightBit =
            QByteArray("2=Men\xFC Datei") + lineEnd + "3=Ende" + lineEnd + "4=caf\xE9";
        EXPECT_EQ(DecodeLanguageFile(eightBit),
                  QStringList(
                      {QString::fromUtf8("2=Menü Datei"), "3=Ende", QString::fromUtf8("4=café")}));
    }
    EXPECT_EQ(DecodeLanguageFile("2=plain ASCII\r\n\r\n3=x"),
              QStringList({"2=plain ASCII", "3=x"}));
}

TEST(DecodeLanguageFile, NulEndsTheTextAndLinesWithoutEqualsAreDropped) {
    EXPECT_EQ(DecodeLanguageFile(QByteArray("2=File\r\n3=Ex\0it\r\n4=Help", 22)),
              QStringList({"2=File", "3=Ex"}));
    const QString withNul = QStringLiteral("2=File\r\n") + QChar(0) + QStringLiteral("3=Exit");
    EXPECT_EQ(DecodeLanguageFile("\xFF\xFE" + Encode(withNul, QStringConverter::Utf16LE)),
              QStringList({"2=File"}));
    EXPECT_EQ(DecodeLanguageFile("\xFE\xFF" + Encode(withNul, QStringConverter::Utf16BE)),
              QStringList({"2=File"}));
    EXPECT_EQ(DecodeLanguageFile("heading\r\n2=File\r\n# note\r\n=\r\n \r\n5=a=b"),
              QStringList({"2=File", "=", "5=a=b"}));
}

TEST(DecodeLanguageFile, GarbageNeverCrashes) {
    EXPECT_TRUE(DecodeLanguageFile({}).isEmpty());
    EXPECT_TRUE(DecodeLanguageFile("\xFF\xFE").isEmpty());
    EXPECT_TRUE(DecodeLanguageFile("\xFE\xFF").isEmpty());
    EXPECT_TRUE(DecodeLanguageFile("\xEF\xBB\xBF").isEmpty());
    EXPECT_TRUE(DecodeLanguageFile(QByteArray("\0\0\0", 3)).isEmpty());
    // Odd byte count in UTF-16: the last line keeps what can be decoded.
    const QStringList odd = DecodeLanguageFile(QByteArray("\xFF\xFE"
                                                          "2\0=\0A\0B",
                                                          9));
    ASSERT_EQ(odd.size(), 1);
    EXPECT_TRUE(odd.first().startsWith("2=A"));
    // A line of a million characters is kept whole.
    const QByteArray longLine = "7=" + QByteArray(1'000'000, 'x') + "\r\n8=y";
    const QStringList lines = DecodeLanguageFile(longLine);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.first().size(), 1'000'002);
    QRandomGenerator random(4711);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(int(random.bounded(1, 600)), '\0');
        for (char& b : bytes)
            b = char(random.bounded(256));
        if (round % 3 == 0)
            bytes.prepend(round % 2 ? "\xFF\xFE" : "\xFE\xFF");
        for (const QString& line : DecodeLanguageFile(bytes)) {
            EXPECT_TRUE(line.contains(u'='));
            EXPECT_FALSE(line.contains(QChar(0)));
            EXPECT_FALSE(line.contains(u'\r') || line.contains(u'\n') ||
                         line.contains(QChar(0x2028)));
        }
    }
}

TEST_F(LanguageFilesTest, MenuTextsComeFromTheFileOfTheCurrentLanguageOnly) {
    WriteFile(Path("zh-CHT.txt"), "\xFF\xFE" + Encode(QString::fromUtf8("2=文件\r\n3=退出\r\n"),
                                                      QStringConverter::Utf16LE));
    WriteFile(Path("zh-CHS.txt"),
              "\xEF\xBB\xBF" + Encode(QString::fromUtf8("2=文件 S\n"), QStringConverter::Utf8));
    Load();
    {
        LanguageScope russian(OffsetRussian);
        EXPECT_EQ(GetMenuText(2), QString::fromUtf8("文件"));
        EXPECT_EQ(GetMenuText(3), QString::fromUtf8("退出"));
        EXPECT_EQ(GetMenuText(4), TableEntry(OffsetRussian + 4)); // not in the file
        EXPECT_EQ(GetText(2), QString::fromUtf8("Файл"));         // labels use the table
    }
    {
        LanguageScope turkish(OffsetTurkish);
        EXPECT_EQ(GetMenuText(2), QString::fromUtf8("文件 S"));
        EXPECT_EQ(GetMenuText(3), TableEntry(OffsetTurkish + 3));
    }
    for (int offset : {OffsetGerman, OffsetEnglish, OffsetFrench, OffsetSpanish}) {
        LanguageScope scope(offset);
        EXPECT_EQ(GetMenuText(2), TableEntry(offset + 2)) << offset;
    }
}

TEST_F(LanguageFilesTest, LookupRules) {
    WriteFile(Path("zh-CHT.txt"), "2=first\r\n"
                                  "2=second\r\n"
                                  " 3=blank before the id\r\n"
                                  "3 =blank after the id\r\n"
                                  "04=leading zero\r\n"
                                  "5=a=b=c\r\n"
                                  "6=\r\n"
                                  "no equals sign 7\r\n"
                                  "224=&Weiter im Menue\r\n");
    Load();
    LanguageScope russian(OffsetRussian);
    EXPECT_EQ(GetMenuText(2), "first");
    EXPECT_EQ(GetMenuText(3), TableEntry(OffsetRussian + 3));
    EXPECT_EQ(GetMenuText(4), TableEntry(OffsetRussian + 4));
    EXPECT_EQ(GetMenuText(5), "a=b=c");
    EXPECT_EQ(GetMenuText(6), TableEntry(OffsetRussian + 6)); // empty text falls through
    EXPECT_EQ(GetMenuText(7), TableEntry(OffsetRussian + 7));
    EXPECT_EQ(GetMenuText(224), "&Weiter im Menue"); // no "&" removed
}

TEST_F(LanguageFilesTest, MissingEmptyOrOversizedFilesCountAsAbsent) {
    LanguageScope russian(OffsetRussian);
    const QString tableText = TableEntry(OffsetRussian + 2);

    Load(); // nothing there
    EXPECT_EQ(GetMenuText(2), tableText);

    WriteFile(Path("zh-CHT.txt"), {});
    Load();
    EXPECT_EQ(GetMenuText(2), tableText);

    ASSERT_TRUE(QFile::remove(Path("zh-CHT.txt")));
    ASSERT_TRUE(QDir(dir_.path()).mkdir("zh-CHT.txt")); // a folder of that name
    Load();
    EXPECT_EQ(GetMenuText(2), tableText);
    ASSERT_TRUE(QDir(dir_.path()).rmdir("zh-CHT.txt"));

    QByteArray huge = "2=huge\r\n";
    huge.append(QByteArray(int(MaxLanguageFileBytes), 'x'));
    WriteFile(Path("zh-CHT.txt"), huge);
    Load();
    EXPECT_EQ(GetMenuText(2), tableText);

    // A readable file takes effect; loading again from a folder without
    // files forgets it.
    WriteFile(Path("zh-CHT.txt"), "2=locked\r\n");
    Load();
    EXPECT_EQ(GetMenuText(2), "locked");
    QTemporaryDir other;
    LoadLanguageFiles(other.path());
    EXPECT_EQ(GetMenuText(2), tableText);
}

TEST_F(LanguageFilesTest, UnreadableFileCountsAsAbsent) {
    LanguageScope russian(OffsetRussian);
    WriteFile(Path("zh-CHT.txt"), "2=locked\r\n");
    QFile::setPermissions(Path("zh-CHT.txt"), QFileDevice::Permissions());
    QFile probe(Path("zh-CHT.txt"));
    if (probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "files without permissions stay readable for this user (running as root)";
    Load();
    EXPECT_EQ(GetMenuText(2), TableEntry(OffsetRussian + 2));
}
