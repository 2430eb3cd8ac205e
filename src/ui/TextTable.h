#pragma once

// The built-in text table. Each language's texts live in a data file
// compiled into the program (texts/<code>.txt, see texts.qrc): UTF-8, one
// text a line as "id=text", "#" starts a comment line, and the two
// characters "\r\n" inside a text stand for a line break (CR LF). The text
// of id N in a language is stored under N + the language's offset.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace TextTable {

// Every block holds ids below this; an id + offset never reaches the next block.
constexpr int BlockSize = 10000;

struct Language {
    const char* code; // data file name without ".txt"
    int offset;
};

// The six blocks: de 0, en 10000, fr 20000, es 30000, ru 40000, tr 50000.
const std::vector<Language>& Languages();
bool IsLanguageOffset(int offset);

struct ParsedBlock {
    QHash<int, QString> texts; // by bare id (no offset)
    QStringList problems;      // one line per rejected line: "<line number>: <reason>"
};

// Parses one data file. Rejected lines (no "=", an id that is not a decimal
// number between 1 and BlockSize - 1, a repeated id) are listed in problems
// and skipped; of two lines for the same id the first is kept.
ParsedBlock ParseBlock(const QByteArray& utf8);

// The table built from the compiled-in data files: stored id -> text.
const QHash<int, QString>& Table();
// Problems found while building Table(), each prefixed with the file name.
const QStringList& Problems();

} // namespace TextTable
