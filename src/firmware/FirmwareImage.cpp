#include "firmware/FirmwareImage.h"

#include <QFile>
#include <QFileInfo>

namespace Firmware {

namespace {

constexpr qsizetype FieldBytes = 16;

// The text of a 16-byte field of first, from offset up to its first zero byte.
QByteArray Field(const QByteArray& first, qsizetype offset) {
    if (first.size() <= offset)
        return {};
    QByteArray field = first.mid(offset, FieldBytes);
    const qsizetype zero = field.indexOf('\0');
    if (zero >= 0)
        field.truncate(zero);
    return field;
}

} // namespace

ImageHeader ParseHeader(const QByteArray& firstBytes) {
    return ImageHeader{Field(firstBytes, 0), Field(firstBytes, FieldBytes)};
}

QString ReadFileVersion(const QString& fileName) {
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    const ImageHeader header = ParseHeader(file.read(HeaderBytes));
    if (header.identification != CheckedIdentification)
        return {};
    return QString::fromLatin1(header.version);
}

QString ShownFileName(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (name.size() <= ShownNameLength)
        return name;
    return name.left(ShownNameLength) + QStringLiteral("...");
}

bool IsTooLarge(qint64 size) {
    return size > MaxImageBytes;
}

} // namespace Firmware
