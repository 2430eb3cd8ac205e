#pragma once

// The pages of the guided precision test without any widget: the welcome
// page, reading the gauge's status (step 2), placing and measuring the base
// weight (3, 4), placing the test weight, declaring and measuring it (5,
// 6), and the evaluation with verdict, log file and report (7). Each page
// is a title and a list of rows; the sequence keeps them and reports every
// row, mark, button state and page change to its view, which lays the rows
// out and draws them. Messages go through ShowMessageDialog, the wait and
// weight windows through WeightDialogs.

#include "link/TrafficTrace.h"
#include "precision/PrecisionTestLog.h"
#include "precision/PrecisionTestRecord.h"
#include "precision/PrecisionTestValues.h"
#include "precision/WeightPlacement.h"
#include "ui/WeightDialogs.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TSDIHandler;

namespace Precision {

enum class RowKind { Icon, Text };
enum class RowMark { None, Success, Failed };

struct PageRow {
    RowKind kind = RowKind::Text;
    QString caption;
    QString value; // shown in the value column when hasValue
    bool hasValue = false;
    RowMark mark = RowMark::None;
};

// The pages, in the order Continue leads through them.
enum class Page {
    None,        // not running: before the area is opened, after the finish
    Welcome,     // step 0
    Repeat,      // step 1: a repeat was asked for; there is no page to show
    Status,      // step 2: connection, address, the gauge's information, test mode
    ApplyBase,   // step 3
    MeasureBase, // step 4
    ApplyTest,   // step 5
    MeasureTest, // step 6: the declared test weight, then its measurement
    Evaluation,  // step 7: verdict, chart, log and report
};

// Which of the frame's gauge pictures the left strip shows.
enum class GaugePicture { Gauge200, Gauge400, GaugeS };

// What the sequence tells the frame.
class PrecisionTestView {
public:
    virtual ~PrecisionTestView() = default;
    virtual void TitleChanged(const QString& /*title*/) {}
    virtual void RowsCleared() {}
    virtual void RowAdded(int /*index*/, const PageRow& /*row*/) {}
    // Caption, value or mark of a row changed.
    virtual void RowChanged(int /*index*/, const PageRow& /*row*/) {}
    // Progress bar position step (0 to 7) and its text (empty on step 0).
    virtual void StepShown(int /*step*/, const QString& /*progressText*/) {}
    virtual void ButtonsChanged(bool /*continueOn*/, bool /*cancelOn*/, bool /*backOn*/) {}
    virtual void ContinueCaptionChanged(int /*textId*/) {}
    virtual void ActionLabelChanged(bool /*shown*/, const QString& /*text*/) {}
    virtual void ActionPanelShown(bool /*shown*/) {}
    virtual void PictureChanged(GaugePicture /*picture*/) {}
    virtual void ResultChartShown(bool /*shown*/) {}
    virtual void ToleranceChartChanged(const ToleranceChartData& /*chart*/) {}
    // The report button, below the rows.
    virtual void ReportButtonShown(bool /*shown*/) {}
    virtual void BusyCursor(bool /*on*/) {}
    virtual void BringToFront() {}
    // Lets pending window messages run (clicks on disabled buttons are dropped).
    virtual void ProcessMessages() {}
    // Applies the texts of the current language to the frame and its buttons.
    virtual void Translate() {}
    // Builds the report of the current record and shows it; returns when
    // its preview window is closed.
    virtual void BuildReport(const QString& /*verdict*/) {}
    // The test is over: the frame hides.
    virtual void AreaHidden() {}
};

class PrecisionTestSequence {
public:
    static constexpr int StepCount = 7;
    static constexpr int WaitSeconds = 120;
    static constexpr int WaitTickMs = 1000;

    PrecisionTestSequence(TSDIHandler& gauge, PrecisionTestView& view);

    // The main window opens the area for a gauge of model: the welcome page.
    void StartPrecisionTest(int model);
    void ContinueButtonClick();
    void BackButtonClick();
    void AbortButtonClick();
    void ShowPDFButtonClick();

