#include "ui/SmallFile.h"

#include <QFile>

#include <algorithm>

std::optional<QByteArray> ReadSmallFile(const QString& path, qint64 maxBytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxBytes)
        return std::nullopt;
    // Read in pieces: a file may grow after its size was taken, and devices
    // report no size at all.
    QByteArray bytes;
    bytes.reserve(qsizetype(std::min<qint64>(file.size(), maxBytes)));
    char piece[16384];
    for (;;) {
        const qint64 got = file.read(piece, sizeof piece);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        if (bytes.size() + got > maxBytes)
            return std::nullopt;
        bytes.append(piece, qsizetype(got));
    }
    return bytes;
}
