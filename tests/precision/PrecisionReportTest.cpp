// The report's PDF as an independent reader sees it: pdftotext for the
// texts and their order (English and German), pdfinfo for the title, and
// a page rendered by pdftoppm for the verdict row's colour.

#include "precision/PrecisionReport.h"
#include "precision/SampleTestRecord.h"
#include "precision/PdfTools.h"
#include "precision/ToleranceChart.h"
#include "support/DefaultLocaleScope.h"
#include "support/LanguageScope.h"
#include "ui/WideLanguageHandler.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace Precision;

namespace {

PrecisionTestRecord Record(const QString& verdict) {
    return SampleTestRecord(verdict);
}

class Report : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PdfTools::Available())
            GTEST_SKIP() << "poppler-utils (pdftotext, pdftoppm, pdfinfo) are not installed";
        chart.resize(800, TToleranceChart::ChartHeight);
        chart.show();
        chart.ShowToleranceChart({0.05f, 0.01f, QStringLiteral("mm")});
        QCoreApplication::processEvents();
    }

    QString Export(const PrecisionTestRecord& record) {
        ReportContent content;
        content.record = record;
        content.date = QDateTime(QDate(2013, 5, 14), QTime(10, 22, 5));
        content.drawChart = [this](QPainter& painter, const QRectF& target) {
            chart.RenderInto(painter, target);
        };
        content.chartSize = QSizeF(chart.size());
        const QString path = folder.filePath(QStringLiteral("report.pdf"));
        EXPECT_TRUE(ExportReportPdf(path, content));
        return path;
    }

    // The text's lines without their layout blanks at both ends, blanks
    // between label and value reduced to " | ".
    static QStringList Lines(const QString& text) {
        QStringList lines;
        for (QString line : text.split(u'\n')) {
            line = line.trimmed().replace(QRegularExpression(QStringLiteral(" {2,}")),
                                          QStringLiteral(" | "));
            if (!line.isEmpty() && line != QStringLiteral("\f"))
                lines << line;
        }
        return lines;
    }

    // Colour of the verdict row between the label's last word and the value.
    QColor VerdictRowColour(const QString& pdf, const QString& labelWord, const QString& value) {
        const std::vector<PdfTools::Word> words = PdfTools::Words(pdf);
        const PdfTools::Word* label = nullptr;
        const PdfTools::Word* shown = nullptr;
        for (const PdfTools::Word& word : words) {
            if (word.text == labelWord)
                label = &word;
            if (label != nullptr && word.text == value && word.page == label->page &&
                qAbs(word.box.center().y() - label->box.center().y()) < 2)
                shown = &word;
        }
        if (label == nullptr || shown == nullptr)
            return {};
        const QImage page = PdfTools::Page(pdf, label->page);
        const QPoint between(int((label->box.right() + shown->box.left()) / 2),
                             int(label->box.center().y()));
        return page.pixelColor(between);
    }

    QTemporaryDir folder;
    TToleranceChart chart;
};

} // namespace

TEST_F(Report, EnglishTextsInTheirOrder) {
    LanguageScope english(OffsetEnglish);
    DefaultLocaleScope c(QLocale::c());
    const QString pdf = Export(Record(QStringLiteral("Yes")));
    const QStringList lines = Lines(PdfTools::Text(pdf));
    ASSERT_GE(lines.size(), 16);
    EXPECT_EQ(lines.mid(0, 15),
              QStringList({
                  "Axo Tessra2 L - Guided accuracy test",
                  "See test details below:",
                  "Date: | 2013-05-14 10:22:05",
                  "Axo Tessra2 type: | Axo Tessra2 L",
                  "Bucket type: | 400 cm²",
                  "Serial number / HW Index: | 123456/7",
                  "Firmware version: | V1.31.0",
                  "Intensity units: | mm/h",
                  "Measured total weight: | 3500.40 gram (87.51 mm;3.445 inch)",
                  "Information of applied weight: | 1000.00 gram (25.00 mm;0.984 inch)",
                  "Measured test weight: | 1000.40 gram (25.01 mm;0.985 inch)",
                  "Permitted deviation: | +-2.00 gram (+-0.05 mm;+-0.002 inch)",
                  "Deviation: | 0.40 gram (0.01 mm;0.000 inch)",
                  "base weight | 2500.00 gram (62.50 mm;2.461 inch)",
                  "Test passed: | Yes",
              }));
    // Then the chart with its axis title, and the footer.
    EXPECT_TRUE(lines.mid(15).contains("mm")) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines.back(), "www.axo-gauges.example");
    EXPECT_TRUE(PdfTools::Info(pdf).contains(
        QRegularExpression(QStringLiteral("(?m)^Title: +Guided accuracy test$"))));
    EXPECT_TRUE(
        PdfTools::Info(pdf).contains(QRegularExpression(QStringLiteral("(?m)^Pages: +1$"))));
}

