#pragma once

// The gauge traffic of the measurement work area, without any widget: the
// two measurement groups with their unit queries, the record of each
// measurement, the continuous cycle with its connection tests, and the
// status step. The sequence keeps the twelve value rows as data and tells
// its view which row changed; the frame mirrors the rows in its widgets.

#include "logbook/LogbookEntry.h"
#include "measurement/MeasurementExport.h"
#include "measurement/MeasurementLayout.h"
#include "measurement/MeasurementValues.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class RunJournal;
class TSDIHandler;

namespace Measurement {

// What a click on a row does.
enum class RowAction {
    None,
    Chart,    // opens a compare chart of the row's value
    Analysis, // opens the error analysis (the status row with lines)
};

// One value row: what the frame shows for a position.
struct ValueRow {
    int titleTextId = 0;
    QString valueText;    // as shown: value, a blank, the unit string
    std::string rawValue; // the value string exactly as received
    QString unitText;     // kept for the export (empty for rows 7 and 8)
    bool hidden = false;  // row 7, once values were shown
    RowAction action = RowAction::None;
    bool warning = false; // the status row shows the blinking warning mark
};

// Value text of rows that have not been measured since they were built.
inline const QString NotMeasuredText = QStringLiteral("- - - -");
// Value text of every row after a disconnect.
inline const QString DisconnectedText = QStringLiteral("---");
// The status bar text while continuous mode is on (not translated).
inline const QString ContinuousStatusText = QStringLiteral("Continous Measurement Mode!");

class MeasurementView {
public:
    virtual ~MeasurementView() = default;
    // A row's data changed: show it again and repaint it.
    virtual void RowChanged(int /*position*/) {}
    // Repaint the whole area.
    virtual void Refresh() {}
    // A group failed with the gauge still connected: bring the area to the
    // front and say so (text 132). A group that failed because the adapter
    // went away is not reported here: the gauge handler's loss listener
    // tells the main window.
    virtual void GroupFailed() {}
    // The status row starts or stops blinking.
    virtual void BlinkingChanged(bool /*on*/) {}
    // Continuous mode was turned on or off: status bar text and button caption.
    virtual void ContinuousModeChanged(bool /*on*/) {}
    // Start (armed) or stop the 1000 ms continuous timer.
    virtual void ContinuousTimerChanged(bool /*armed*/) {}
    // Close every compare chart opened from the area.
    virtual void CloseCharts() {}
    // A measurement was recorded (the history's last record).
    virtual void RecordAdded() {}
    // The titles and units of the rows as they are shown, for the journal;
    // none: the rows' own texts.
    virtual std::optional<MeasurementExport::RowTexts> ShownRowTexts() { return std::nullopt; }
    // The run's journal could not be written (reason in the current
    // language); the run goes on in memory. Said once a run.
    virtual void JournalFailed(const QString& /*reason*/) {}
};

enum class Group { M, M1 };

class MeasurementSequence {
public:
    // now gives the local date and time (the PC's clock unless a test pins it).
    MeasurementSequence(TSDIHandler& gauge, MeasurementView& view,
                        std::function<QDateTime()> now = {});
    // A run with records is kept in the logbook as it ends.
    ~MeasurementSequence();
    MeasurementSequence(const MeasurementSequence&) = delete;
    MeasurementSequence& operator=(const MeasurementSequence&) = delete;

    // Showing the area for model: after a model change, with another gauge
    // (gaugeSerial: its serial number; empty when unknown), or before the
    // first measurement, a new run begins: the history is emptied, the
    // blinking stops and the rows are built anew. True when the rows were
    // rebuilt.
    bool Prepare(int model, const std::string& gaugeSerial = {});
    // A gauge was connected: with another serial number than the run's, the
    // run ends (history emptied, charts closed); the next Prepare builds the
    // rows anew. The same gauge keeps its run.
    void GaugeConnected(const std::string& gaugeSerial);
    // Disconnect: every value "---", continuous mode off. The run stays:
    // its history and charts are kept, to be exported or resumed.
    void Reset();
    // The same gauge is back after a lost connection: continuous mode, if
    // it was on when the gauge was lost, goes on in the same run, the gap
    // marked in the history. True when it went on; the caller then runs a
    // cycle (ContinuousTick) at once.
    bool Resume();

    // Every record of a run is also appended to journal (not owned; null:
    // no journal), one file per run, named after the gauge's serial number.
    void SetJournal(RunJournal* journal) { journal_ = journal; }
    // The run's journal file; empty while none is written.
    QString JournalPath() const;
    // The rows' titles and units as a freshly built area shows them.
    MeasurementExport::RowTexts RowTexts() const;

    // Start button: both groups, then the record.
    void SingleMeasurement();
    // Permanent button: continuous mode on or off.
    void ToggleContinuous();
    // A tick of the continuous timer. areaVisible: the area is on screen.
    void ContinuousTick(bool areaVisible);
    // Continuous mode off, timer stopped, button caption left alone.
    void StopContinuous();

    // The steps (public for the frame and for tests).
    bool MeasureGroup(Group group);
    void ShowMValues(const std::vector<std::string>& values);
    void ShowM1Values(const std::vector<std::string>& values);
    void Record();
    // One continuous cycle; ends at the first failed connection test.
    void ContinuousCycle();

    const ValueRow& Row(int position) const { return rows_[static_cast<std::size_t>(position)]; }
    TMeasurementValueArray& History() { return history_; }
    const TMeasurementValueArray& History() const { return history_; }
    int StatusWord() const { return statusWord_; }
    bool HasMeasured() const { return hasMeasured_; }
    bool ContinuousActive() const { return continuousActive_; }
    bool Measuring() const { return measuring_; }
    // Whether the last measurement lost its gauge (the adapter went away):
    // its values never arrived, and it made no record.
    bool GaugeLost() const { return lost_; }
    int Model() const { return model_; }

private:
    void BuildRows();
    void SetAllValueTexts(const QString& text);
    void MarkShownValuesOld(int first, int count);
    void StatusStep(ValueRow& row, const std::string& value, QString& unit);
    // A new run: the history emptied, the journal of the run before closed.
    void NewRun();
    // The run's entry in the logbook, when it has records.
    void EndRun();
    void Journal(const MeasurementValues& record);
    ValueRow& RowAt(int position) { return rows_[static_cast<std::size_t>(position)]; }

    TSDIHandler& gauge_;
    MeasurementView& view_;
    std::function<QDateTime()> now_;
    std::array<ValueRow, MeasurementLayout::PositionCount> rows_;
    std::vector<std::string> values_; // the strings of the group being read
    TMeasurementValueArray history_;
    double startTime_ = 0.0;
    int statusWord_ = 0;
    int model_ = -5;
    bool hasMeasured_ = false;
    bool continuousActive_ = false;
    bool measuring_ = false;
    bool resumeContinuous_ = false; // continuous mode was on when the gauge was lost
    bool lost_ = false;             // the measurement under way lost its gauge
    std::string runSerial_;         // the gauge the run's records come from
    GaugeIdentity runGauge_;        // the same as the logbook keeps it
    RunJournal* journal_ = nullptr;
    bool journalStarted_ = false; // this run's journal was begun (or failed to)
    bool journalFailed_ = false;  // ... and cannot be written
};

} // namespace Measurement
