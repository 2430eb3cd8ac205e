// The CSV export as an independent reader (Python's csv module) sees it.

#include "measurement/helpers/JournalRecords.h"

#include "measurement/MeasurementCsv.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The rows of the file as python3's csv module reads them.
QList<QStringList> ReadByPython(const QString& path) {
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return {};
    QProcess process;
    process.start(python,
                  {QStringLiteral("-c"),
                   QStringLiteral("import csv, json, sys\n"
                                  "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                  "    print(json.dumps(list(csv.reader(f, strict=True))))\n"),
                   path});
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    QList<QStringList> rows;
    for (const QJsonValue row : QJsonDocument::fromJson(process.readAllStandardOutput()).array())
        rows.append(row.toVariant().toStringList());
    return rows;
}

} // namespace

TEST(MeasurementCsv, PythonsCsvReaderFindsTheHeaderAndEveryValue) {
    if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    TMeasurementValueArray history;
    history.Append(NumberedRecord(0));
    // Values a gauge should not send but might: a comma, a quote.
    history.Append(MeasurementValues(
        DateTimeValue(QDateTime(QDate(2014, 3, 6), QTime(0, 0, 1))),
        {"+1,5", "+\"2\"", "+3", "+4", "+5", "+6", "+7", "+8", "+0", "+10", "+11", "+12"}));
    MeasurementExport::RowTexts rows = EnglishRows();
    rows[10].unit = QStringLiteral("V, DC");

    QTemporaryDir folder;
    const QString path = folder.filePath("values.csv");
    QString error;
    ASSERT_TRUE(MeasurementCsv::ExportCsv(path, history, rows, QStringLiteral("Zeit"), &error))
        << error.toStdString();

    const QList<QStringList> read = ReadByPython(path);
    ASSERT_EQ(read.size(), 3);
    EXPECT_EQ(read[0],
              (QStringList{"Zeit", "Intensity RT ( real-time ) [mm/h]",
                           "Accu RT/NRT [mm (inactive while USB connected)]",
                           "Accu NRT [mm (inactive while USB connected)]",
                           "Accu total NRT [mm (inactive while USB connected)]",
                           "Bucket RT (real-time) [mm]", "Bucket NRT ( non real-time) [mm]",
                           "Temperature load cell [°C]", "Heating status", "Axo Tessra2 status",
                           "Internal temperature [°C]", "Supply voltage [V, DC]",
                           "Temperature heating rim [°C]"}));
    EXPECT_EQ(read[1], (QStringList{"2014-03-05T14:07:09", "+0.0", "+0.1", "+0.2", "+0.3", "+0.4",
                                    "+0.5", "+0.6", "+0.7", "+0", "+0.9", "+0.10", "+0.11"}));
    EXPECT_EQ(read[2], (QStringList{"2014-03-06T00:00:01", "+1,5", "+\"2\"", "+3", "+4", "+5", "+6",
                                    "+7", "+8", "+0", "+10", "+11", "+12"}));

    // UTF-8 without a mark, every line ended by CR LF.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("Zeit,Intensity RT")) << bytes.left(20).toStdString();
    EXPECT_TRUE(bytes.contains("load cell [\xC2\xB0"
                               "C]"));
    EXPECT_EQ(bytes.count("\r\n"), 3);
    EXPECT_TRUE(bytes.endsWith("\r\n"));
}
