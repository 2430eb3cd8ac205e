#include "gauge/ReplyParsing.h"

#include <climits>
#include <cstdint>

namespace GaugeReply {

bool EndsWithLineEnd(std::string_view reply) {
    return reply.size() >= LineEnd.size() &&
           reply.compare(reply.size() - LineEnd.size(), LineEnd.size(), LineEnd) == 0;
}

std::string Content(std::string_view reply) {
    if (reply.size() <= 3 || !EndsWithLineEnd(reply))
        return {};
    return std::string(reply.substr(1, reply.size() - 3));
}

bool ParseInteger(std::string_view text, int& value) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    // Accumulate as a negative number so INT_MIN fits.
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > static_cast<std::int64_t>(INT_MAX) + 1)
            return false;
    }
    if (!negative && magnitude > INT_MAX)
        return false;
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

std::vector<std::string> SplitSignedValues(std::string_view content) {
    std::vector<std::string> values;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '+' || c == '-')
            values.emplace_back(1, c);
        else if (!values.empty())
            values.back().push_back(c);
    }
    return values;
}

std::string RemoveLineEnds(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, LineEnd.size(), LineEnd) == 0) {
            i += LineEnd.size();
            continue;
        }
        result.push_back(text[i]);
        ++i;
    }
    return result;
}

bool IsAddressCharacter(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

VersionParse ParseFirmwareVersion(std::string_view text, FirmwareVersion& version) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = text.find('.', start);
        if (dot == std::string_view::npos) {
            parts.push_back(text.substr(start));
            break;
        }
        parts.push_back(text.substr(start, dot - start));
        start = dot + 1;
    }
    // A text ending in "." has no further line after it.
    if (parts.size() > 1 && parts.back().empty())
        parts.pop_back();
    if (parts.size() < 3)
        return VersionParse::TooFewParts;

    std::string major;
    for (const char c : parts[0])
        if (c != 'V')
            major.push_back(c);
    FirmwareVersion parsed;
    if (!ParseInteger(major, parsed.major) || !ParseInteger(parts[1], parsed.minor) ||
        !ParseInteger(parts[2].substr(0, 1), parsed.patch))
        return VersionParse::NotANumber;
    version = parsed;
    return VersionParse::Parsed;
}

bool OffersImpulseFactorOnModel0(const FirmwareVersion& v) {
    return v.major > 1 || (v.major >= 1 && v.minor > 30) ||
           (v.major >= 1 && v.minor >= 30 && v.patch >= 3);
}

AnnouncementParse ParseAnnouncement(std::string_view reply, int& seconds, int& count) {
    if (reply.size() < 4 || !EndsWithLineEnd(reply))
        return AnnouncementParse::SecondsUnreadable;
    int s = 0;
    if (!ParseInteger(reply.substr(1, reply.size() - 4), s))
        return AnnouncementParse::SecondsUnreadable;
    int n = 0;
    if (!ParseInteger(reply.substr(reply.size() - 3, 1), n))
        return AnnouncementParse::CountUnreadable;
    seconds = s;
    count = n;
    return AnnouncementParse::Parsed;
}

} // namespace GaugeReply
