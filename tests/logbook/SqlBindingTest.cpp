// SQL is only ever built from fixed text with bound values: values full of
// quotes and SQL arrive as they are, and no statement text can be put
// together at run time.

#include "LogbookFixture.h"
#include "logbook/SqlStatement.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <string>
#include <type_traits>

using namespace LogbookTest;

// A statement's text is a literal: a run-time string does not convert.
static_assert(!std::is_constructible_v<SqlText, QString>);
static_assert(!std::is_constructible_v<SqlText, std::string>);
static_assert(!std::is_constructible_v<SqlText, const char*>);
static_assert(!std::is_convertible_v<QString, SqlText>);

namespace {

// Values a careless program would turn into SQL of their own.
const QString Hostile = QStringLiteral("12'; DROP TABLE entries; --");
const QString HostileSummary =
    QStringLiteral("O'Brien said \"hi\" \\' ); DELETE FROM entries WHERE '1'='1 -- ?1 :name $1 %1");

} // namespace

TEST(SqlBinding, ValuesFullOfQuotesAndSqlAreStoredAsTheyAre) {
    if (!HaveSqlite3())
        GTEST_SKIP() << "the sqlite3 program is not installed";
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("logbook.sqlite"));
    LogbookEntry entry = Entry(Hostile, LogbookKind::ConfigurationImport, HostileSummary);
    entry.osUser = QStringLiteral("robert'); DROP TABLE team_unsent;--");
    entry.files = {QStringLiteral("/tmp/it's \"here\".txt")};
    {
        LocalLogbook logbook(path, {}, QStringLiteral("hostile"));
        ASSERT_TRUE(logbook.Add(entry));
        ASSERT_TRUE(logbook.Add(
            Entry(QStringLiteral("2"), LogbookKind::Connection, QStringLiteral("plain"))));
        LogbookQuery query;
        query.serialNumber = Hostile;
        const std::vector<LogbookEntry> read = logbook.Read(query);
        ASSERT_EQ(read.size(), 1u);
        EXPECT_EQ(read[0], entry);
    }
    // Read by another program: every table there, every value as given.
    EXPECT_EQ(Sqlite3(path, QStringLiteral("SELECT COUNT(*) FROM entries")), QStringLiteral("2"));
    EXPECT_EQ(Sqlite3(path, QStringLiteral("SELECT COUNT(*) FROM team_unsent")),
              QStringLiteral("2"));
    EXPECT_EQ(Sqlite3(path, QStringLiteral("SELECT serial_number FROM entries WHERE seq = 1")),
              Hostile);
    EXPECT_EQ(Sqlite3(path, QStringLiteral("SELECT summary FROM entries WHERE seq = 1")),
              HostileSummary);
    EXPECT_EQ(Sqlite3(path, QStringLiteral("SELECT json_extract(files, '$[0]') FROM entries"
                                           " WHERE seq = 1")),
              entry.files[0]);
}

TEST(SqlBinding, OnlyTheStatementClassRunsSqlAndOnlyWithItsFixedText) {
    const QDir sources(QStringLiteral(TESSRA_SOURCE_DIR "/src/logbook"));
    ASSERT_TRUE(sources.exists());
    // A call that runs or prepares SQL, or a query object of Qt's.
    const QRegularExpression runsSql(
        QStringLiteral(R"(\bQSqlQuery\b|\.exec\s*\(|\.prepare\s*\(|\bexecBatch\b)"));
    int filesRead = 0;
    QStringList offenders;
    for (const QString& name :
         sources.entryList({QStringLiteral("*.cpp"), QStringLiteral("*.h")})) {
        QFile file(sources.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        ++filesRead;
        const QString text = QString::fromUtf8(file.readAll());
        if (name.startsWith(QLatin1String("SqlStatement.")))
            continue;
        const QRegularExpressionMatch match = runsSql.match(text);
        if (match.hasMatch())
            offenders.append(name + QStringLiteral(": ") + match.captured());
    }
    EXPECT_GT(filesRead, 5);
    EXPECT_TRUE(offenders.isEmpty()) << offenders.join(u'\n').toStdString();

    // The statement class prepares nothing but the literal it was given.
    QFile statement(sources.filePath(QStringLiteral("SqlStatement.cpp")));
    ASSERT_TRUE(statement.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(statement.readAll());
    const QRegularExpression prepare(QStringLiteral(R"(\.prepare\s*\(([^;]*)\);)"));
    QStringList prepared;
    for (auto it = prepare.globalMatch(text); it.hasNext();)
        prepared.append(it.next().captured(1).trimmed());
    EXPECT_EQ(prepared, QStringList{QStringLiteral("sql.Text()")});
    EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral(R"(\.exec\s*\(\s*[^)\s])"))))
        << "a statement text passed to exec()";
}
