#pragma once

// What the logbook's tests share: logbooks in temporary folders, entries to
// write, the sqlite3 program as an independent reader, the warnings given.

#include "logbook/LocalLogbook.h"
#include "logbook/Logbook.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <optional>

namespace LogbookTest {

inline LogbookEntry Entry(const QString& serial, LogbookKind kind, const QString& summary,
                          const QDateTime& time = QDateTime()) {
    LogbookEntry entry;
    entry.gauge = {serial, QStringLiteral("A"), 1, QStringLiteral("1.31")};
    entry.kind = kind;
    entry.summary = summary;
    entry.timeUtc = time;
    entry.details = {{QStringLiteral("summary"), summary}};
    CompleteEntry(entry);
    return entry;
}

inline bool HaveSqlite3() {
    return !QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty();
}

// The output of the sqlite3 program for sql on the file at path ("a|b"
// lines), none when it fails.
inline std::optional<QString> Sqlite3(const QString& path, const QString& sql) {
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), path, sql});
    if (!sqlite.waitForFinished(60000) || sqlite.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(sqlite.readAllStandardOutput()).trimmed();
}

// Waits (processing events, as the window would) until done() holds.
template <typename Done> bool WaitFor(Done done, int timeoutMs = 30000) {
    return QTest::qWaitFor(done, timeoutMs);
}

struct Warnings {
    QStringList texts;
    LocalLogbook::Warn Sink() {
        return [this](const QString& text) { texts.append(text); };
    }
};

} // namespace LogbookTest
