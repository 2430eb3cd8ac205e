// The precision test's arithmetic in 32-bit floats: the worked examples and
// edge cases of the evaluation, with expected values taken from the
// examples themselves (1000 g on 200 cm² is 50 mm, 0.2 % of it 0.1 mm, ...).

#include "precision/PrecisionTestValues.h"
#include "support/DefaultLocaleScope.h"
#include "support/LanguageScope.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Precision;

namespace {

PrecisionEvaluation Gauge(int gaugeType, int intensityUnit = 1) {
    PrecisionEvaluation evaluation;
    evaluation.GaugeType = gaugeType;
    evaluation.IntensityUnit = intensityUnit;
    return evaluation;
}

// A whole test: base reading, declared weight, total reading (readings in
// the gauge's reading unit).
PrecisionEvaluation Evaluated(int gaugeType, int intensityUnit, float base, int unit,
                              float declared, float total) {
    PrecisionEvaluation e = Gauge(gaugeType, intensityUnit);
    e.ClearValues();
    e.SetBaseWeight(base);
    e.SetTestWeight(unit, declared);
    e.SetTotalWeight(total);
    return e;
}

} // namespace

TEST(PrecisionTestValues, DeclaredThousandGramOnTheSmallBucket) {
    const PrecisionEvaluation e = Evaluated(0, 1, 0.0f, UnitGram, 1000.0f, 50.0f);
    EXPECT_EQ(e.Values.TestWeightMm, 50.0f);
    EXPECT_EQ(e.Values.TestWeightGram, 1000.0f);
    EXPECT_EQ(e.Values.TestWeightInch, static_cast<float>(50.0 / 25.4));
    EXPECT_EQ(e.Values.PermittedMm, 0.1f);
    EXPECT_EQ(e.Values.PermittedGram, 2.0f);
    // The verdict's tolerance is 0.1 mm as well.
    EXPECT_TRUE(Evaluated(0, 1, 0.0f, UnitGram, 1000.0f, 50.09f).TestPassed());
    EXPECT_FALSE(Evaluated(0, 1, 0.0f, UnitGram, 1000.0f, 50.11f).TestPassed());
}

TEST(PrecisionTestValues, DeclaredThousandGramOnTheLargeBucket) {
    const PrecisionEvaluation e = Evaluated(1, 1, 0.0f, UnitGram, 1000.0f, 25.07f);
    EXPECT_EQ(e.Values.TestWeightMm, 25.0f);
    // Shown permitted deviation 0.2 % = 0.05 mm ...
    EXPECT_EQ(e.Values.PermittedMm, 0.05f);
    EXPECT_EQ(e.Values.PermittedGram, 2.0f);
    // ... yet 0.07 mm passes: the verdict allows 0.1 mm below 50 mm.
    EXPECT_TRUE(e.TestPassed());
    EXPECT_FALSE(Evaluated(1, 1, 0.0f, UnitGram, 1000.0f, 25.11f).TestPassed());
}

TEST(PrecisionTestValues, DeclaredTwentyFiveHundredGram) {
    const PrecisionEvaluation small = Evaluated(0, 1, 0.0f, UnitGram, 2500.0f, 125.2f);
    EXPECT_EQ(small.Values.TestWeightMm, 125.0f);
    EXPECT_EQ(small.Values.PermittedMm, 0.25f);
    EXPECT_TRUE(small.TestPassed()); // 0.2 mm < 0.25 mm
    EXPECT_FALSE(Evaluated(0, 1, 0.0f, UnitGram, 2500.0f, 125.3f).TestPassed());

    const PrecisionEvaluation large = Evaluated(1, 1, 0.0f, UnitGram, 2500.0f, 62.6f);
    EXPECT_EQ(large.Values.TestWeightMm, 62.5f);
    EXPECT_EQ(large.Values.PermittedMm, 0.125f);
    EXPECT_TRUE(large.TestPassed()); // 0.1 mm < 0.125 mm
    EXPECT_FALSE(Evaluated(1, 1, 0.0f, UnitGram, 2500.0f, 62.65f).TestPassed());
}

