#include "ui/EightBitText.h"

#include "ui/WindowsCodePages.h"

#include <QStringDecoder>

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
    for (const char c : bytes)
        text.append(QChar(Windows1252Character(static_cast<unsigned char>(c))));
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
        const int byte = CodePageByte(c.unicode(), CodePage::Windows1252);
        if (byte < 0)
            return std::nullopt;
        bytes.append(static_cast<char>(byte));
    }
    return bytes;
#endif
}

QString DecodeTextFileBytes(const QByteArray& bytes) {
    return IsValidUtf8(bytes) ? QString::fromUtf8(bytes) : FromWindowsCodePage(bytes);
}
