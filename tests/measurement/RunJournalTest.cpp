// The run journal: each record on disk as it is taken, the file an export
// of its records, old journals deleted, failures said, and a journal whose
// writer was killed read whole.

#include "FileSizeLimit.h"
#include "measurement/helpers/JournalRecords.h"
#include "support/LanguageScope.h"
#include "support/QtPrinters.h"

#include "measurement/MeasurementExport.h"
#include "measurement/RunJournal.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using MeasurementExport::ReadResult;

namespace {

class RunJournalTest : public ::testing::Test {
protected:
    static TMeasurementValueArray Numbered(int count) {
        TMeasurementValueArray history;
        for (int n = 0; n < count; ++n)
            history.Append(NumberedRecord(n));
        return history;
    }
    static QByteArray ExportOf(const TMeasurementValueArray& history) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(MeasurementExport::Write(buffer, history, EnglishRows(), u':'));
        return buffer.data();
    }
    static QByteArray BytesOf(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }
    // A file in the journal folder, last modified daysAgo days before start.
    void MakeFile(const QString& name, double daysAgo) {
        QDir().mkpath(folder);
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xFF\xFE", 2);
        // Written now, so that closing the file does not touch its time again.
        ASSERT_TRUE(file.flush());
        const QDateTime modified = start.addSecs(-static_cast<qint64>(daysAgo * 86400));
        ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    }
    // The names in the folder, sorted, one a line.
    QString FilesInFolder() const {
        return QDir(folder)
            .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)
            .join(u'\n');
    }
    static QString Sorted(QStringList names) {
        names.sort();
        return names.join(u'\n');
    }
    // Starts a journal of a run at start; the names left in the folder.
    QString AfterStart() {
        RunJournal journal(folder);
        QString error;
        EXPECT_TRUE(journal.Start(QStringLiteral("AX0001"), start, &error)) << error.toStdString();
        return FilesInFolder();
    }
    static QString JournalName(int k) {
        return QStringLiteral("AX%1_2014-01-01_12-00-00.txt").arg(k, 4, 10, QLatin1Char('0'));
    }

    QTemporaryDir dir;
    // Not there yet: the journal makes it.
    const QString folder = dir.filePath(QStringLiteral("data/Measurements"));
    const QDateTime start{QDate(2014, 3, 5), QTime(14, 7, 9)};
    LanguageScope english{OffsetEnglish};
};

} // namespace

TEST_F(RunJournalTest, EachRecordIsOnDiskAsTheExportHasItWhileTheRunGoesOn) {
    RunJournal journal(folder);
    QString error;
    ASSERT_TRUE(journal.Start(QStringLiteral("AX0001"), start, &error)) << error.toStdString();
    EXPECT_EQ(journal.Path(), QDir(folder).filePath("AX0001_2014-03-05_14-07-09.txt"));
    EXPECT_EQ(BytesOf(journal.Path()), QByteArray("\xFF\xFE", 2));

    const TMeasurementValueArray history = Numbered(3);
    TMeasurementValueArray sofar;
    for (std::size_t i = 0; i < history.Size(); ++i) {
        ASSERT_TRUE(journal.Append(history[i], EnglishRows(), u':', &error)) << error.toStdString();
        sofar.Append(history[i]);
        // Read by another handle while the journal is still open.
        EXPECT_EQ(BytesOf(journal.Path()), ExportOf(sofar)) << "after record " << i;
    }
    EXPECT_TRUE(journal.IsOpen());
}

