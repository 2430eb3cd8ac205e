#include "ui/EightBitText.h"

#include <QStringDecoder>

#include <algorithm>
#include <iterator>

namespace {

// Windows-1252 at 0x80 to 0x9F; the five unassigned codes stay the C1
// controls of the same value, as Windows maps them.
constexpr char16_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

bool IsValidUtf8(const QByteArray& bytes) {
    // Stateless: a sequence cut off at the end is an error, not pending.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString ignored = utf8(bytes);
    return !utf8.hasError();
}

QString FromWindowsCodePage(const QByteArray& bytes) {
#ifdef Q_OS_WIN
    return QString::fromLocal8Bit(bytes);
#else
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(QChar(byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80]
                                                      : char16_t(byte)));
    }
    return text;
#endif
}

std::optional<QByteArray> ToWindowsCodePage(const QString& text) {
#ifdef Q_OS_WIN
    const QByteArray bytes = text.toLocal8Bit();
    if (QString::fromLocal8Bit(bytes) != text)
        return std::nullopt;
    return bytes;
#else
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes.append(char(u));
            continue;
        }
        const auto* found = std::find(std::begin(Windows1252High), std::end(Windows1252High), u);
        if (found == std::end(Windows1252High))
            return std::nullopt;
        bytes.append(char(0x80 + (found - std::begin(Windows1252High))));
    }
    return bytes;
#endif
}

QString DecodeTextFileBytes(const QByteArray& bytes) {
    return IsValidUtf8(bytes) ? QString::fromUtf8(bytes) : FromWindowsCodePage(bytes);
}
