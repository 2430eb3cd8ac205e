#include "sim/SimValues.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace SimValues {

double IntensityAt(double nowMs) {
    const double seconds = nowMs / 1000.0;
    return std::max(0.0, 1.2 + 1.5 * std::sin(seconds / 45.0));
}

std::string Signed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%+.*f", decimals, value);
    std::string result(text);
    if (result == "-0" || result.rfind("-0.", 0) == 0) {
        // No negative zero on the wire.
        bool zero = true;
        for (char c : result.substr(1))
            if (c != '0' && c != '.')
                zero = false;
        if (zero)
            result[0] = '+';
    }
    return result;
}

std::vector<std::string> MainValues(const Inputs& in) {
    const double seconds = in.nowMs / 1000.0;
    const double intensity = IntensityAt(in.nowMs);
    const double lastMinute = intensity / 60.0;
    const double temperature = 21.0 + 2.0 * std::sin(seconds / 600.0);
    return {
        Signed(intensity, 2),
        Signed(lastMinute, 3),
        Signed(lastMinute * 0.95, 3),
        Signed(in.accumulatedTotal, 2),
        Signed(in.bucketContent, in.bucketDecimals),
        Signed(in.bucketContent, in.bucketDecimals),
        Signed(temperature, 1),
        Signed(in.heatingMode != 0 ? 1 : 0, 0),
        Signed(in.statusBits, 0),
    };
}

std::vector<std::string> AuxValues(double nowMs) {
    const double seconds = nowMs / 1000.0;
    return {
        Signed(23.4 + 1.5 * std::sin(seconds / 900.0), 1),
        Signed(12.2 + 0.1 * std::sin(seconds / 7.0), 2),
        Signed(18.5 + 3.0 * std::sin(seconds / 300.0), 1),
    };
}

std::vector<std::string> SplitIntoReplies(const std::vector<std::string>& values,
                                          std::size_t maxChars) {
    std::vector<std::string> replies;
    std::string current;
    for (const std::string& value : values) {
        if (!current.empty() && current.size() + value.size() > maxChars) {
            replies.push_back(current);
            current.clear();
        }
        current += value;
    }
    if (!current.empty())
        replies.push_back(current);
    return replies;
}

std::string Crc(const std::string& text) {
    std::uint16_t crc = 0;
    for (unsigned char c : text) {
        crc ^= c;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) != 0 ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                                 : static_cast<std::uint16_t>(crc >> 1);
    }
    std::string result(3, '@');
    result[0] = static_cast<char>(0x40 | (crc >> 12));
    result[1] = static_cast<char>(0x40 | ((crc >> 6) & 0x3F));
    result[2] = static_cast<char>(0x40 | (crc & 0x3F));
    return result;
}

std::uint16_t XModemCrc(const std::uint8_t* data, std::size_t count) {
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < count; ++i) {
        crc = static_cast<std::uint16_t>(crc ^ (data[i] << 8));
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) != 0 ? static_cast<std::uint16_t>((crc << 1) ^ 0x1021)
                                      : static_cast<std::uint16_t>(crc << 1);
    }
    return crc;
}

} // namespace SimValues