TEST_F(RunJournalTest, AJournalReadsBackAsTheHistoryItWasWrittenFrom) {
    RunJournal journal(folder);
    ASSERT_TRUE(journal.Start(QStringLiteral("AX0001"), start));
    const TMeasurementValueArray history = Numbered(5);
    for (std::size_t i = 0; i < history.Size(); ++i)
        ASSERT_TRUE(journal.Append(history[i], EnglishRows(), u'.'));
    journal.Close();

    TMeasurementValueArray read;
    const ReadResult result = MeasurementExport::Read(journal.Path(), read);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.records, 5u);
    EXPECT_EQ(result.leftOutLines, 0);
    EXPECT_EQ(result.timeSeparator, u'.');
    EXPECT_EQ(result.rows, EnglishRows());
    ASSERT_EQ(read.Size(), history.Size());
    for (std::size_t i = 0; i < history.Size(); ++i) {
        EXPECT_EQ(read[i].Time, history[i].Time) << "record " << i;
        for (std::size_t p = 0; p < MeasurementPositionCount; ++p)
            EXPECT_EQ(read[i].Value(p), history[i].Value(p)) << "record " << i << " position " << p;
    }
}

TEST_F(RunJournalTest, EveryRunGetsItsOwnFileNamedAfterTheGaugeAndTheStart) {
    RunJournal journal(folder);
    ASSERT_TRUE(journal.Start(QStringLiteral("AX 12/3:4"), start));
    const QString first = journal.Path();
    ASSERT_TRUE(journal.Append(NumberedRecord(0), EnglishRows(), u':'));
    // A second run in the same second.
    ASSERT_TRUE(journal.Start(QStringLiteral("AX 12/3:4"), start));
    ASSERT_TRUE(journal.Append(NumberedRecord(1), EnglishRows(), u':'));
    EXPECT_EQ(QFileInfo(first).fileName(), "AX_12_3_4_2014-03-05_14-07-09.txt");
    EXPECT_EQ(QFileInfo(journal.Path()).fileName(), "AX_12_3_4_2014-03-05_14-07-09_2.txt");
    TMeasurementValueArray one;
    one.Append(NumberedRecord(0));
    EXPECT_EQ(BytesOf(first), ExportOf(one)) << "the first run's journal stays as it was";
}

TEST_F(RunJournalTest, TheFiftyNewestRunsStayWhenTheLastThirtyDaysHoldFewer) {
    // 3 journals of the last 30 days, 57 older ones (31 to 87 days old).
    for (const double days : {1.0, 10.0, 29.0})
        MakeFile(JournalName(static_cast<int>(days)), days);
    for (int days = 31; days <= 87; ++days)
        MakeFile(JournalName(days), days);
    // Files that only look a little like journals, all very old.
    const QStringList foreign{"notes.txt", "AX0001_2013-01-01.txt",
                              "AX0001_2013-01-01_10-00-00.csv",
                              "AX0001_2013-01-01_10-00-00.txt.bak"};
    for (const QString& name : foreign)
        MakeFile(name, 400);
    ASSERT_TRUE(QDir(folder).mkdir("AX0002_2013-01-01_10-00-00.txt"));

    const QString left = AfterStart();
    // The new run and the 49 newest before it: everything up to 76 days old.
    QStringList expected = foreign;
    expected << "AX0001_2014-03-05_14-07-09.txt"
             << "AX0002_2013-01-01_10-00-00.txt";
    for (const int days : {1, 10, 29})
        expected << JournalName(days);
    for (int days = 31; days <= 76; ++days)
        expected << JournalName(days);
    EXPECT_EQ(left, Sorted(expected));
}

TEST_F(RunJournalTest, EveryJournalOfTheLastThirtyDaysStaysWhenTheyAreMoreThanFifty) {
    // 60 journals of the last 30 days, 5 older ones.
    for (int k = 0; k < 60; ++k)
        MakeFile(JournalName(k), 0.5 + k * 0.48);
    for (int k = 60; k < 65; ++k)
        MakeFile(JournalName(k), 31 + (k - 60));

    const QString left = AfterStart();
    QStringList expected{"AX0001_2014-03-05_14-07-09.txt"};
    for (int k = 0; k < 60; ++k)
        expected << JournalName(k);
    EXPECT_EQ(left, Sorted(expected));
}

