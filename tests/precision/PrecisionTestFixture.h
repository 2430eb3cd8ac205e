#pragma once

// Fixture for the guided precision test's pages against the in-process
// simulated gauge on the manual clock: English texts, C locale, scripted
// message dialogs and weight windows (the wait runs the real countdown
// against the gauge), the log written into a temporary folder, and a view
// that records what the pages report.

#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "precision/PrecisionTestSequence.h"
#include "sim/SimBackend.h"
#include "support/ConnectedSimGauge.h"
#include "support/DefaultLocaleScope.h"
#include "support/FolderSettingsGuard.h"
#include "support/LanguageScope.h"
#include "support/LinkStateGuard.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedWeightDialogs.h"
#include "support/SimWeightPlacement.h"
#include "ui/WideLanguageHandler.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <string>
#include <tuple>

using namespace Precision;

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

struct Buttons {
    bool continueOn;
    bool cancelOn;
    bool backOn;
    bool operator==(const Buttons& other) const {
        return std::tie(continueOn, cancelOn, backOn) ==
               std::tie(other.continueOn, other.cancelOn, other.backOn);
    }
};
inline void PrintTo(const Buttons& b, std::ostream* out) {
    *out << "{continue " << b.continueOn << ", cancel " << b.cancelOn << ", back " << b.backOn
         << "}";
}

class RecordingView : public PrecisionTestView {
public:
    void StepShown(int step, const QString& text) override {
        progressStep = step;
        progressText = text;
    }
    void ButtonsChanged(bool c, bool a, bool b) override { buttons = {c, a, b}; }
    void ContinueCaptionChanged(int id) override { continueCaption = id; }
    void PictureChanged(GaugePicture p) override { picture = p; }
    void ResultChartShown(bool shown) override { chartShown = shown; }
    void ToleranceChartChanged(const ToleranceChartData& data) override { chart = data; }
    void ReportButtonShown(bool shown) override { reportButton = shown; }
    void BusyCursor(bool on) override { busy = on; }
    void BuildReport(const QString& verdict) override { reports << verdict; }
    void AreaHidden() override { hidden = true; }
    void ActionPanelShown(bool shown) override { actionPanel = shown; }

    int progressStep = -1;
    QString progressText;
    Buttons buttons{false, false, false};
    int continueCaption = 0;
    GaugePicture picture = GaugePicture::Gauge200;
    bool chartShown = false;
    ToleranceChartData chart;
    bool reportButton = false;
    bool busy = false;
    QStringList reports;
    bool hidden = false;
    bool actionPanel = false;
};

class PageFlow : public ::testing::Test {
protected:
    void SetUp() override {
        InstallGaugeTextSource();
        sequence.SetLogFolders({logs.path(), userLogs.path()});
        sequence.SetNow([] { return QDateTime(QDate(2024, 6, 11), QTime(9, 30, 15)); });
    }

    // A connected gauge of model with base and test weights for its bucket.
    SimGauge& ConnectedGauge(int model, double baseGram = 2500.0, double testGram = 1000.0) {
        SimGauge& gauge = ConnectSimGauge(backend, handler, model);
        hand = std::make_unique<SimWeightPlacement>(gauge, baseGram, testGram);
        return gauge;
    }

    QStringList Captions() const {
        QStringList captions;
        for (const PageRow& row : sequence.Rows())
            captions << row.caption;
        return captions;
    }
    const PageRow& Row(const QString& caption) const {
        static const PageRow none;
        const auto& rows = sequence.Rows();
        const auto it = std::find_if(rows.begin(), rows.end(),
                                     [&](const PageRow& row) { return row.caption == caption; });
        return it == rows.end() ? none : *it;
    }
    Buttons Shown() const {
        return {sequence.ContinueOn(), sequence.CancelOn(), sequence.BackOn()};
    }
    // Welcome page, then Continue to the end of step 2.
    void ThroughStatus(int model) {
        sequence.StartPrecisionTest(model);
        sequence.ContinueButtonClick();
        ASSERT_EQ(sequence.Step(), 2);
        ASSERT_TRUE(sequence.ContinueOn());
    }
    // Continue until the page of step.
    void ContinueTo(int step) {
        for (int guard = 0; guard < 10 && sequence.Step() < step; ++guard)
            sequence.ContinueButtonClick();
        ASSERT_EQ(sequence.Step(), step);
    }

    ManualClock clock;
    ScopedClock scopedClock{clock};
    FolderSettingsGuard folders;
    SimBackend backend;
    LinkStateGuard link{&backend};
    TSDIHandler handler;
    ScriptedDialogs dialogs;
    ScriptedWeightDialogs weights{clock};
    LanguageScope english{OffsetEnglish};
    DefaultLocaleScope c{QLocale::c()};
    std::unique_ptr<SimWeightPlacement> hand;
    QTemporaryDir logs;
    QTemporaryDir userLogs;
    RecordingView view;
    PrecisionTestSequence sequence{handler, view};
};
