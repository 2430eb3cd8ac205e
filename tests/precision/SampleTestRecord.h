#pragma once

// One finished accuracy test of a Tessra2 L, for the log and report tests.

#include "precision/PrecisionTestRecord.h"

#include <QString>

inline Precision::PrecisionTestRecord SampleTestRecord(const QString& verdict) {
    Precision::PrecisionTestRecord r;
    r.model = 1;
    r.gauge.gaugeType = 1;
    r.gauge.gaugeTypeName = QStringLiteral("400 cm²");
    r.gauge.serialNumber = QStringLiteral("123456");
    r.gauge.hardwareIndex = QStringLiteral("7");
    r.gauge.firmwareVersion = QStringLiteral("V1.31.0");
    r.gauge.intensityUnitName = QStringLiteral("mm/h");
    Precision::PrecisionTestValues& v = r.values;
    v.TotalGram = 3500.4f;
    v.TotalMm = 87.51f;
    v.TotalInch = 3.445f;
    v.TestWeightGram = 1000.0f;
    v.TestWeightMm = 25.0f;
    v.TestWeightInch = 0.984f;
    v.MeasuredTestGram = 1000.4f;
    v.MeasuredTestMm = 25.01f;
    v.MeasuredTestInch = 0.985f;
    v.PermittedGram = 2.0f;
    v.PermittedMm = 0.05f;
    v.PermittedInch = 0.002f;
    v.DeviationGram = 0.4f;
    v.DeviationMm = 0.01f;
    v.DeviationInch = 0.0004f;
    v.BaseGram = 2500.0f; // the log holds neither base weight nor gauge type
    v.BaseMm = 62.5f;
    v.BaseInch = 2.461f;
    r.verdict = verdict;
    r.passed = verdict == QStringLiteral("Yes");
    return r;
}
