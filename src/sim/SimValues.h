#pragma once

// Measurement values of the simulated gauge and their SDI-12 packaging:
// plausible, slowly changing numbers in the gauge's measurement layout, the
// split of a value list over "aD0!", "aD1!", ... replies and the SDI-12 CRC.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace SimValues {

struct Inputs {
    double nowMs = 0.0;
    double accumulatedTotal = 0.0; // mm
    double bucketContent = 0.0;    // mm (inch in test mode with an inch unit)
    int heatingMode = 0;
    int statusBits = 0;
    int bucketDecimals = 2;
};

// Rain intensity in mm/h at a time: a slow, never negative wave.
double IntensityAt(double nowMs);
// The nine values of "M!": intensity, accu RT/NRT, accu NRT, accu total,
// bucket RT, bucket NRT, load cell temperature, heating status, status word.
std::vector<std::string> MainValues(const Inputs& inputs);
// The three values of "M1!": internal temperature, supply voltage, rim temperature.
std::vector<std::string> AuxValues(double nowMs);
// A value with its sign ("+1.25", "-3.0", "+0").
std::string Signed(double value, int decimals);
// Consecutive values joined into replies of at most maxChars characters each
// (a single longer value gets a reply of its own).
std::vector<std::string> SplitIntoReplies(const std::vector<std::string>& values,
                                          std::size_t maxChars);
// CRC-16 of SDI-12 (polynomial 0xA001, reflected, start 0) as its three ASCII characters.
std::string Crc(const std::string& text);
// CRC-16/XMODEM (polynomial 0x1021, start 0, not reflected).
std::uint16_t XModemCrc(const std::uint8_t* data, std::size_t count);

} // namespace SimValues
