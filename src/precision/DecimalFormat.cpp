#include "precision/DecimalFormat.h"

#include <QLocale>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace Precision {
namespace {

// Enough fractional digits for the exact decimal expansion of every 32-bit
// float the test computes (a float needs at most 149).
constexpr int ExactDigits = 160;

// |value| rounded half away from zero to decimals places, as digits with a
// "." (e.g. "12.35"), computed on the exact decimal expansion of value.
std::string RoundedMagnitude(double value, int decimals) {
    std::array<char, 512> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                      std::chars_format::fixed, ExactDigits);
    if (error != std::errc())
        return "0";
    std::string exact(buffer.data(), end);
    const std::size_t point = exact.find('.');
    std::string integer = exact.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : exact.substr(point + 1);
    fraction.resize(static_cast<std::size_t>(ExactDigits), '0');

    std::string digits = integer + fraction.substr(0, static_cast<std::size_t>(decimals));
    const bool roundUp = fraction[static_cast<std::size_t>(decimals)] >= '5';
    if (roundUp) {
        std::size_t i = digits.size();
        while (i > 0) {
            --i;
            if (digits[i] == '9') {
                digits[i] = '0';
            } else {
                ++digits[i];
                break;
            }
            if (i == 0)
                digits.insert(digits.begin(), '1');
        }
    }
    const std::size_t integerDigits = digits.size() - static_cast<std::size_t>(decimals);
    std::string result = digits.substr(0, integerDigits);
    if (decimals > 0)
        result += '.' + digits.substr(integerDigits);
    return result;
}

QString WithSign(double value, std::string magnitude, QChar separator) {
    QString text = QString::fromLatin1(magnitude.data(), static_cast<qsizetype>(magnitude.size()));
    text.replace(QLatin1Char('.'), separator);
    if (std::signbit(value) && value != 0.0)
        text.prepend(QLatin1Char('-'));
    return text;
}

} // namespace

QChar LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.front();
}

QString FormatFixed(double value, int decimals, QChar separator) {
    if (!std::isfinite(value))
        return QString::number(value);
    return WithSign(value, RoundedMagnitude(value, qBound(0, decimals, 20)), separator);
}

QString FormatFixed(double value, int decimals) {
    return FormatFixed(value, decimals, LocaleDecimalSeparator());
}

QString FormatUpTo(double value, int maxDecimals, QChar separator) {
    if (!std::isfinite(value))
        return QString::number(value);
    std::string magnitude = RoundedMagnitude(value, qBound(0, maxDecimals, 20));
    if (magnitude.find('.') != std::string::npos) {
        while (magnitude.back() == '0')
            magnitude.pop_back();
        if (magnitude.back() == '.')
            magnitude.pop_back();
    }
    // A value that rounds to zero is shown as "0", without sign.
    if (magnitude == "0")
        return QStringLiteral("0");
    return WithSign(value, magnitude, separator);
}

QString FormatUpTo(double value, int maxDecimals) {
    return FormatUpTo(value, maxDecimals, LocaleDecimalSeparator());
}

} // namespace Precision
