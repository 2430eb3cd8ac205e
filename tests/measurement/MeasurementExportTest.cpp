// The bytes of the measurement export file.

#include "measurement/MeasurementExport.h"

#include <QBuffer>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace MeasurementExport;

namespace {

// The rows as a freshly built area shows them in English, with °C and mm/h.
RowTexts EnglishRows() {
    const char* titles[] = {"Intensity RT ( real-time )", "Accu RT/NRT", "Accu NRT",
                            "Accu total NRT", "Bucket RT (real-time)",
                            "Bucket NRT ( non real-time)", "Temperature load cell",
                            "Heating status", "Axo Tessra2 status", "Internal temperature",
                            "Supply voltage", "Temperature heating rim"};
    const char* units[] = {"mm/h", "mm (inactive while USB connected)",
                           "mm (inactive while USB connected)",
                           "mm (inactive while USB connected)", "mm", "mm", "°C", "", "",
                           "°C", "V", "°C"};
    RowTexts rows;
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = {QStringLiteral(" ") + QString::fromUtf8(titles[i]), QString::fromUtf8(units[i])};
    return rows;
}

QByteArray Utf16LeWithMark(const QString& text) {
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return encoder(text);
}

QByteArray Exported(const TMeasurementValueArray& history, QChar separator = u':') {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(Write(buffer, history, EnglishRows(), separator));
    return buffer.data();
}

TMeasurementValueArray OneRecord() {
    TMeasurementValueArray history;
    history.Append(MeasurementValues(
        DateTimeValue(QDateTime(QDate(2014, 3, 5), QTime(14, 7, 9))),
        {"+1.25", "+0.021", "+0.020", "+12.50", "+125.30", "+125.30", "+21.0", "+1", "+0",
         "+23.4", "+12.20", "+18.5"}));
    return history;
}

} // namespace

TEST(MeasurementExportTest, AnEmptyHistoryGivesTheByteOrderMarkAlone) {
    EXPECT_EQ(Exported(TMeasurementValueArray()), QByteArray("\xFF\xFE", 2));
}

TEST(MeasurementExportTest, OneRecordGivesTwelveLinesInUtf16WithCrLf) {
    const QString expected = QString::fromUtf8(
        "05.03.2014 14:07:09; Intensity RT ( real-time );+1.25;mm/h\r\n"
        "05.03.2014 14:07:09; Accu RT/NRT;+0.021;mm (inactive while USB connected)\r\n"
        "05.03.2014 14:07:09; Accu NRT;+0.020;mm (inactive while USB connected)\r\n"
        "05.03.2014 14:07:09; Accu total NRT;+12.50;mm (inactive while USB connected)\r\n"
        "05.03.2014 14:07:09; Bucket RT (real-time);+125.30;mm\r\n"
        "05.03.2014 14:07:09; Bucket NRT ( non real-time);+125.30;mm\r\n"
        "05.03.2014 14:07:09; Temperature load cell;+21.0;°C\r\n"
        "05.03.2014 14:07:09; Heating status;+1;\r\n"
        "05.03.2014 14:07:09; Axo Tessra2 status;+0;\r\n"
        "05.03.2014 14:07:09; Internal temperature;+23.4;°C\r\n"
        "05.03.2014 14:07:09; Supply voltage;+12.20;V\r\n"
        "05.03.2014 14:07:09; Temperature heating rim;+18.5;°C\r\n");
    EXPECT_EQ(Exported(OneRecord()), Utf16LeWithMark(expected));
}

TEST(MeasurementExportTest, TheTimeUsesTheLocalesTimeSeparatorAndTwoDigitFields) {
    TMeasurementValueArray history;
    history.Append(MeasurementValues(DateTimeValue(QDateTime(QDate(987, 1, 2), QTime(3, 4, 5))),
                                     {}));
    const QByteArray bytes = Exported(history, u'.');
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                            (bytes.size() - 2) / 2);
    EXPECT_TRUE(text.startsWith("02.01.0987 03.04.05; Intensity RT ( real-time );;mm/h\r\n"))
        << text.left(60).toStdString();
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), 12);
}

TEST(MeasurementExportTest, TheFileReplacesAnExistingOneWhole) {
    QTemporaryDir folder;
    const QString path = folder.filePath("values.txt");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
    }
    QString error;
    ASSERT_TRUE(ExportMeasurements(path, OneRecord(), EnglishRows(), u':', &error)) << error.toStdString();
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), Exported(OneRecord()));

    EXPECT_FALSE(ExportMeasurements(folder.filePath("missing/values.txt"), OneRecord(),
                                    EnglishRows(), u':', &error));
    EXPECT_FALSE(error.isEmpty());
}
