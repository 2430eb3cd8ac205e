#pragma once

// Texts and display values derived from a gauge's codes, in the current
// language. Every work area names models, units and modes through these,
// so a text id is tied to its code in one place only.

#include <QString>

namespace Vocabulary {

// "Axo Tessra2", "Axo Tessra2 L" or "Axo Tessra2 S" for models 0 to 2;
// empty for any other code.
QString ModelName(int model);
// "°C" (0) or "°F" (1).
QString TemperatureUnitText(int unit);
// "mm/min", "mm/h", "inch/min" or "inch/h" (0 to 3).
QString IntensityUnitText(int unit);
// "deactivated", "permanent", ... (0 to 4).
QString HeatingModeText(int mode);
// Gauge type codes 0 to 4 ("200 cm²" ... "user defined"); empty for others.
QString GaugeTypeText(int code);
bool IsGaugeType(int code);

// A temperature in °C as the gauge's unit shows it: unchanged for °C, for
// °F (unit 1) converted and rounded to the nearest degree.
int DisplayedTemperature(int celsius, int temperatureUnit);

} // namespace Vocabulary
