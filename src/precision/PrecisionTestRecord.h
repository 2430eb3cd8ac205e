#pragma once

// What the guided precision test knows about the gauge under test and its
// result: read in step 2, computed in steps 4 to 7, and written to the log
// file and the report.

#include "precision/PrecisionTestValues.h"

#include <QString>

namespace Precision {

// The gauge's identity and units as step 2 read them.
struct GaugeInformation {
    int gaugeType = -1;       // GetGaugeType
    int intensityUnit = -1;   // GetIntensityUnit
    int temperatureUnit = -1; // GetTemperatureUnit
    QString hardwareIndex;
    QString firmwareVersion;
    QString gaugeTypeName = QStringLiteral("N/A"); // unchanged when the type is unreadable
    QString serialNumber;
    QString intensityUnitName;   // empty when unreadable
    QString temperatureUnitName; // empty when unreadable
};

// Everything the log file and the report show.
struct PrecisionTestRecord {
    int model = 0;
    GaugeInformation gauge;
    PrecisionTestValues values;
    QString verdict; // text 300 "Yes" or text 301 "No", in the language of the evaluation
    bool passed = false; // the evaluation's outcome, whatever language the verdict is in
};

// The tolerance chart of the evaluation page, in the displayed unit.
struct ToleranceChartData {
    float permitted = 0; // the band runs from -permitted to +permitted
    float deviation = 0; // the marker
    QString axisTitle;   // text 315 "mm" or text 316 "inch"
};

} // namespace Precision
