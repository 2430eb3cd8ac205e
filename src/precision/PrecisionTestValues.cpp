#include "precision/PrecisionTestValues.h"

#include "precision/DecimalFormat.h"
#include "ui/WideLanguageHandler.h"

#include <cmath>

namespace Precision {
namespace {

constexpr double MmPerInch = 25.4;
constexpr double GramPerMmSmallBucket = 20.0; // 200 cm²
constexpr double GramPerMmLargeBucket = 40.0; // 400 cm²
constexpr double PermittedShare = 0.002;      // 0.2 %
constexpr float SmallPermittedMm = 0.1f;
constexpr float SmallToleranceInch = 0.003937008f; // 0.1 mm in inch
constexpr float LargeBucketThresholdMm = 25.0f;    // 1000 g on 400 cm²
constexpr float ThresholdMm = 50.0f;               // 1000 g on 200 cm²
constexpr float BaseZeroGram = 0.5f;

constexpr int GramTextId = 314;
constexpr int MmTextId = 315;
constexpr int InchTextId = 316;

// Gram per mm of a gauge type, 0 for the types without a gram conversion.
double GramPerMm(int gaugeType) {
    switch (gaugeType) {
    case 0:
    case 3:
        return GramPerMmSmallBucket;
    case 1:
        return GramPerMmLargeBucket;
    default:
        return 0.0;
    }
}

float Stored(double value) {
    return static_cast<float>(value);
}

} // namespace

float PrecisionEvaluation::ConvertWeight(float value, int fromUnit, int toUnit) const {
    const double perMm = GramPerMm(GaugeType);
    float mm = 0;
    switch (fromUnit) {
    case UnitGram:
        mm = perMm != 0.0 ? Stored(value / perMm) : 0.0f;
        break;
    case UnitMm:
        mm = value;
        break;
    case UnitInch:
        mm = Stored(value * MmPerInch);
        break;
    default:
        return 0.0f;
    }
    switch (toUnit) {
    case UnitGram:
        return Stored(mm * perMm);
    case UnitMm:
        return mm;
    case UnitInch:
        return Stored(mm / MmPerInch);
    default:
        return 0.0f;
    }
}

float PrecisionEvaluation::PermittedDeviation(float testWeightMm) const {
    const float threshold = GaugeType == 1 ? LargeBucketThresholdMm : ThresholdMm;
    if (testWeightMm >= threshold)
        return Stored(PermittedShare * testWeightMm);
    return SmallPermittedMm;
}

int PrecisionEvaluation::ReadingUnit() const {
    return IntensityUnit >= 2 ? UnitInch : UnitMm;
}

void PrecisionEvaluation::SetBaseWeight(float reading) {
    const int unit = ReadingUnit();
    const float gram = ConvertWeight(reading, unit, UnitGram);
    if (gram >= -BaseZeroGram && gram <= BaseZeroGram)
        reading = 0.0f;
    PrecisionTestValues& v = Values;
    v.BaseMm = ConvertWeight(reading, unit, UnitMm);
    v.BaseGram = ConvertWeight(v.BaseMm, UnitMm, UnitGram);
    v.BaseInch = ConvertWeight(v.BaseMm, UnitMm, UnitInch);
}

void PrecisionEvaluation::SetTestWeight(int unit, float value) {
    PrecisionTestValues& v = Values;
    v.TestWeightMm = ConvertWeight(value, unit, UnitMm);
    v.TestWeightGram = ConvertWeight(v.TestWeightMm, UnitMm, UnitGram);
    v.TestWeightInch = ConvertWeight(v.TestWeightMm, UnitMm, UnitInch);
}

void PrecisionEvaluation::SetTotalWeight(float reading) {
    PrecisionTestValues& v = Values;
    v.TotalMm = ConvertWeight(reading, ReadingUnit(), UnitMm);
    v.TotalGram = ConvertWeight(v.TotalMm, UnitMm, UnitGram);
    v.TotalInch = ConvertWeight(v.TotalMm, UnitMm, UnitInch);

    v.MeasuredTestMm = Stored(double(v.TotalMm) - double(v.BaseMm));
    v.MeasuredTestGram = ConvertWeight(v.MeasuredTestMm, UnitMm, UnitGram);
    v.MeasuredTestInch = ConvertWeight(v.MeasuredTestMm, UnitMm, UnitInch);

    v.DeviationMm = Stored(double(v.MeasuredTestMm) - double(v.TestWeightMm));
    v.DeviationInch = ConvertWeight(v.DeviationMm, UnitMm, UnitInch);
    v.DeviationGram = ConvertWeight(v.DeviationMm, UnitMm, UnitGram);

    v.PermittedMm = PermittedDeviation(v.TestWeightMm);
    v.PermittedGram = ConvertWeight(v.PermittedMm, UnitMm, UnitGram);
    v.PermittedInch = ConvertWeight(v.PermittedMm, UnitMm, UnitInch);
}

bool PrecisionEvaluation::TestPassed() const {
    const PrecisionTestValues& v = Values;
    const float w = v.TestWeightMm;
    float deviation = 0;
    float tolerance = 0;
    if (!InchMode()) {
        const float measured = Stored(double(v.TotalMm) - double(v.BaseMm));
        deviation = std::fabs(Stored(double(measured) - double(w)));
        tolerance = w >= ThresholdMm ? Stored(PermittedShare * w) : SmallPermittedMm;
    } else {
        const float wi = Stored(w / MmPerInch);
        const float total = Stored(v.TotalMm / MmPerInch);
        const float base = Stored(v.BaseMm / MmPerInch);
        const float measured = Stored(double(total) - double(base));
        deviation = std::fabs(Stored(double(measured) - double(wi)));
        tolerance = w >= ThresholdMm ? Stored(PermittedShare * wi) : SmallToleranceInch;
    }
    return deviation < tolerance;
}

QString FormatWeightTriple(float gram, float mm, float inch, bool withTolerancePrefix) {
    const QString p = withTolerancePrefix ? QStringLiteral("+-") : QString();
    return p + FormatFixed(gram, 2) + u' ' + GetText(GramTextId) + QStringLiteral(" (") + p +
           FormatFixed(mm, 2) + u' ' + GetText(MmTextId) + u';' + p + FormatFixed(inch, 3) + u' ' +
           GetText(InchTextId) + u')';
}

std::array<WeightResultRow, 5> WeightResultRows(const PrecisionTestValues& v) {
    return {{
        {375, FormatWeightTriple(v.TotalGram, v.TotalMm, v.TotalInch)},
        {376, FormatWeightTriple(v.TestWeightGram, v.TestWeightMm, v.TestWeightInch)},
        {384, FormatWeightTriple(v.MeasuredTestGram, v.MeasuredTestMm, v.MeasuredTestInch)},
        {377, FormatWeightTriple(v.PermittedGram, v.PermittedMm, v.PermittedInch, true)},
        {378, FormatWeightTriple(v.DeviationGram, v.DeviationMm, v.DeviationInch)},
    }};
}

} // namespace Precision
