// Version information of the program.

#include "support/LanguageScope.h"
#include "support/ProgramVersion.h"
#include "ui/FileVersionInfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QMetaProperty>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FileVersionInfo, TheRunningProgramsVersionStrings) {
    TFileVersionInfo info;
    EXPECT_EQ(info.ExecutableFile(), QCoreApplication::applicationFilePath());
    EXPECT_EQ(info.CountryCode(), "040704E4");
    EXPECT_EQ(info.FileVersion(), ProjectVersion());
    EXPECT_EQ(info.ProductVersion(), ShownProductVersion());
    EXPECT_EQ(info.CompanyName(), "Axo-Gauges");
    EXPECT_FALSE(info.ProductName().isEmpty());
    EXPECT_TRUE(info.LegalCopyright().contains("Axo-Gauges"));
    EXPECT_TRUE(info.OriginalFilename().startsWith("tessra2"));
    // The ten texts are published as properties under their names.
    for (int field = 0; field < TFileVersionInfo::FieldCount; ++field) {
        const auto f = TFileVersionInfo::Field(field);
        EXPECT_EQ(info.property(TFileVersionInfo::FieldName(f)).toString(), info.Text(f))
            << TFileVersionInfo::FieldName(f);
    }
    // Version strings are 8-bit texts.
    for (int field = 0; field < TFileVersionInfo::FieldCount; ++field) {
        const QString text = info.Text(TFileVersionInfo::Field(field));
        for (QChar c : text)
            EXPECT_LT(c.unicode(), 256)
                << TFileVersionInfo::FieldName(TFileVersionInfo::Field(field));
    }
}

TEST(FileVersionInfo, AnyOtherFileHasNoVersionStringsAndReassigningReadsAgain) {
    QObject owner;
    auto* info = new TFileVersionInfo(&owner);
    QTemporaryDir dir;
    const QString other = dir.filePath("other.exe");
    {
        QFile file(other);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("MZ not a program of ours");
    }
    for (const QString& path : {other, dir.filePath("missing.exe"), QString(), dir.path()}) {
        info->setProperty("ExecutableFile", path);
        EXPECT_EQ(info->ExecutableFile(), path);
        EXPECT_EQ(info->CountryCode(), "") << path.toStdString();
        for (int field = 0; field < TFileVersionInfo::FieldCount; ++field)
            EXPECT_EQ(info->Text(TFileVersionInfo::Field(field)), "") << path.toStdString();
    }
    info->SetExecutableFile(QCoreApplication::applicationFilePath());
    EXPECT_EQ(info->ProductVersion(), ShownProductVersion());
    EXPECT_EQ(info->CountryCode(), "040704E4");
}

TEST(FileVersionInfo, ProductVersionAndMainWindowTitle) {
    EXPECT_EQ(GetProductVersion(), ShownProductVersion());
    {
        LanguageScope english(OffsetEnglish);
        EXPECT_EQ(GetText(1) + " " + GetProductVersion(),
                  "Axo Tessra2, Tessra2 S & Tessra2 L operating program " + ShownProductVersion());
    }
    LanguageScope german(OffsetGerman);
    EXPECT_EQ(GetText(1) + " " + GetProductVersion(),
              QString::fromUtf8("Bedienprogramm für Axo Tessra2, Tessra2 S & Tessra2 L ") +
                  ShownProductVersion());
}
