#pragma once

// Guided precision test work area: the frame around the test's pages. It
// builds the widgets, lays them out, forwards the clicks to the page
// sequence (PrecisionTestSequence) and mirrors what the sequence reports:
// the title, the rows with their marks, the buttons, the progress, the
// tolerance chart and the report button. The rows are stacked from the top,
// a long one two lines high. The sequence holds the GUI thread during its
// pauses, so whatever it reports is drawn at once.

#include "precision/PrecisionReport.h"
#include "precision/PrecisionTestSequence.h"
#include "ui/WorkArea.h"

#include <QFrame>
#include <functional>
#include <vector>

class ImageControl;
class QLabel;
class QProgressBar;
class TAXO_TTNTPanelButton;
class TAXO_TTNTStatusPanel;
class TSDIHandler;
class TToleranceChart;

class TGuidedPrecisionTestFrame : public QFrame,
                                  public WorkArea,
                                  private Precision::PrecisionTestView {
    Q_OBJECT
public:
    static constexpr int PicturePanelWidth = 185;
    static constexpr int TitlePanelHeight = 57;
    static constexpr int ButtonPanelHeight = 70;
    static constexpr int ButtonWidth = 150;
    static constexpr int ButtonHeight = 40;
    static constexpr int ProgressBarTop = 1;
    static constexpr int ProgressBarHeight = 20;
    static constexpr int ReportButtonWidth = 220;
    static constexpr int RowTextSize = 12;
    static constexpr int RowHeight = 30;
    // A row whose caption is longer than this wraps, twice as high.
    static constexpr int LongestOneLineRow = 80;
    static constexpr int WrappedRowHeight = 60;
    static constexpr int ReportButtonGap = 10;

    explicit TGuidedPrecisionTestFrame(TSDIHandler& gauge, QWidget* parent = nullptr);
    ~TGuidedPrecisionTestFrame() override;

    void StartPrecisionTest(int model);
    void TranslatePrecisionTest();

    // Published handlers.
    void ContinueButtonClick() { sequence_.ContinueButtonClick(); }
    void BackButtonClick() { sequence_.BackButtonClick(); }
    void AbortButtonClick() { sequence_.AbortButtonClick(); }
    void ShowPDFButtonClick() { sequence_.ShowPDFButtonClick(); }
    // Opens the tested gauge's history (its logbook entries) beside the test.
    void HistoryButtonClick();
    void FrameResize();
    void Step1ImageClick() {}
    void LayoutFrame();

    Precision::PrecisionTestSequence& Sequence() { return sequence_; }
    const std::vector<TAXO_TTNTStatusPanel*>& RowPanels() const { return rowPanels_; }
    // Sum of the rows' heights: the top of the next row.
    int RowsHeight() const { return rowsHeight_; }
    // The report as it would be built now (date: now).
    Precision::ReportContent CurrentReport() const;
    // Shows a built report; the preview window unless a test replaces it.
    std::function<void(Precision::ReportContent)> ShowReport;

    // WorkArea
    void ShowArea(int model) override { StartPrecisionTest(model); }
    // Back after a lost gauge: the test stays on its page (Back repeats a
    // step whose readings were lost).
    void ResumeArea(int) override {}
    void TranslateArea() override { TranslatePrecisionTest(); }
    QWidget* AreaWidget() override { return this; }

    QFrame* PicturePanel = nullptr;
    ImageControl* Step1Image = nullptr;
    QFrame* ActionPanel = nullptr;
    QLabel* TitlePanel = nullptr;
    QFrame* DisplayPanel = nullptr;
    TToleranceChart* ResultChart = nullptr;
    QLabel* ActionLabel = nullptr;
    QFrame* ButtonPanel = nullptr;
    QLabel* ProgressLabel = nullptr;
    QProgressBar* ProgressBar = nullptr;
    TAXO_TTNTPanelButton* BackButton = nullptr;
    TAXO_TTNTPanelButton* AbortButton = nullptr;
    TAXO_TTNTPanelButton* ContinueButton = nullptr;
    TAXO_TTNTPanelButton* ShowPDFButton = nullptr;
    TAXO_TTNTPanelButton* HistoryButton = nullptr; // beside the report button

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // PrecisionTestView
    void TitleChanged(const QString& title) override;
    void RowsCleared() override;
    void RowAdded(int index, const Precision::PageRow& row) override;
    void RowChanged(int index, const Precision::PageRow& row) override;
    void StepShown(int step, const QString& progressText) override;
    void ButtonsChanged(bool continueOn, bool cancelOn, bool backOn) override;
    void ContinueCaptionChanged(int textId) override;
    void ActionLabelChanged(bool shown, const QString& text) override;
    void ActionPanelShown(bool shown) override;
    void PictureChanged(Precision::GaugePicture picture) override;
    void ResultChartShown(bool shown) override;
    void ToleranceChartChanged(const Precision::ToleranceChartData& chart) override;
    void ReportButtonShown(bool shown) override;
    void BusyCursor(bool on) override;
    void BringToFront() override;
    void ProcessMessages() override;
    void Translate() override;
    void BuildReport(const QString& verdict) override;
    void AreaHidden() override;

    TAXO_TTNTPanelButton* MakeButton(QWidget* parent, const char* name);
    void EnableButton(TAXO_TTNTPanelButton* button, bool on);
    void ApplyRow(TAXO_TTNTStatusPanel* panel, const Precision::PageRow& row);
    void PlaceReportButton();
    // One pixel wider and narrower again: everything laid out anew.
    void ForceFullRelayout();
    // Draws widget now, if it is on screen.
    static void DrawNow(QWidget* widget);

    Precision::PrecisionTestSequence sequence_;
    std::vector<TAXO_TTNTStatusPanel*> rowPanels_;
    int rowsHeight_ = 0;
    bool busy_ = false;
};