TEST(PrecisionTestValues, GramHasNoMeaningOnOtherBuckets) {
    for (const int type : {2, 4, -1}) {
        SCOPED_TRACE(type);
        const PrecisionEvaluation e = Gauge(type);
        EXPECT_EQ(e.ConvertWeight(1000.0f, UnitGram, UnitMm), 0.0f);
        EXPECT_EQ(e.ConvertWeight(50.0f, UnitMm, UnitGram), 0.0f);
        // Millimetre and inch need no bucket.
        EXPECT_EQ(e.ConvertWeight(10.0f, UnitMm, UnitMm), 10.0f);
        EXPECT_EQ(e.ConvertWeight(1.0f, UnitInch, UnitMm), 25.4f);
        EXPECT_EQ(e.ConvertWeight(25.4f, UnitMm, UnitInch), 1.0f);
        // The base reading always becomes 0 there.
        PrecisionEvaluation base = Gauge(type);
        base.SetBaseWeight(5.0f);
        EXPECT_EQ(base.Values.BaseMm, 0.0f);
    }
    // The S model's bucket converts like 200 cm².
    EXPECT_EQ(Gauge(3).ConvertWeight(1000.0f, UnitGram, UnitMm), 50.0f);
}

TEST(PrecisionTestValues, BaseReadingWithinHalfAGramCountsAsZero) {
    // 200 cm²: 0.02 mm is 0.4 g, 0.03 mm is 0.6 g.
    PrecisionEvaluation e = Gauge(0);
    e.SetBaseWeight(0.02f);
    EXPECT_EQ(e.Values.BaseMm, 0.0f);
    EXPECT_EQ(e.Values.BaseGram, 0.0f);
    e.SetBaseWeight(-0.02f);
    EXPECT_EQ(e.Values.BaseMm, 0.0f);
    e.SetBaseWeight(0.03f);
    EXPECT_EQ(e.Values.BaseMm, 0.03f);
    EXPECT_NEAR(e.Values.BaseGram, 0.6f, 1e-6);
    e.SetBaseWeight(-0.03f);
    EXPECT_EQ(e.Values.BaseMm, -0.03f);
}

TEST(PrecisionTestValues, DeviationEqualToTheToleranceFails) {
    // 0.1f is 13421773 * 2^-27. A declared weight of 2^-6 mm plus it is
    // exactly representable, so the measured weight can exceed the declared
    // one by exactly the 0.1 mm tolerance.
    const float declared = std::ldexp(1.0f, -6);
    const float atTolerance = std::ldexp(15518925.0f, -27);
    EXPECT_EQ(atTolerance - declared, 0.1f);
    EXPECT_FALSE(Evaluated(0, 1, 0.0f, UnitMm, declared, atTolerance).TestPassed());
    EXPECT_TRUE(
        Evaluated(0, 1, 0.0f, UnitMm, declared, std::nextafter(atTolerance, 0.0f)).TestPassed());
    // Short of the declared weight by as much: fails as well.
    EXPECT_FALSE(Evaluated(0, 1, 0.0f, UnitMm, atTolerance, declared).TestPassed());
}

