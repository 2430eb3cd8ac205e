#pragma once

// Reading a text file the program expects to be small (settings, a
// configuration, a language file) whole, with a cap on its size.

#include <QByteArray>
#include <QString>

#include <optional>

// The file's bytes; nothing when it cannot be read or holds more than
// maxBytes. Only as much memory as the file needs is taken.
std::optional<QByteArray> ReadSmallFile(const QString& path, qint64 maxBytes);
