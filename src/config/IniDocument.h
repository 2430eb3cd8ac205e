#pragma once

// A small INI-style text document that keeps every line: reading compares
// section and key names without regard to letter case, ignores blanks around
// values and lets the first occurrence of a key count; writing changes an
// existing key where it stands, appends a new key at the end of its section
// (creating the section at the end of the file when missing) and leaves every
// other line as it was, byte for byte. The document is written with CR LF
// line ends. Texts are UTF-8, or the Windows 8-bit code page in a file
// that is not valid UTF-8 (older tools wrote such files); a text written
// into such a file keeps that code page unless it cannot hold the text.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class IniDocument {
public:
    // An INI file is a few hundred bytes; anything beyond this is not one.
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    static IniDocument FromBytes(const QByteArray& bytes);
    QByteArray ToBytes() const;
    // The whole file, or nothing when it cannot be read or is too large to be one.
    static std::optional<IniDocument> Load(const QString& path);
    // Writes the whole file (write, then rename); false when that failed.
    bool Save(const QString& path) const;

    bool HasSection(const QByteArray& section) const;
    // Value of the first occurrence of key in the first section of that name,
    // blanks around it removed; nothing when the key is absent.
    std::optional<QByteArray> Value(const QByteArray& section, const QByteArray& key) const;
    // Line breaks in value are dropped, so a value can never add lines of its own.
    void SetValue(const QByteArray& section, const QByteArray& key, const QByteArray& value);

    // The value as text in the file's encoding.
    std::optional<QString> Text(const QByteArray& section, const QByteArray& key) const;
    void SetText(const QByteArray& section, const QByteArray& key, const QString& text);

    const QList<QByteArray>& Lines() const { return lines_; }

private:
    struct SectionSpan {
        int header = -1; // line of "[name]"
        int end = -1;    // first line after the section
    };
    SectionSpan FindSection(const QByteArray& section) const;
    int FindKey(const SectionSpan& span, const QByteArray& key) const;

    QString Decode(const QByteArray& bytes) const;

    QList<QByteArray> lines_;
    bool eightBit_ = false;
    bool byteOrderMark_ = false;
};

// An integer as the configuration file holds it: decimal with an optional
// sign, or hexadecimal with the prefix "0x" or "$". Anything else, or a
// number beyond the 32-bit range, counts as absent.
std::optional<int> ParseIniInteger(const QByteArray& text);
