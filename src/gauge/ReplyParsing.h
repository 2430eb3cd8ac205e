#pragma once

// Pure helpers that judge and take apart the gauge's raw reply lines. They
// accept any bytes (NUL bytes, missing line ends, very long lines) and never
// read outside the text they are given.

#include <string>
#include <string_view>
#include <vector>

namespace GaugeReply {

inline constexpr std::string_view LineEnd = "\r\n";

// True when the reply is a complete line (ends in CR LF).
bool EndsWithLineEnd(std::string_view reply);

// The content of a raw reply: without the first character (the address) and
// the last two (CR LF). Empty for replies of 3 characters or fewer and for a
// line that never ended (its last two characters are content, not CR LF).
std::string Content(std::string_view reply);

// Decimal integer with an optional sign ("+5" gives 5) that fits in an int.
// Anything else (empty, blanks, other characters, overflow) fails.
bool ParseInteger(std::string_view text, int& value);

// Splits a data reply's content into its values: a value starts at every "+"
// and every "-" and keeps its sign; whatever comes before the first sign is
// dropped. "+1.5+0.00-2" gives +1.5, +0.00 and -2.
std::vector<std::string> SplitSignedValues(std::string_view content);

// The text with every CR LF pair removed.
std::string RemoveLineEnds(std::string_view text);

// A character the SDI-12 bus accepts as a sensor address: 0-9, A-Z, a-z.
bool IsAddressCharacter(char c);

// A firmware version text of the form V + major + "." + minor + "." + patch.
struct FirmwareVersion {
    int major = 0;
    int minor = 0;
    int patch = 0; // first digit of the third component
};
enum class VersionParse { Parsed, TooFewParts, NotANumber };
// Splits at "."; major is the first part without any "V", minor the second,
// patch the first character of the third. version is written only when the
// result is Parsed.
VersionParse ParseFirmwareVersion(std::string_view text, FirmwareVersion& version);

// Version 1.30.3 or later.
bool OffersImpulseFactorOnModel0(const FirmwareVersion& version);

// The measurement announcement a + ttt + n + CR LF.
enum class AnnouncementParse { Parsed, SecondsUnreadable, CountUnreadable };
// Needs a complete line of at least 4 characters. seconds is the text from the
// 2nd to the fourth-last character, count the third-last character. count is
// written only when both are readable.
AnnouncementParse ParseAnnouncement(std::string_view reply, int& seconds, int& count);

} // namespace GaugeReply
