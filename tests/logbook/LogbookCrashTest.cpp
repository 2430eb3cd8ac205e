// A program killed (SIGKILL) while it writes one entry after the other
// leaves a sound logbook that lacks at most the entry being written.

#include "LogbookFixture.h"

#include <QProcess>

using namespace LogbookTest;

TEST(LogbookCrash, KillingTheWriterLeavesASoundFileWithEveryEntryWritten) {
    if (!HaveSqlite3())
        GTEST_SKIP() << "the sqlite3 program is not installed";
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("logbook.sqlite"));
    QProcess writer;
    writer.start(QStringLiteral(TESSRA_LOGBOOK_WRITER), {path});
    ASSERT_TRUE(writer.waitForStarted(10000));

    // Each line is the number of an entry whose transaction has ended.
    int written = 0;
    QByteArray pending;
    const auto readLines = [&] {
        pending += writer.readAllStandardOutput();
        while (pending.contains('\n')) {
            const qsizetype end = pending.indexOf('\n');
            written = pending.left(end).toInt();
            pending.remove(0, end + 1);
        }
    };
    while (written < 400 && writer.state() == QProcess::Running) {
        writer.waitForReadyRead(10000);
        readLines();
    }
    ASSERT_GE(written, 400) << writer.readAllStandardError().toStdString();
    writer.kill();
    ASSERT_TRUE(writer.waitForFinished(10000));
    readLines();

    EXPECT_EQ(Sqlite3(path, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    // Entries 1 to the last one stored, with no gap, and none reported
    // written is missing; the one being written may or may not be there.
    const std::optional<QString> stored =
        Sqlite3(path, QStringLiteral("SELECT COUNT(*), MIN(CAST(summary AS INTEGER)),"
                                     " MAX(CAST(summary AS INTEGER)) FROM entries"));
    ASSERT_TRUE(stored.has_value());
    const QStringList fields = stored->split(u'|');
    ASSERT_EQ(fields.size(), 3);
    const int count = fields[0].toInt();
    EXPECT_EQ(fields[1].toInt(), 1);
    EXPECT_EQ(fields[2].toInt(), count);
    EXPECT_GE(count, written);
    EXPECT_LE(count, written + 1);
}
