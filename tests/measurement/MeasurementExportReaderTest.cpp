// Reading an export back: a file cut inside a record, and clear failures on
// files that are no export. (Reading what was written gives it back: see
// the run journal's tests and the fuzz target.)

#include "measurement/helpers/JournalRecords.h"
#include "support/LanguageScope.h"

#include "measurement/MeasurementExport.h"

#include <QBuffer>
#include <QStringEncoder>
#include <gtest/gtest.h>

using MeasurementExport::ReadResult;

namespace {

QByteArray ExportOf(const TMeasurementValueArray& history, QChar separator = u':') {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(MeasurementExport::Write(buffer, history, EnglishRows(), separator));
    return buffer.data();
}

TMeasurementValueArray Numbered(int count) {
    TMeasurementValueArray history;
    for (int n = 0; n < count; ++n)
        history.Append(NumberedRecord(n));
    return history;
}

ReadResult ReadBytes(const QByteArray& bytes, TMeasurementValueArray& history) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return MeasurementExport::Read(buffer, history);
}

QByteArray Utf16(const QString& text) {
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return encoder(text);
}

// The twelve lines of a record of the given time with the value "+1".
QString RecordText(const QString& stamp) {
    QString text;
    for (int i = 0; i < 12; ++i)
        text += stamp + QStringLiteral(";title;+1;unit\r\n");
    return text;
}

class ExportReader : public ::testing::Test {
protected:
    LanguageScope english{OffsetEnglish};
};

} // namespace

TEST_F(ExportReader, AFileCutInsideARecordGivesTheWholeRecordsBeforeIt) {
    const QByteArray two = ExportOf(Numbered(2));
    const QByteArray three = ExportOf(Numbered(3));
    // Where each line of the third record ends.
    QList<qsizetype> lineEnds;
    for (qsizetype at = two.size(); at < three.size(); at += 2)
        if (three.mid(at, 4) == QByteArray("\r\0\n\0", 4))
            lineEnds.append(at + 4);
    ASSERT_EQ(lineEnds.size(), 12);

    struct Cut {
        qsizetype size;
        int leftOut;
    };
    const Cut cuts[] = {
        {two.size(), 0},        // right after the second record
        {lineEnds[4], 5},       // five whole lines of the third
        {lineEnds[4] + 21, 6},  // and the sixth cut inside a code unit
        {lineEnds[4] + 22, 6},  // and the sixth cut between two
        {lineEnds[10] + 2, 12}, // eleven lines and the first character of the twelfth
        {lineEnds[11] - 2, 12}, // all but the twelfth line's LF
    };
    for (const Cut& cut : cuts) {
        TMeasurementValueArray read;
        const ReadResult result = ReadBytes(three.left(cut.size), read);
        ASSERT_TRUE(result.ok) << "cut at " << cut.size << ": " << result.error.toStdString();
        EXPECT_EQ(result.records, 2u) << "cut at " << cut.size;
        EXPECT_EQ(result.leftOutLines, cut.leftOut) << "cut at " << cut.size;
        ASSERT_EQ(read.Size(), 2u);
        EXPECT_EQ(read[1].Time, NumberedRecord(1).Time);
        EXPECT_EQ(read[1].Value(11), "+1.11");
    }
}

TEST_F(ExportReader, AFileThatIsNoExportFailsNamingTheLineAndLeavesTheHistoryAlone) {
    const QString first = RecordText("05.03.2014 14:07:09");
    const QString noExport =
        "The file does not begin with the byte order mark FF FE of a measurement export.";
    const QString badLine13 =
        "Line 13 is not a line of a measurement export (dd.mm.yyyy hh:mm:ss;title;value;unit).";
    struct Case {
        QByteArray bytes;
        QString error;
    };
    const Case cases[] = {
        {QByteArray(), noExport},
        {first.toUtf8(), noExport},
        // A second record on 31 February.
        {Utf16(first + RecordText("31.02.2014 14:07:10")), badLine13},
        // ... or with another time separator.
        {Utf16(first + RecordText("05.03.2014 14.07.10")), badLine13},
        // A line without its unit, or a value no gauge sends.
        {Utf16(first + "05.03.2014 14:07:10;title;+1\r\n"), badLine13},
        {Utf16(first + QString::fromUtf8("05.03.2014 14:07:10;title;+1Ā;unit\r\n")), badLine13},
        // The second line of a record taken a second later.
        {Utf16(first +
               "05.03.2014 14:07:10;title;+1;unit\r\n05.03.2014 14:07:11;title;+1;unit\r\n"),
         "Line 14 has another time than line 13, where its record begins."},
    };
    for (const Case& c : cases) {
        TMeasurementValueArray history;
        history.Append(NumberedRecord(7));
        const ReadResult result = ReadBytes(c.bytes, history);
        EXPECT_FALSE(result.ok) << c.error.toStdString();
        EXPECT_EQ(result.error, c.error);
        ASSERT_EQ(history.Size(), 1u);
        EXPECT_EQ(history[0].Value(0), "+7.0");
    }
}
