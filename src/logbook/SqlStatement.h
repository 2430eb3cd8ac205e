#pragma once

// Every SQL statement of the logbook runs through SqlStatement, and nothing
// else in the logbook touches QSqlQuery. A statement's text is a string
// literal fixed when the program is built (SqlText takes nothing else: a
// text put together at run time does not compile), and every value is
// bound to a "?" placeholder. So no value, however many quotes or SQL words
// it holds, ever becomes part of a statement.

#include "logbook/LogbookEntry.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <cstddef>
#include <initializer_list>

class SqlText {
public:
    template <std::size_t N>
    consteval SqlText(const char (&text)[N]) : text_(text) {} // NOLINT: implicit on purpose

    QString Text() const { return QString::fromLatin1(text_); }

private:
    const char* text_;
};

class SqlStatement {
public:
    // Prepares sql on the connection database.
    SqlStatement(const QSqlDatabase& database, SqlText sql);

    // Binds values to the placeholders in order and runs the statement;
    // false on an error (Error() tells which). A statement can be run
    // again with other values.
    bool Run(std::initializer_list<QVariant> values = {});
    bool Run(const QVariantList& values);
    // The next row of the result; Value(i) is its column i.
    bool Next() { return query_.next(); }
    QVariant Value(int column) const { return query_.value(column); }
    // The number of rows the last run changed.
    int RowsChanged() const { return query_.numRowsAffected(); }
    QSqlError Error() const { return query_.lastError(); }
    // Frees the result, so that a read does not hold the database.
    void Finish() { query_.finish(); }

private:
    QSqlQuery query_;
    bool prepared_;
};

// A text to bind: never NULL (Qt binds a null QString as NULL); an
// unknown text is stored empty.
inline QString NotNull(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

// An entry as both logbooks store it, column by column: id, time, serial
// number, hardware index, model, firmware version, kind, summary, details,
// files, user, host, program version (texts never NULL).
QVariantList EntryColumnValues(const LogbookEntry& entry);
// The entry of a row whose columns first, first + 1, ... are those.
LogbookEntry EntryOfColumns(const SqlStatement& row, int first);

// Runs one statement without a result; false on an error (error set).
bool RunSql(const QSqlDatabase& database, SqlText sql, std::initializer_list<QVariant> values,
            QSqlError* error = nullptr);
