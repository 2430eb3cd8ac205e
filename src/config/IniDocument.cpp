#include "config/IniDocument.h"

#include "ui/EightBitText.h"
#include "ui/SmallFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QSaveFile>

#include <limits>

namespace {

// "[name]" (blanks allowed around it): the name, else nothing.
std::optional<QByteArray> SectionName(const QByteArray& line) {
    const QByteArray text = line.trimmed();
    if (!text.startsWith('['))
        return std::nullopt;
    const qsizetype close = text.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return text.mid(1, close - 1).trimmed();
}

bool SameName(const QByteArray& a, const QByteArray& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Key of a "key=value" line, blanks removed; empty for other lines.
QByteArray KeyOf(const QByteArray& line) {
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return QByteArray();
    return line.left(equals).trimmed();
}

} // namespace

IniDocument IniDocument::FromBytes(const QByteArray& bytes) {
    IniDocument document;
    QByteArray text = bytes;
    document.eightBit_ = !IsValidUtf8(bytes);
    document.byteOrderMark_ = !document.eightBit_ && text.startsWith("\xEF\xBB\xBF");
    if (document.byteOrderMark_) // written by an editor that marks UTF-8
        text.remove(0, 3);
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    if (text.isEmpty())
        return document;
    if (text.endsWith('\n'))
        text.chop(1);
    document.lines_ = text.split('\n');
    return document;
}

QByteArray IniDocument::ToBytes() const {
    QByteArray bytes = byteOrderMark_ ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    for (const QByteArray& line : lines_) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

IniDocument::SectionSpan IniDocument::FindSection(const QByteArray& section) const {
    SectionSpan span;
    for (int i = 0; i < lines_.size(); ++i) {
        const std::optional<QByteArray> name = SectionName(lines_.at(i));
        if (!name)
            continue;
        if (span.header >= 0) {
            span.end = i;
            return span;
        }
        if (SameName(*name, section))
            span.header = i;
    }
    if (span.header >= 0)
        span.end = static_cast<int>(lines_.size());
    return span;
}

int IniDocument::FindKey(const SectionSpan& span, const QByteArray& key) const {
    if (span.header < 0)
        return -1;
    for (int i = span.header + 1; i < span.end; ++i) {
        const QByteArray name = KeyOf(lines_.at(i));
        if (!name.isEmpty() && SameName(name, key))
            return i;
    }
    return -1;
}

bool IniDocument::HasSection(const QByteArray& section) const {
    return FindSection(section).header >= 0;
}

std::optional<QByteArray> IniDocument::Value(const QByteArray& section,
                                             const QByteArray& key) const {
    const int line = FindKey(FindSection(section), key);
    if (line < 0)
        return std::nullopt;
    const QByteArray& text = lines_.at(line);
    return text.mid(text.indexOf('=') + 1).trimmed();
}

QString IniDocument::Decode(const QByteArray& bytes) const {
    if (eightBit_)
        return FromWindowsCodePage(bytes);
    // A value is never the start of the file: a U+FEFF it begins with is
    // part of the value (fromUtf8 would drop it, and each save lose one).
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return utf8(bytes);
}

std::optional<QString> IniDocument::Text(const QByteArray& section, const QByteArray& key) const {
    const std::optional<QByteArray> value = Value(section, key);
    if (!value)
        return std::nullopt;
    return Decode(*value);
}

void IniDocument::SetText(const QByteArray& section, const QByteArray& key, const QString& text) {
    if (eightBit_) {
        if (const std::optional<QByteArray> bytes = ToWindowsCodePage(text)) {
            SetValue(section, key, *bytes);
            return;
        }
        // The code page cannot hold it: the whole file becomes UTF-8, every
        // other line keeping its text.
        for (QByteArray& line : lines_)
            line = FromWindowsCodePage(line).toUtf8();
        eightBit_ = false;
    }
    SetValue(section, key, text.toUtf8());
}

std::optional<IniDocument> IniDocument::Load(const QString& path) {
    const std::optional<QByteArray> bytes = ReadSmallFile(path, MaxFileBytes);
    if (!bytes)
        return std::nullopt;
    return FromBytes(*bytes);
}

bool IniDocument::Save(const QString& path) const {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(ToBytes()) >= 0 && file.commit();
}

void IniDocument::SetValue(const QByteArray& section, const QByteArray& key,
                           const QByteArray& rawValue) {
    QByteArray value = rawValue;
    value.replace('\r', QByteArray()).replace('\n', QByteArray());
    const SectionSpan span = FindSection(section);
    if (span.header < 0) {
        lines_.append('[' + section + ']');
        lines_.append(key + '=' + value);
        return;
    }
    const int line = FindKey(span, key);
    if (line >= 0) {
        // The key keeps its spelling and its place.
        lines_[line] = KeyOf(lines_.at(line)) + '=' + value;
        return;
    }
    // After the last line of the section that is not blank.
    int insertAt = span.header + 1;
    for (int i = span.header + 1; i < span.end; ++i)
        if (!lines_.at(i).trimmed().isEmpty())
            insertAt = i + 1;
    lines_.insert(insertAt, key + '=' + value);
}

std::optional<int> ParseIniInteger(const QByteArray& text) {
    QByteArray digits = text.trimmed();
    bool negative = false;
    if (digits.startsWith('+') || digits.startsWith('-')) {
        negative = digits.startsWith('-');
        digits.remove(0, 1);
    }
    int base = 10;
    if (digits.startsWith("0x") || digits.startsWith("0X")) {
        base = 16;
        digits.remove(0, 2);
    } else if (digits.startsWith('$')) {
        base = 16;
        digits.remove(0, 1);
    }
    if (digits.isEmpty())
        return std::nullopt;
    qint64 magnitude = 0;
    for (const char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > qint64(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    const qint64 number = negative ? -magnitude : magnitude;
    if (number > std::numeric_limits<int>::max() || number < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(number);
}
