// The log file's 8-bit code pages, checked against glibc's iconv: every
// byte of 0x20 to 0xFF that a code page defines must encode its character,
// and characters the code page lacks become "?".

#include "ui/WindowsCodePages.h"
#include "ui/WideLanguageHandler.h"

#include <gtest/gtest.h>

#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <string>

namespace {

// byte -> character as iconv decodes it (no entry for undefined bytes).
QMap<int, QString> DecodedByIconv(CodePage page) {
    QByteArray input;
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
        if (byte == 0x7F)
            continue;
        input.append(static_cast<char>(byte));
        input.append('\n');
    }
    QProcess iconv;
    iconv.start(QStringLiteral("iconv"), {QStringLiteral("-c"), QStringLiteral("-f"),
                                          QString::fromLatin1(CodePageName(page)),
                                          QStringLiteral("-t"), QStringLiteral("UTF-8")});
    if (!iconv.waitForStarted())
        return {};
    iconv.write(input);
    iconv.closeWriteChannel();
    iconv.waitForFinished();
    const QStringList lines = QString::fromUtf8(iconv.readAllStandardOutput()).split(u'\n');
    QMap<int, QString> mapping;
    int line = 0;
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
        if (byte == 0x7F)
            continue;
        const QString decoded = lines.value(line++);
        if (!decoded.isEmpty())
            mapping.insert(byte, decoded);
    }
    return mapping;
}

} // namespace

class CodePagesAgainstIconv : public ::testing::TestWithParam<CodePage> {};

TEST_P(CodePagesAgainstIconv, EveryDefinedByteRoundTrips) {
    if (QStandardPaths::findExecutable(QStringLiteral("iconv")).isEmpty())
        GTEST_SKIP() << "iconv is not installed";
    const QMap<int, QString> mapping = DecodedByIconv(GetParam());
    ASSERT_GE(mapping.size(), 215) << CodePageName(GetParam());
    for (auto it = mapping.cbegin(); it != mapping.cend(); ++it) {
        const QByteArray encoded = EncodeEightBit(it.value(), GetParam());
        ASSERT_EQ(encoded.size(), 1) << it.key();
        EXPECT_EQ(static_cast<unsigned char>(encoded[0]), it.key())
            << CodePageName(GetParam()) << " U+"
            << QString::number(it.value()[0].unicode(), 16).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(CodePages, CodePagesAgainstIconv,
                         ::testing::Values(CodePage::Windows1252, CodePage::Windows1251,
                                           CodePage::Windows1254),
                         [](const ::testing::TestParamInfo<CodePage>& info) {
                             return std::string(CodePageName(info.param));
                         });

TEST(CodePages, MissingCharactersBecomeQuestionMarks) {
    EXPECT_EQ(EncodeEightBit(QStringLiteral("Дата"), CodePage::Windows1252), "????");
    EXPECT_EQ(EncodeEightBit(QStringLiteral("Ğ Ð"), CodePage::Windows1252), "? \xD0");
    EXPECT_EQ(EncodeEightBit(QStringLiteral("Ğ Ð"), CodePage::Windows1254), "\xD0 ?");
    EXPECT_EQ(EncodeEightBit(QStringLiteral("ü€"), CodePage::Windows1251), "?\x88");
    EXPECT_EQ(EncodeEightBit(QStringLiteral("\U0001F600"), CodePage::Windows1252), "??");
}

TEST(CodePages, CodePageFollowsTheLanguage) {
    EXPECT_EQ(CodePageOfLanguage(OffsetGerman), CodePage::Windows1252);
    EXPECT_EQ(CodePageOfLanguage(OffsetEnglish), CodePage::Windows1252);
    EXPECT_EQ(CodePageOfLanguage(OffsetFrench), CodePage::Windows1252);
    EXPECT_EQ(CodePageOfLanguage(OffsetSpanish), CodePage::Windows1252);
    EXPECT_EQ(CodePageOfLanguage(OffsetRussian), CodePage::Windows1251);
    EXPECT_EQ(CodePageOfLanguage(OffsetTurkish), CodePage::Windows1254);
}
