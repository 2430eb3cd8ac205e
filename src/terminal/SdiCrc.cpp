#include "terminal/SdiCrc.h"

namespace SdiCrc {

namespace {

constexpr std::size_t CrcLength = 3;
constexpr std::string_view LineEnd = "\r\n";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// body (the command without address and "!") is prefix, optionally
// followed by one digit.
bool Is(std::string_view body, std::string_view prefix) {
    if (body.substr(0, prefix.size()) != prefix)
        return false;
    const std::string_view rest = body.substr(prefix.size());
    return rest.empty() || (rest.size() == 1 && IsDigit(rest[0]));
}

} // namespace

std::uint16_t Compute(std::string_view text) {
    std::uint16_t crc = 0;
    for (const char c : text) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) != 0 ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001u)
                                  : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

std::string Encode(std::uint16_t crc) {
    std::string text(CrcLength, '\0');
    text[0] = static_cast<char>(0x40 | (crc >> 12));
    text[1] = static_cast<char>(0x40 | ((crc >> 6) & 0x3F));
    text[2] = static_cast<char>(0x40 | (crc & 0x3F));
    return text;
}

bool ReplyCrcMatches(std::string_view rawReply) {
    if (rawReply.size() < 1 + CrcLength + LineEnd.size() ||
        rawReply.substr(rawReply.size() - LineEnd.size()) != LineEnd)
        return false;
    const std::string_view line = rawReply.substr(0, rawReply.size() - LineEnd.size());
    const std::string_view text = line.substr(0, line.size() - CrcLength);
    return line.substr(text.size()) == Encode(Compute(text));
}

bool ReplyTracker::Sent(const std::string& command, bool answered) {
    if (command.size() < 3 || command.back() != '!')
        return false;
    const char address = command[0];
    const std::string_view body = std::string_view(command).substr(1, command.size() - 2);
    if (Is(body, "MC") || Is(body, "CC")) {
        if (answered)
            dataWithCrc_[address] = true;
        return false;
    }
    if (Is(body, "M") || Is(body, "C") || body == "V") {
        if (answered)
            dataWithCrc_[address] = false;
        return false;
    }
    if (Is(body, "D"))
        return body.size() == 2 && dataWithCrc_[address];
    // "aRC0!" to "aRC9!"; "aRC!" is no command of the standard.
    return body.size() == 3 && Is(body, "RC");
}

} // namespace SdiCrc
