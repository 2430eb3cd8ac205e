#include "ui/Utf16TextFile.h"

#include <QSaveFile>
#include <QtEndian>

#include <cstring>

void AppendUtf16Le(QByteArray& out, QStringView text) {
    const qsizetype at = out.size();
    out.resize(at + 2 * text.size());
    char* bytes = out.data() + at;
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        std::memcpy(bytes, text.utf16(), static_cast<std::size_t>(2 * text.size()));
    } else {
        for (qsizetype i = 0; i < text.size(); ++i)
            qToLittleEndian<quint16>(text[i].unicode(), bytes + 2 * i);
    }
}

void AppendUtf16LeLineEnd(QByteArray& out) {
    out.append("\r\0\n\0", 4);
}

QByteArray Utf16LeByteOrderMark() {
    return QByteArray("\xFF\xFE", 2);
}

QString DecodeUtf16Le(QByteArrayView bytes) {
    const qsizetype units = bytes.size() / 2;
    QString text(units, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < units; ++i)
        out[i] = qFromLittleEndian<quint16>(bytes.data() + 2 * i);
    return text;
}

QByteArray EncodeUtf16Lines(const QStringList& lines) {
    qsizetype units = 0;
    for (const QString& line : lines)
        units += line.size() + 2;
    QByteArray out = Utf16LeByteOrderMark();
    out.reserve(2 + 2 * units);
    for (const QString& line : lines) {
        AppendUtf16Le(out, line);
        AppendUtf16LeLineEnd(out);
    }
    return out;
}

bool SaveWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    const bool saved = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                       file.commit();
    if (!saved && error != nullptr)
        *error = file.errorString();
    return saved;
}
