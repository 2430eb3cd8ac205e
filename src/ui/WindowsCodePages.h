#pragma once

// Text for the 8-bit files the precision test writes. The log file is plain
// 8-bit text in the Windows code page of the language its labels are in:
// 1252 (Western European) for German, English, French and Spanish, 1251
// (Cyrillic) for Russian, 1254 (Turkish) for Turkish. The same bytes are
// written on every platform, so a log opens alike wherever it is read.
// A character the code page lacks becomes "?".

#include <QByteArray>
#include <QString>

namespace Precision {

enum class CodePage { Windows1252, Windows1251, Windows1254 };

// The code page of a language offset (any other offset: 1252).
CodePage CodePageOfLanguage(int languageOffset);
QByteArray EncodeEightBit(const QString& text, CodePage page);
// The name iconv and other tools know the code page by ("CP1252", ...).
const char* CodePageName(CodePage page);

} // namespace Precision
