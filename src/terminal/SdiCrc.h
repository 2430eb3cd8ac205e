#pragma once

// The CRC of SDI-12 (version 1.3): CRC-16 with the reflected polynomial
// 0xA001 and initial value 0 over the reply from its address up to the CRC,
// sent as three characters 0x40 | (crc >> 12), 0x40 | ((crc >> 6) & 0x3F),
// 0x40 | (crc & 0x3F) before the reply's CR LF.
//
// Replies that carry one: the data replies after "aMC!", "aMC1!" ... and
// "aCC!", "aCC1!" ... (the "aD0!" ... replies until the next measurement
// command of that sensor), and the replies to "aRC0!" ... "aRC9!".

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace SdiCrc {

std::uint16_t Compute(std::string_view text);
// The three characters of crc.
std::string Encode(std::uint16_t crc);
// A raw reply line (address, data, CRC, CR LF) whose CRC matches its text.
// false for a reply too short to hold address and CRC, or without CR LF.
bool ReplyCrcMatches(std::string_view rawReply);

// Which commands of a terminal session have replies with a CRC.
class ReplyTracker {
public:
    // Called for each command sent (address first, "!" last), answered: the
    // sensor replied. True when the reply carries a CRC. A command nobody
    // answered started nothing: the data replies stay as they were.
    bool Sent(const std::string& command, bool answered = true);

private:
    // Per sensor address: whether its data replies carry a CRC.
    std::map<char, bool> dataWithCrc_;
};

} // namespace SdiCrc