TEST_F(Report, GermanTexts) {
    LanguageScope german(OffsetGerman);
    DefaultLocaleScope locale(QLocale(QLocale::German, QLocale::Germany));
    const QStringList lines = Lines(PdfTools::Text(Export(Record(QStringLiteral("Nein")))));
    ASSERT_GE(lines.size(), 15);
    EXPECT_EQ(lines[0], "Axo Tessra2 L - Geführte Genauigkeitsprüfung");
    EXPECT_EQ(lines[1], "Die Details der Prüfung finden Sie unten:");
    EXPECT_EQ(lines[2], "Datum: | 2013-05-14 10:22:05");
    EXPECT_EQ(lines[3], "Typ Axo Tessra2: | Axo Tessra2 L");
    EXPECT_EQ(lines[4], "Behältertyp: | 400 cm²");
    EXPECT_EQ(lines[8], "Gemessenes Gesamtgewicht: | 3500,40 Gramm (87,51 mm;3,445 inch)");
    EXPECT_EQ(lines[11], "Zulässige Abweichung: | +-2,00 Gramm (+-0,05 mm;+-0,002 inch)");
    EXPECT_EQ(lines[13], "Grundgewicht | 2500,00 Gramm (62,50 mm;2,461 inch)");
    EXPECT_EQ(lines[14], "Prüfung bestanden: | Nein");
    EXPECT_EQ(lines.back(), "www.axo-gauges.example");
    EXPECT_TRUE(PdfTools::Info(Export(Record(QStringLiteral("Nein"))))
                    .contains(QStringLiteral("Geführte Genauigkeitsprüfung")));
}

TEST_F(Report, BucketTypeOfTheSModelAndOfAnUnreadableType) {
    LanguageScope english(OffsetEnglish);
    PrecisionTestRecord s = Record(QStringLiteral("Yes"));
    s.model = 2;
    s.gauge.gaugeType = 3;
    s.gauge.gaugeTypeName = QStringLiteral("Axo Tessra2 S");
    QStringList lines = Lines(PdfTools::Text(Export(s)));
    EXPECT_TRUE(lines.contains("Axo Tessra2 type: | Axo Tessra2 S"));
    EXPECT_TRUE(lines.contains("Bucket type: | 200 cm²")); // whatever the gauge reports

    PrecisionTestRecord unreadable = Record(QStringLiteral("Yes"));
    unreadable.gauge.gaugeType = -1;
    unreadable.gauge.gaugeTypeName = QStringLiteral("N/A");
    lines = Lines(PdfTools::Text(Export(unreadable)));
    EXPECT_TRUE(lines.contains("Bucket type: | N/A"));
}

TEST_F(Report, VerdictRowGreenForAPassRedForAFail) {
    LanguageScope english(OffsetEnglish);
    EXPECT_EQ(VerdictRowColour(Export(Record(QStringLiteral("Yes"))), "passed:", "Yes"),
              QColor(0, 255, 0));
    EXPECT_EQ(VerdictRowColour(Export(Record(QStringLiteral("No"))), "passed:", "No"),
              QColor(255, 0, 0));
}

TEST_F(Report, TheVerdictRowFollowsTheOutcomeNotTheLanguageOfItsText) {
    // Evaluated in German, then F3 to English before the report was made.
    PrecisionTestRecord passedInGerman = Record(QStringLiteral("Ja"));
    passedInGerman.passed = true;
    LanguageScope english(OffsetEnglish);
    EXPECT_EQ(VerdictRowColour(Export(passedInGerman), "passed:", "Ja"), QColor(0, 255, 0));
}

TEST_F(Report, ExportToAPlaceThatCannotBeWrittenFails) {
    LanguageScope english(OffsetEnglish);
    const QString pdf = Export(Record(QStringLiteral("Yes")));
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    ReportContent content;
    content.record = Record(QStringLiteral("Yes"));
    EXPECT_FALSE(ExportReportPdf(pdf + QStringLiteral("/inside-a-file.pdf"), content));
}

TEST_F(Report, ChartOffTheScreenIsDrawnAsOnItsPage) {
    LanguageScope english(OffsetEnglish);
    DefaultLocaleScope c(QLocale::c());
    // A chart whose page is hidden just now: drawn all the same, across the
    // text width, with its axis labels at both ends.
    TToleranceChart hidden;
    hidden.resize(800, TToleranceChart::ChartHeight);
    hidden.ShowToleranceChart({0.05f, 0.01f, QStringLiteral("mm")});
    ASSERT_FALSE(hidden.isVisible());
    ReportContent content;
    content.record = Record(QStringLiteral("Yes"));
    content.drawChart = [&hidden](QPainter& painter, const QRectF& target) {
        hidden.RenderInto(painter, target);
    };
    content.chartSize = QSizeF(hidden.ShownSize());
    const QString pdf = folder.filePath(QStringLiteral("hidden.pdf"));
    ASSERT_TRUE(ExportReportPdf(pdf, content));
    const PdfTools::Word* left = nullptr;
    const PdfTools::Word* right = nullptr;
    const std::vector<PdfTools::Word> words = PdfTools::Words(pdf);
    for (const PdfTools::Word& word : words) {
        if (word.text == "-0.55")
            left = &word;
        if (word.text == "0.55")
            right = &word;
    }
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(left->page, 1);
    // 190 mm of text width are 539 points; the labels sit near both ends.
    EXPECT_GT(right->box.center().x() - left->box.center().x(), 480.0);
    EXPECT_LT(right->box.bottom() - left->box.top(), 20.0); // on one line
}
