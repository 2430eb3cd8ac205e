#pragma once

// Text files written by older Windows tools are 8-bit text in the Windows
// code page; newer ones are UTF-8. A file is read as UTF-8 when it is valid
// UTF-8, otherwise in the 8-bit code page: the system's ANSI code page on
// Windows, Windows-1252 elsewhere (the code page those tools used), so that
// a folder name such as "Jürgen" survives either way.

#include <QByteArray>
#include <QString>

#include <optional>

bool IsValidUtf8(const QByteArray& bytes);
// bytes in the Windows 8-bit code page.
QString FromWindowsCodePage(const QByteArray& bytes);
// text in the Windows 8-bit code page; nothing when a character has no code there.
std::optional<QByteArray> ToWindowsCodePage(const QString& text);
// UTF-8 when valid, else the Windows code page.
QString DecodeTextFileBytes(const QByteArray& bytes);
