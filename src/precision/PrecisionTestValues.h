#pragma once

// The arithmetic of the guided precision test: conversions between gram,
// millimetre and inch for the gauge's bucket, the values the test derives
// from the two averaged bucket readings and the declared test weight, the
// permitted deviation, the verdict, and the text form of a weight.
//
// Every value is a 32-bit float, rounded to 32 bits each time it is stored;
// the products and quotients are taken in double precision first. A weight
// in gram becomes a depth over the bucket's collecting area: 1 mm is 20 g
// on a 200 cm² bucket (gauge types 0 and 3) and 40 g on a 400 cm² bucket
// (type 1); the other types (2, 4, and -1 when unreadable) have no gram
// conversion, which gives 0.

#include <QString>

#include <array>

namespace Precision {

// Units of a weight (the index of the weight entry's unit list).
enum WeightUnit : int { UnitGram = 0, UnitMm = 1, UnitInch = 2 };

// The eighteen result values, in their order.
struct PrecisionTestValues {
    float TestWeightMm = 0;
    float TestWeightInch = 0;
    float TestWeightGram = 0;
    float MeasuredTestMm = 0;
    float MeasuredTestGram = 0;
    float MeasuredTestInch = 0;
    float BaseMm = 0;
    float BaseGram = 0;
    float BaseInch = 0;
    float TotalMm = 0;
    float TotalInch = 0;
    float TotalGram = 0;
    float PermittedMm = 0;
    float PermittedGram = 0;
    float PermittedInch = 0;
    float DeviationMm = 0;
    float DeviationGram = 0;
    float DeviationInch = 0;

    void ClearValues() { *this = PrecisionTestValues(); }
};

// The evaluation of one test: the gauge's type and intensity unit (read in
// step 2) and the values. Calling order: ClearValues, SetBaseWeight,
// SetTestWeight, SetTotalWeight, TestPassed.
class PrecisionEvaluation {
public:
    int GaugeType = -1;     // GetGaugeType
    int IntensityUnit = -1; // GetIntensityUnit
    PrecisionTestValues Values;

    void ClearValues() { Values.ClearValues(); }

    // value converted from one WeightUnit to another, always through mm.
    float ConvertWeight(float value, int fromUnit, int toUnit) const;
    // Permitted deviation in mm for a test weight in mm: 0.2 % from the
    // equivalent of 1000 g on (25 mm on type 1, 50 mm on the others),
    // 0.1 mm below it.
    float PermittedDeviation(float testWeightMm) const;
    // Unit of the bucket readings: inch when the intensity unit is an inch
    // unit (2 or 3), mm otherwise (also when it is unreadable).
    int ReadingUnit() const;

    // The averaged base reading, in the reading unit. A reading within
    // +-0.5 g (ends included) counts as exactly 0.
    void SetBaseWeight(float reading);
    // The declared test weight as entered.
    void SetTestWeight(int unit, float value);
    // The averaged reading with base and test weight, in the reading unit;
    // computes every value that depends on it.
    void SetTotalWeight(float reading);
    // The verdict, with its own tolerance: the deviation must be strictly
    // below 0.2 % of the test weight from 50 mm on, below 0.1 mm under it
    // (for every gauge type); in inch mode on inch values.
    bool TestPassed() const;

    // Inch mode of the verdict and the chart.
    bool InchMode() const { return IntensityUnit >= 2; }
};

// gram + " " + text 314 + " (" + mm + " " + text 315 + ";" + inch + " " +
// text 316 + ")", with "#0.00" for gram and mm and "#0.000" for inch, the
// locale's decimal separator, and "+-" before each number when asked.
QString FormatWeightTriple(float gram, float mm, float inch, bool withTolerancePrefix = false);

struct WeightResultRow {
    int labelTextId;
    QString value;
};
// The weights of a test as the page, the log and the report list them, in
// this order: measured total (text 375), applied weight (376), measured test
// weight (384), permitted deviation (377, with "+-"), deviation (378).
std::array<WeightResultRow, 5> WeightResultRows(const PrecisionTestValues& v);

} // namespace Precision
