#include "ui/WindowsCodePages.h"

#include "ui/WideLanguageHandler.h"

#include <array>

namespace {

constexpr char Unmapped = '?';

// Bytes 0x80 to 0x9F of code page 1252; the unassigned ones are the C1
// controls of the same value.
constexpr std::array<char16_t, 32> Western80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Bytes 0x80 to 0xBF of code page 1251; 0xC0 to 0xFF are U+0410 to U+044F.
constexpr std::array<char16_t, 64> Cyrillic80 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0,      0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

// Code page 1254 is 1252 with six Turkish letters in place of Icelandic
// ones, and without 0x8E and 0x9E.
struct TurkishLetter {
    unsigned char byte;
    char16_t letter;
};
constexpr std::array<TurkishLetter, 6> TurkishLetters = {{{0xD0, 0x011E},
                                                          {0xDD, 0x0130},
                                                          {0xDE, 0x015E},
                                                          {0xF0, 0x011F},
                                                          {0xFD, 0x0131},
                                                          {0xFE, 0x015F}}};

int FromTable(char16_t c, const char16_t* table, std::size_t size, int firstByte) {
    for (std::size_t i = 0; i < size; ++i)
        if (table[i] != 0 && table[i] == c)
            return firstByte + static_cast<int>(i);
    return -1;
}

int Western(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    return FromTable(c, Western80.data(), Western80.size(), 0x80);
}

int Cyrillic(char16_t c) {
    if (c < 0x80)
        return c;
    if (c >= 0x0410 && c <= 0x044F)
        return 0xC0 + (c - 0x0410);
    return FromTable(c, Cyrillic80.data(), Cyrillic80.size(), 0x80);
}

int Turkish(char16_t c) {
    for (const TurkishLetter& t : TurkishLetters) {
        if (t.letter == c)
            return t.byte;
        if (t.byte == c) // the Icelandic letter that byte held in 1252
            return -1;
    }
    if (c == 0x017D || c == 0x017E)
        return -1;
    return Western(c);
}

} // namespace

char16_t Windows1252Character(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? Western80[byte - 0x80] : char16_t(byte);
}

int CodePageByte(char16_t c, CodePage page) {
    switch (page) {
    case CodePage::Windows1251:
        return Cyrillic(c);
    case CodePage::Windows1254:
        return Turkish(c);
    case CodePage::Windows1252:
        break;
    }
    return Western(c);
}

CodePage CodePageOfLanguage(int languageOffset) {
    switch (languageOffset) {
    case OffsetRussian:
        return CodePage::Windows1251;
    case OffsetTurkish:
        return CodePage::Windows1254;
    default:
        return CodePage::Windows1252;
    }
}

const char* CodePageName(CodePage page) {
    switch (page) {
    case CodePage::Windows1251:
        return "CP1251";
    case CodePage::Windows1254:
        return "CP1254";
    case CodePage::Windows1252:
        break;
    }
    return "CP1252";
}

QByteArray EncodeEightBit(const QString& text, CodePage page) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar qc : text) {
        const int byte = CodePageByte(qc.unicode(), page);
        bytes.append(byte < 0 ? Unmapped : static_cast<char>(byte));
    }
    return bytes;
}

