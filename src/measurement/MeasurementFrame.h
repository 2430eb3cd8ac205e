#pragma once

// Measurement work area: single and continuous measurements of the twelve
// values with their units and the decoded status word, a compare chart per
// value, and the export of all recorded measurements. The gauge traffic is
// MeasurementSequence's; the frame builds the rows, buttons and panels,
// mirrors what the sequence reports and forwards the clicks.

#include "measurement/CompareChartForm.h"
#include "measurement/MeasurementExport.h"
#include "measurement/MeasurementSequence.h"
#include "measurement/RunJournal.h"
#include "ui/WorkArea.h"

#include <QFrame>
#include <QList>
#include <QPointer>
#include <QTimer>

#include <array>
#include <memory>

class ErrorReportPanel;
class QLabel;
class QStatusBar;
class TAXO_TTNTPanelButton;
class TAXO_TTNTStatusPanel;
class TSDIHandler;

class TMeasurementFrame : public QFrame,
                          public WorkArea,
                          public MeasurementHistorySource,
                          private Measurement::MeasurementView {
    Q_OBJECT
public:
    static constexpr int TimerIntervalMs = 1000;

    // statusBar: the main window's status bar, whose text the area sets.
    // now: the local date and time (the PC's unless a test pins it).
    TMeasurementFrame(TSDIHandler& gauge, int model, QStatusBar* statusBar,
                      QWidget* parent = nullptr, std::function<QDateTime()> now = {});
    ~TMeasurementFrame() override;

    void ShowMeasurementArea(int model);
    void ResetMeasurementArea();
    // The same gauge is back after a lost connection: the rows stay as they
    // are and continuous mode, if it ran when the gauge was lost, goes on
    // at once in the same run.
    void ResumeMeasurementArea(int model);
    // A gauge was connected: another gauge than the run's ends the run.
    void GaugeConnected(const std::string& gaugeSerial);
    void TranslateMeasurementArea();
    void ContinousMeasurementStop();
    const TMeasurementValueArray& GetMeasurementHistory() override;
    // The file the run's records are saved in as they are taken; empty
    // while none is written.
    QString JournalPath() const { return sequence_.JournalPath(); }
    // Where the run journals go (the per-user data folder unless a test says).
    void SetJournalFolder(const QString& folder) { journal_.SetFolder(folder); }
    static QStringList DecodeStatusWord(int word);
    // Writes every recorded measurement to fileName; false when it failed.
    bool ExportMeasurements(const QString& fileName, QString* error = nullptr);
    // The same as CSV.
    bool ExportCsv(const QString& fileName, QString* error = nullptr);

    // WorkArea
    void ShowArea(int model) override { ShowMeasurementArea(model); }
    void ResetArea() override { ResetMeasurementArea(); }
    void ResumeArea(int model) override { ResumeMeasurementArea(model); }
    void TranslateArea() override { TranslateMeasurementArea(); }
    QWidget* AreaWidget() override { return this; }

    // Event handlers (public so that tests can run them).
    void MStartButtonClick();
    void MPermanentButtonClick();
    void MExportButtonClick();
    void ContinousTimerTimer();
    void TessraStatusBlinkTimerTimer();
    // A click on the row of position 0 to 11 (its title, value or image).
    void RowClick(int position);
    void CloseLabelClick();
    void M1_TtitleLabelClick();

    Measurement::MeasurementSequence& Sequence() { return sequence_; }
    // The row of position 0 to 11 (null before the first show).
    TAXO_TTNTStatusPanel* RowPanel(int position) const;
    const QList<QPointer<TCompareChartForm>>& OpenCharts() const { return openCharts_; }
    QList<TAXO_TTNTStatusPanel*> BlinkRows() const;

signals:
    // A measurement was recorded: the history's last record is new.
    void Recorded();

public:
    QFrame* MBlock = nullptr;
    QLabel* MTitleLabel = nullptr;
    QFrame* M1Block = nullptr;
    QLabel* M1TitleLabel = nullptr;
    QFrame* ButtonStrip = nullptr;
    TAXO_TTNTPanelButton* MStartButton = nullptr;
    TAXO_TTNTPanelButton* MPermanentButton = nullptr;
    TAXO_TTNTPanelButton* MExportButton = nullptr;
    ErrorReportPanel* ErrorPanel = nullptr;
    QTimer ContinousTimer;
    QTimer TessraStatusBlinkTimer;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // MeasurementView
    void RowChanged(int position) override;
    void Refresh() override;
    void GroupFailed() override;
    void BlinkingChanged(bool on) override;
    void ContinuousModeChanged(bool on) override;
    void ContinuousTimerChanged(bool armed) override;
    void CloseCharts() override;
    void RecordAdded() override { emit Recorded(); }
    std::optional<MeasurementExport::RowTexts> ShownRowTexts() override { return ExportRows(); }
    void JournalFailed(const QString& reason) override;

    // Titles and units of the rows as they show them now.
    MeasurementExport::RowTexts ExportRows() const;
    void BuildRows();
    void DestroyRows();
    void ShowRow(int position);
    void OpenCompareChart(int position);
    void OpenErrorAnalysis(int position);
    void SetStatusText(const QString& text);
    void LayoutArea();
    int LayoutBlock(QFrame* block, QLabel* title, int top, int firstRow, int rowCount,
                    int rowHeight, bool firstRowLight, bool dividers);

    TSDIHandler& gauge_;
    QStatusBar* statusBar_;
    // Before the sequence, which ends the run in it as it goes.
    RunJournal journal_;
    Measurement::MeasurementSequence sequence_;
    std::array<TAXO_TTNTStatusPanel*, MeasurementLayout::PositionCount> rows_{};
    std::array<std::array<QFrame*, 5>, 2> blockStrips_{};
    QList<QPointer<TCompareChartForm>> openCharts_;
    bool layingOut_ = false;
};