TEST(PrecisionTestValues, InchGaugeReadsInInchAndIsJudgedInInch) {
    // Intensity unit 2 (inch/min): the readings are inch.
    const PrecisionEvaluation e = Evaluated(0, 2, 2.5f, UnitGram, 1000.0f, 2.5f + 2.0f);
    EXPECT_EQ(e.ReadingUnit(), UnitInch);
    EXPECT_EQ(e.Values.BaseMm, 63.5f);
    EXPECT_EQ(e.Values.BaseInch, 2.5f); // computed back from the millimetres
    EXPECT_EQ(e.Values.TotalMm, 114.3f);
    EXPECT_EQ(e.Values.TotalInch, 4.5f);
    // 2 inch measured for 50 mm (1.9685 inch) declared: 0.0315 inch off.
    EXPECT_FALSE(e.TestPassed());
    // 0.2 % of 1.9685 inch is 0.003937 inch.
    const float declaredInch = static_cast<float>(50.0 / 25.4);
    EXPECT_TRUE(
        Evaluated(0, 3, 2.5f, UnitGram, 1000.0f, 2.5f + declaredInch + 0.0035f).TestPassed());
    EXPECT_FALSE(
        Evaluated(0, 3, 2.5f, UnitGram, 1000.0f, 2.5f + declaredInch + 0.0041f).TestPassed());
    // Declared in inch below 50 mm: tolerance 0.1 mm = 0.003937 inch.
    EXPECT_TRUE(Evaluated(0, 2, 0.0f, UnitInch, 1.0f, 1.0035f).TestPassed());
    EXPECT_FALSE(Evaluated(0, 2, 0.0f, UnitInch, 1.0f, 1.0041f).TestPassed());
}

TEST(PrecisionTestValues, NegativeDeviationShowsAMinusOnEachNumber) {
    LanguageScope english(OffsetEnglish);
    DefaultLocaleScope c(QLocale::c());
    const PrecisionEvaluation e = Evaluated(0, 1, 0.0f, UnitGram, 1000.0f, 49.95f);
    EXPECT_LT(e.Values.DeviationMm, 0.0f);
    EXPECT_TRUE(e.TestPassed()); // 0.05 mm short, within 0.1 mm
    const PrecisionTestValues& v = e.Values;
    EXPECT_EQ(FormatWeightTriple(v.DeviationGram, v.DeviationMm, v.DeviationInch),
              QStringLiteral("-1.00 gram (-0.05 mm;-0.002 inch)"));
    EXPECT_FALSE(Evaluated(0, 1, 0.0f, UnitGram, 1000.0f, 49.85f).TestPassed());
}

TEST(PrecisionTestValues, WeightTripleAsShown) {
    LanguageScope english(OffsetEnglish);
    {
        DefaultLocaleScope c(QLocale::c());
        EXPECT_EQ(FormatWeightTriple(1000.12f, 50.01f, 1.969f),
                  QStringLiteral("1000.12 gram (50.01 mm;1.969 inch)"));
        EXPECT_EQ(FormatWeightTriple(2.0f, 0.1f, 0.003937008f, true),
                  QStringLiteral("+-2.00 gram (+-0.10 mm;+-0.004 inch)"));
        // No thousands separator, at least one integer digit.
        EXPECT_EQ(FormatWeightTriple(2500.0f, 0.5f, 0.0f),
                  QStringLiteral("2500.00 gram (0.50 mm;0.000 inch)"));
    }
    DefaultLocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatWeightTriple(1000.12f, 50.01f, 1.969f),
              QStringLiteral("1000,12 gram (50,01 mm;1,969 inch)"));
}

TEST(PrecisionTestValues, ClearValuesStartsFromZero) {
    PrecisionEvaluation e = Evaluated(0, 1, 10.0f, UnitGram, 1000.0f, 60.0f);
    ASSERT_NE(e.Values.TotalMm, 0.0f);
    e.ClearValues();
    const PrecisionTestValues& v = e.Values;
    for (const float value :
         {v.TestWeightMm, v.TestWeightInch, v.TestWeightGram, v.MeasuredTestMm, v.MeasuredTestGram,
          v.MeasuredTestInch, v.BaseMm, v.BaseGram, v.BaseInch, v.TotalMm, v.TotalInch, v.TotalGram,
          v.PermittedMm, v.PermittedGram, v.PermittedInch, v.DeviationMm, v.DeviationGram,
          v.DeviationInch})
        EXPECT_EQ(value, 0.0f);
}