    // The pages (public so that tests and the frame can name them).
    void StepReadStatus();
    void StepApplyBaseWeight();
    void StepMeasureBaseWeight();
    void StepApplyTestWeight();
    void StepMeasureTestWeight();
    void StepEvaluate();
    void StepFinish();

    // State.
    Page CurrentPage() const { return page_; }
    // The step the progress shows for the page: -1 not running, 0 welcome,
    // 1 repeat requested, 2 to 7 the pages.
    int Step() const;
    int Model() const { return model_; }
    int WeightUnit() const { return weightUnit_; }
    const QString& Title() const { return title_; }
    const std::vector<PageRow>& Rows() const { return rows_; }
    bool ContinueOn() const { return continueOn_; }
    bool CancelOn() const { return cancelOn_; }
    bool BackOn() const { return backOn_; }
    int ContinueCaptionId() const { return continueCaptionId_; }
    bool ActionLabelShown() const { return actionLabelShown_; }
    const QString& ActionLabelText() const { return actionLabelText_; }
    const ToleranceChartData& Chart() const { return chart_; }
    const QString& Verdict() const { return verdict_; }
    const QString& LogFilePath() const { return logFilePath_; }
    // The SDI-12 trace of the readings written beside the log, or empty.
    const QString& TraceFilePath() const { return traceFilePath_; }
    const GaugeInformation& Gauge() const { return info_; }
    const PrecisionEvaluation& Evaluation() const { return evaluation_; }
    // What the log and the report show now.
    PrecisionTestRecord Record() const;

    // Where the log goes (the program's folders unless a test sets others).
    void SetLogFolders(const LogFolders& folders) { logFolders_ = folders; }
    // The current date and time (the PC's clock unless a test sets another).
    void SetNow(std::function<QDateTime()> now) { now_ = std::move(now); }

private:
    // A page's step, what shows it and where Continue and Back lead from it.
    struct PageEntry;
    static const PageEntry& Entry(Page page);

    int AddRow(RowKind kind, const QString& text);
    void ClearRows();
    void SetMark(int row, RowMark mark);
    void SetValue(int row, const QString& value);
    void ShowPage(Page page);
    // Continue on the welcome page (or after a repeat) and on the pages
    // where the weights go on the bucket.
    void BeginTest();
    void PlaceBaseWeight();
    void PlaceTestWeight();
    void ShowStep(Page page);
    void EnableButtons(bool continueOn, bool cancelOn, bool backOn);
    void SetTitle(const QString& title);
    void SetContinueCaption(int textId);
    void ShowActionLabel(bool shown, const QString& text = QString());
    void ShowResultChart(bool shown);
    void ShowReportButton(bool shown);
    void Pause(double ms);
    void ReadGaugeInformation();
    void InformationRow(RowKind kind, const QString& label, const QString& value, bool ok);
    void ShowResultRows(const QString& verdict, const QDateTime& t);
    void ShowToleranceChart();
    void StartRecordingReadings();
    void WriteLog(const QString& verdict);
    // The test in the logbook: the values of its log, the verdict, its files.
    void KeepInLogbook();
    void Place(PlacedWeights weights);
    WaitResult Wait(int textId);
    // The wait lost the gauge: the page says so and offers only Back, which
    // repeats the page once the gauge is back.
    void WaitLostTheGauge(Page page);

    TSDIHandler& gauge_;
    PrecisionTestView& view_;
    int model_ = 0;
    Page page_ = Page::None;
    Page lostPage_ = Page::None; // the page whose wait lost the gauge
    int weightUnit_ = 0;
    std::vector<PageRow> rows_;
    int currentRow_ = -1;
    QString title_;
    QString verdict_;
    bool passed_ = false;
    QString actionLabelText_;
    bool actionLabelShown_ = false;
    bool continueOn_ = false;
    bool cancelOn_ = false;
    bool backOn_ = false;
    int continueCaptionId_ = 224;
    ToleranceChartData chart_;
    GaugeInformation info_;
    PrecisionEvaluation evaluation_;
    QString logFilePath_;
    QString traceFilePath_;
    LogFolders logFolders_;
    // The traffic of the readings, from the status step to the log.
    std::unique_ptr<RecordedTrace> readings_;
    std::function<QDateTime()> now_;
};

} // namespace Precision
