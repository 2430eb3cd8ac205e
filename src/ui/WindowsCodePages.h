#pragma once

// The Windows 8-bit code pages the program reads and writes: 1252 (Western
// European) for German, English, French and Spanish, 1251 (Cyrillic) for
// Russian, 1254 (Turkish) for Turkish. The tables are the program's own, so
// the same bytes come out on every platform.

#include <QByteArray>
#include <QString>

enum class CodePage { Windows1252, Windows1251, Windows1254 };

// The code page of a language offset (any other offset: 1252).
CodePage CodePageOfLanguage(int languageOffset);
// The name iconv and other tools know the code page by ("CP1252", ...).
const char* CodePageName(CodePage page);

// The byte that holds c in the code page, or -1 when the code page lacks it.
// The five bytes 1252 leaves unassigned stand for the C1 controls of the
// same value, as Windows maps them.
int CodePageByte(char16_t c, CodePage page);
// The character a byte of code page 1252 stands for.
char16_t Windows1252Character(unsigned char byte);

// text in the code page; a character the code page lacks becomes "?".
QByteArray EncodeEightBit(const QString& text, CodePage page);