TEST_F(RunJournalTest, AFolderThatCannotBeWrittenGivesFalseAndTheReason) {
    // A file where a folder would have to be: no one, root included, can
    // write a journal there.
    QFile blocker(dir.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString blocked = dir.filePath("blocked/Measurements");
    RunJournal journal(blocked);
    QString error;
    EXPECT_FALSE(journal.Start(QStringLiteral("AX0001"), start, &error));
    EXPECT_FALSE(journal.IsOpen());
    EXPECT_TRUE(journal.Path().isEmpty());
    const QString said = "Measurement journals cannot be written to the folder " +
                         QDir::toNativeSeparators(blocked) + ": ";
    EXPECT_TRUE(error.startsWith(said)) << error.toStdString();
    EXPECT_GT(error.size(), said.size()) << "the system's reason follows";

    EXPECT_FALSE(journal.Append(NumberedRecord(0), EnglishRows(), u':', &error));
    EXPECT_EQ(error, "The measurement journal is not open.");
}

TEST_F(RunJournalTest, AFullDiskClosesTheJournalHoldingItsWholeRecordsAndSaysWhy) {
    RunJournal journal(folder);
    ASSERT_TRUE(journal.Start(QStringLiteral("AX0001"), start));
    const TMeasurementValueArray two = Numbered(2);
    for (std::size_t i = 0; i < two.Size(); ++i)
        ASSERT_TRUE(journal.Append(two[i], EnglishRows(), u':'));
    QString error;
    {
        // Half of the next record fits.
        const qint64 whole = QFileInfo(journal.Path()).size();
        FileSizeLimit full(whole + (whole - 2) / 4);
        if (!full.Active())
            GTEST_SKIP() << "no file size limit on this system";
        EXPECT_FALSE(journal.Append(NumberedRecord(2), EnglishRows(), u':', &error));
    }
    EXPECT_FALSE(journal.IsOpen());
    const QString said = "The measurement journal " + QDir::toNativeSeparators(journal.Path()) +
                         " could not be written: ";
    EXPECT_TRUE(error.startsWith(said)) << error.toStdString();
    // The system's reason: the file may not grow.
    EXPECT_EQ(error.mid(said.size()), QString::fromLocal8Bit(std::strerror(EFBIG)));
    EXPECT_EQ(BytesOf(journal.Path()), ExportOf(two));
    // The run goes on without the journal.
    EXPECT_FALSE(journal.Append(NumberedRecord(3), EnglishRows(), u':'));
    EXPECT_EQ(BytesOf(journal.Path()), ExportOf(two));
}

TEST_F(RunJournalTest, AJournalWhoseWriterWasKilledReadsWhole) {
    QProcess writer;
    writer.start(QStringLiteral(TESSRA_JOURNAL_WRITER), {folder});
    ASSERT_TRUE(writer.waitForStarted()) << writer.errorString().toStdString();
    QString path;
    int acknowledged = -1;
    const auto takeLines = [&] {
        while (writer.canReadLine()) {
            const QString line = QString::fromLocal8Bit(writer.readLine()).trimmed();
            if (path.isEmpty())
                path = line;
            else
                acknowledged = line.toInt();
        }
    };
    // Killed in the middle of its loop, once it has appended some records.
    while (acknowledged < 40 && writer.waitForReadyRead(10000))
        takeLines();
    writer.kill();
    ASSERT_TRUE(writer.waitForFinished(10000));
    ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit)
        << writer.readAllStandardError().toStdString();
    takeLines();
    ASSERT_GE(acknowledged, 40);

    TMeasurementValueArray read;
    const ReadResult result = MeasurementExport::Read(path, read);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    // Every record the writer had appended, and at most the one it was on.
    EXPECT_GE(result.records, static_cast<std::size_t>(acknowledged + 1));
    EXPECT_LE(result.records, static_cast<std::size_t>(acknowledged + 2));
    EXPECT_LT(result.leftOutLines, 12);
    for (std::size_t i = 0; i < read.Size(); ++i) {
        const MeasurementValues expected = NumberedRecord(static_cast<int>(i));
        ASSERT_EQ(read[i].Time, expected.Time) << "record " << i;
        for (std::size_t p = 0; p < MeasurementPositionCount; ++p)
            ASSERT_EQ(read[i].Value(p), expected.Value(p)) << "record " << i << " position " << p;
    }
}
