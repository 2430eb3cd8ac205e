#include "ui/GaugeVocabulary.h"

#include "ui/WideLanguageHandler.h"

#include <cmath>

namespace {

constexpr int ModelNameTextId = 570;
constexpr int CelsiusTextId = 50;
constexpr int IntensityUnitTextId = 55;
constexpr int HeatingModeTextId = 60;
constexpr int GaugeTypeTextIds[] = {244, 245, 251, 252, 253};
constexpr int Fahrenheit = 1;

} // namespace

namespace Vocabulary {

QString ModelName(int model) {
    if (model < 0 || model > 2)
        return {};
    return GetText(ModelNameTextId + model);
}

QString TemperatureUnitText(int unit) {
    return GetText(CelsiusTextId + unit);
}

QString IntensityUnitText(int unit) {
    return GetText(IntensityUnitTextId + unit);
}

QString HeatingModeText(int mode) {
    return GetText(HeatingModeTextId + mode);
}

bool IsGaugeType(int code) {
    return code >= 0 && code < static_cast<int>(std::size(GaugeTypeTextIds));
}

QString GaugeTypeText(int code) {
    if (!IsGaugeType(code))
        return {};
    return GetText(GaugeTypeTextIds[code]);
}

int DisplayedTemperature(int celsius, int temperatureUnit) {
    if (temperatureUnit != Fahrenheit)
        return celsius;
    return static_cast<int>(std::lround(celsius * 1.8 + 32.0));
}

} // namespace Vocabulary
