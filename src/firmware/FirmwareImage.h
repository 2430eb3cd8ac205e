#pragma once

// What the update procedure needs to know about a firmware image file
// ("*.bin") before it sends it: the version its 48-byte header announces,
// whether it is small enough to be an image at all, and how its name is
// shown in the file row.
//
// Header: bytes 0-15 the product identification, 16-31 the firmware
// version, 32-47 not used; each text padded with zero bytes.

#include <QByteArray>
#include <QString>

namespace Firmware {

constexpr qint64 HeaderBytes = 48;
// The largest image the procedure sends: 16 MiB, far beyond any gauge's flash.
constexpr qint64 MaxImageBytes = 16 * 1024 * 1024;
// The identification of the images whose version the procedure can check.
inline const QByteArray CheckedIdentification = QByteArrayLiteral("TESSRA2 S");
// Characters of the file name shown in the file row before "...".
constexpr int ShownNameLength = 40;

// The header texts of an image's first bytes (a shorter file gives what it has).
struct ImageHeader {
    QByteArray identification; // up to its first zero byte
    QByteArray version;        // up to its first zero byte
};
ImageHeader ParseHeader(const QByteArray& firstBytes);

// The version the image at fileName announces: empty when the file does not
// exist or cannot be read, and for any identification but "TESSRA2 S".
QString ReadFileVersion(const QString& fileName);

// The file name without its folder, cut to its first 40 characters
// followed by "..." when longer.
QString ShownFileName(const QString& path);

// Too large to be a firmware image (more than MaxImageBytes).
bool IsTooLarge(qint64 size);

} // namespace Firmware
