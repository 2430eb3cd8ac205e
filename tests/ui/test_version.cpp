// Version information of the program, the rounded panels and the locale's
// decimal separator.

#include "gauge/SDIHandler.h"
#include "test_texts_support.h"
#include "ui/FileVersionInfo.h"
#include "ui/UiHelpers.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QMetaProperty>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

TEST(FileVersionInfo, TheRunningProgramsVersionStrings) {
    TFileVersionInfo info;
    EXPECT_EQ(info.ExecutableFile(), QCoreApplication::applicationFilePath());
    EXPECT_EQ(info.CountryCode(), "040704E4");
    EXPECT_EQ(info.FileVersion(), "1.0.8.7");
    EXPECT_EQ(info.ProductVersion(), "V1.08.7");
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
    EXPECT_EQ(info->ProductVersion(), "V1.08.7");
    EXPECT_EQ(info->CountryCode(), "040704E4");
}

TEST(FileVersionInfo, ProductVersionAndMainWindowTitle) {
    EXPECT_EQ(GetProductVersion(), "V1.08.7");
    {
        LanguageScope english(OffsetEnglish);
        EXPECT_EQ(GetText(1) + " " + GetProductVersion(),
                  "Axo Tessra2, Tessra2 S & Tessra2 L operating program V1.08.7");
    }
    LanguageScope german(OffsetGerman);
    EXPECT_EQ(GetText(1) + " " + GetProductVersion(),
              QString::fromUtf8("Bedienprogramm für Axo Tessra2, Tessra2 S & Tessra2 L V1.08.7"));
}

TEST(GaugeTextSource, TheGaugeHandlerSpeaksTheCurrentLanguage) {
    InstallGaugeTextSource();
    LanguageScope english(OffsetEnglish);
    EXPECT_EQ(TSDIHandler::Text(186), "Weight change out of range");
    LanguageScope german(OffsetGerman);
    EXPECT_EQ(TSDIHandler::Text(186), TableEntry(186));
    EXPECT_EQ(TSDIHandler::Text(0), "");
}

TEST(RoundPanelCorners, NarrowedRoundedShapeFollowsTheSize) {
    QWidget panel;
    panel.resize(200, 100);
    RoundPanelCorners(&panel, 20);
    QRegion shape = panel.mask();
    EXPECT_EQ(shape.boundingRect(), QRect(3, 0, 194, 100));
    EXPECT_TRUE(shape.contains(QPoint(100, 50)));
    EXPECT_TRUE(shape.contains(QPoint(3, 50)));
    EXPECT_TRUE(shape.contains(QPoint(196, 50)));
    EXPECT_FALSE(shape.contains(QPoint(2, 50)));
    EXPECT_FALSE(shape.contains(QPoint(197, 50)));
    EXPECT_TRUE(shape.contains(QPoint(20, 0))); // straight top edge
    EXPECT_FALSE(shape.contains(QPoint(4, 1))); // cut corners
    EXPECT_FALSE(shape.contains(QPoint(195, 98)));
    EXPECT_FALSE(shape.contains(QPoint(4, 98)));

    panel.resize(120, 60);
    RoundPanelCorners(&panel, 20);
    EXPECT_EQ(panel.mask().boundingRect(), QRect(3, 0, 114, 60));

    panel.resize(4, 60); // too narrow for a shape
    RoundPanelCorners(&panel, 20);
    EXPECT_TRUE(panel.mask().isEmpty());
    RoundPanelCorners(nullptr, 20);
}

TEST(LocalizeDecimalSeparator, FirstSeparatorOnlyAndOnlyTowardsTheLocale) {
    EXPECT_EQ(LocalizeDecimalSeparator("12.5", u','), "12,5");
    EXPECT_EQ(LocalizeDecimalSeparator("12,5", u','), "12,5");
    EXPECT_EQ(LocalizeDecimalSeparator("1.234.5", u','), "1,234.5");
    EXPECT_EQ(LocalizeDecimalSeparator("1,234,5", u'.'), "1.234,5");
    EXPECT_EQ(LocalizeDecimalSeparator("12.5", u'.'), "12.5");
    EXPECT_EQ(LocalizeDecimalSeparator("", u'.'), "");
    EXPECT_EQ(LocalizeDecimalSeparator("12,5", QChar(0x066B)), "12,5"); // Arabic separator
    EXPECT_EQ(LocalizeDecimalSeparator("-9999", u','), "-9999");

    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(LocalizeDecimalSeparator("12.5"), "12,5");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(LocalizeDecimalSeparator("12,5"), "12.5");
    QLocale::setDefault(saved);
}
