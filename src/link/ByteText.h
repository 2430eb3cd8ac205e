#pragma once

// The gauge speaks 8-bit bytes: replies, values and commands are held as
// std::string and shown as text one byte to one character.

#include <QString>

#include <string>
#include <string_view>

// bytes as text, each byte one character (ISO 8859-1).
inline QString Latin1Text(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// text with the ASCII letters a-z in upper case; other bytes unchanged.
inline std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}
