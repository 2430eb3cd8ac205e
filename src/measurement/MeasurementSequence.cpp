#include "measurement/MeasurementSequence.h"

#include "gauge/SDIHandler.h"
#include "link/ByteText.h"
#include "link/Clock.h"
#include "logbook/KnownGauge.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookEvents.h"
#include "measurement/RunJournal.h"
#include "ui/TimeTexts.h"
#include "ui/WideLanguageHandler.h"

namespace Measurement {

namespace {

using namespace MeasurementLayout;

constexpr int FailureTextId = 192;
constexpr int StatusOkTextId = 191;
constexpr int ErrorsAndWarningsTextId = 194;
constexpr double PauseAfterMValuesMs = 200.0;

const char* CommandOf(Group group) {
    return group == Group::M ? "M!" : "M1!";
}

// value + " " + unit; a value without unit text gets no trailing blank.
QString WithUnit(const std::string& value, const QString& unit) {
    return unit.isEmpty() ? Latin1Text(value) : Latin1Text(value) + u' ' + unit;
}

// Marks the measuring state for the lifetime of a measurement.
class MeasuringScope {
public:
    explicit MeasuringScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~MeasuringScope() { flag_ = false; }
    MeasuringScope(const MeasuringScope&) = delete;
    MeasuringScope& operator=(const MeasuringScope&) = delete;

private:
    bool& flag_;
};

} // namespace

MeasurementSequence::MeasurementSequence(TSDIHandler& gauge, MeasurementView& view,
                                         std::function<QDateTime()> now)
    : gauge_(gauge), view_(view),
      now_(now ? std::move(now) : [] { return QDateTime::currentDateTime(); }) {
    BuildRows();
}

MeasurementSequence::~MeasurementSequence() {
    EndRun();
}

void MeasurementSequence::EndRun() {
    if (history_.Empty())
        return;
    MeasurementRunFacts facts;
    facts.start = DateTimeOf(history_[0].Time);
    facts.end = DateTimeOf(history_.Last().Time);
    facts.records = static_cast<int>(history_.Size());
    facts.journal = JournalPath();
    ReportToLogbook(MeasurementRunEnded(runGauge_, facts));
}

void MeasurementSequence::BuildRows() {
    for (int position = 0; position < PositionCount; ++position) {
        ValueRow row;
        row.titleTextId = RowTitleTextId(position);
        row.valueText = NotMeasuredText;
        // The heating status row is built hidden and never shown.
        row.hidden = position == HeatingPosition;
        RowAt(position) = row;
    }
}

bool MeasurementSequence::Prepare(int model, const std::string& gaugeSerial) {
    TheClock().ProcessMessages();
    if (model != model_ || gaugeSerial != runSerial_) {
        hasMeasured_ = false;
        resumeContinuous_ = false;
    }
    model_ = model;
    runSerial_ = gaugeSerial;
    if (hasMeasured_)
        return false;
    NewRun();
    view_.BlinkingChanged(false);
    BuildRows();
    return true;
}

void MeasurementSequence::GaugeConnected(const std::string& gaugeSerial) {
    if (gaugeSerial == runSerial_)
        return;
    hasMeasured_ = false;
    resumeContinuous_ = false;
    view_.CloseCharts();
    NewRun();
}

void MeasurementSequence::NewRun() {
    EndRun();
    history_.Clear();
    if (journal_ != nullptr)
        journal_->Close();
    journalStarted_ = false;
    journalFailed_ = false;
}

QString MeasurementSequence::JournalPath() const {
    if (journal_ == nullptr || !journalStarted_ || journalFailed_)
        return {};
    return journal_->Path();
}

MeasurementExport::RowTexts MeasurementSequence::RowTexts() const {
    MeasurementExport::RowTexts texts;
    for (int position = 0; position < PositionCount; ++position) {
        auto& text = texts[static_cast<std::size_t>(position)];
        // A freshly built row shows its title after one blank.
        text.title = u' ' + GetText(Row(position).titleTextId);
        text.unit = Row(position).unitText;
    }
    return texts;
}

void MeasurementSequence::Journal(const MeasurementValues& record) {
    if (journal_ == nullptr || journalFailed_)
        return;
    QString error;
    if (!journalStarted_) {
        journalStarted_ = true;
        const QString serial = QString::fromLatin1(runSerial_.c_str());
        if (!journal_->Start(serial, DateTimeOf(record.Time), &error)) {
            journalFailed_ = true;
            view_.JournalFailed(error);
            return;
        }
    }
    const MeasurementExport::RowTexts rows = view_.ShownRowTexts().value_or(RowTexts());
    if (!journal_->Append(record, rows, LocaleTimeSeparator(), &error)) {
        journalFailed_ = true;
        view_.JournalFailed(error);
    }
}

void MeasurementSequence::Reset() {
    SetAllValueTexts(DisconnectedText);
    // Lost while continuous mode ran (the cycle that found the gauge gone
    // leaves the mode on): the same gauge coming back resumes it.
    resumeContinuous_ = continuousActive_;
    continuousActive_ = false;
    view_.ContinuousModeChanged(false);
    view_.ContinuousTimerChanged(false);
}

bool MeasurementSequence::Resume() {
    if (!resumeContinuous_)
        return false;
    resumeContinuous_ = false;
    history_.MarkGap();
    continuousActive_ = true;
    view_.ContinuousModeChanged(true);
    return true;
}

void MeasurementSequence::SetAllValueTexts(const QString& text) {
    for (int position = 0; position < PositionCount; ++position) {
        RowAt(position).valueText = text;
        view_.RowChanged(position);
    }
}

void MeasurementSequence::MarkShownValuesOld(int first, int count) {
    for (int position = first; position < first + count; ++position) {
        RowAt(position).valueText += QStringLiteral(" *");
        view_.RowChanged(position);
    }
}

bool MeasurementSequence::MeasureGroup(Group group) {
    values_.clear();
    int count = 0;
    const int seconds = gauge_.StartMeasurement(CommandOf(group), count);
    bool ok = seconds >= 0;
    if (ok) {
        gauge_.WaitForServiceRequest(seconds);
        ok =
            gauge_.CollectData(count, values_) && values_.size() == static_cast<std::size_t>(count);
    }
    if (!ok) {
        // A gauge that went away answers nothing; that is no failed group.
        if (gauge_.IsPortAlive())
            view_.GroupFailed();
        else
            lost_ = true;
        return false;
    }
    if (group == Group::M)
        ShowMValues(values_);
    else
        ShowM1Values(values_);
    return true;
}

void MeasurementSequence::ShowMValues(const std::vector<std::string>& values) {
    const int intensityUnit = gauge_.GetIntensityUnit();
    const int temperatureUnit = gauge_.GetTemperatureUnit();
    for (int i = 0; i < MRowCount; ++i) {
        view_.Refresh();
        ValueRow& row = RowAt(i);
        if (values.size() < static_cast<std::size_t>(i) + 1) {
            row.valueText = GetText(FailureTextId);
            view_.RowChanged(i);
            continue;
        }
        const std::string& value = values[static_cast<std::size_t>(i)];
        row.action = RowAction::Chart;
        QString unit = UnitText(i, intensityUnit, temperatureUnit);
        if (i == HeatingPosition)
            row.hidden = true;
        if (i == StatusPosition)
            StatusStep(row, value, unit);
        row.valueText = WithUnit(value, unit);
        row.rawValue = value;
        if (i < HeatingPosition)
            row.unitText = unit;
        view_.RowChanged(i);
    }
    view_.Refresh();
    TheClock().SleepMs(PauseAfterMValuesMs);
}

void MeasurementSequence::StatusStep(ValueRow& row, const std::string& value, QString& unit) {
    int word = 0;
    if (!ParseStatusWord(value, word)) {
        // Not a number: the value with "Failure", nothing to analyse.
        statusWord_ = 0;
        row.warning = false;
        row.action = RowAction::None;
        view_.BlinkingChanged(false);
        unit = GetText(FailureTextId);
        return;
    }
    statusWord_ = word;
    if (DecodeStatusWord(word).isEmpty()) {
        view_.BlinkingChanged(false);
        row.warning = false;
        row.action = RowAction::None;
        unit = GetText(StatusOkTextId);
    } else {
        unit = GetText(ErrorsAndWarningsTextId) + u' ';
        row.warning = true;
        row.action = RowAction::Analysis;
        view_.BlinkingChanged(true);
    }
}

void MeasurementSequence::ShowM1Values(const std::vector<std::string>& values) {
    const int temperatureUnit = gauge_.GetTemperatureUnit();
    for (int i = 0; i < M1RowCount; ++i) {
        const int position = MRowCount + i;
        ValueRow& row = RowAt(position);
        row.action = RowAction::Chart;
        if (values.size() < static_cast<std::size_t>(i) + 1) {
            row.valueText = GetText(FailureTextId);
        } else {
            const std::string& value = values[static_cast<std::size_t>(i)];
            const QString unit = UnitText(position, -1, temperatureUnit);
            row.valueText = WithUnit(value, unit);
            row.rawValue = value;
            row.unitText = unit;
        }
        view_.RowChanged(position);
    }
}

void MeasurementSequence::Record() {
    MeasurementValues::Strings strings;
    for (int position = 0; position < PositionCount; ++position)
        strings[static_cast<std::size_t>(position)] = RowAt(position).rawValue;
    if (history_.Empty())
        runGauge_ = KnownGauge(gauge_);
    history_.Append(MeasurementValues(startTime_, strings));
    Journal(history_.Last());
    view_.RecordAdded();
}

void MeasurementSequence::SingleMeasurement() {
    // A click that arrives while a measurement waits for the gauge would
    // mix two measurements on the line.
    if (measuring_)
        return;
    MeasuringScope measuring(measuring_);
    lost_ = false;
    startTime_ = DateTimeValue(now_());
    SetAllValueTexts(NotMeasuredText);
    MeasureGroup(Group::M);
    TheClock().ProcessMessages();
    // Values that never arrived make no record.
    if (lost_)
        return;
    MeasureGroup(Group::M1);
    TheClock().ProcessMessages();
    if (lost_)
        return;
    Record();
    TheClock().ProcessMessages();
    hasMeasured_ = true;
}

void MeasurementSequence::ToggleContinuous() {
    continuousActive_ = !continuousActive_;
    resumeContinuous_ = false;
    if (continuousActive_) {
        view_.CloseCharts();
        NewRun();
        view_.ContinuousModeChanged(true);
        view_.ContinuousTimerChanged(true);
    } else {
        // The cycle in progress, if any, simply does not re-arm the timer.
        view_.ContinuousModeChanged(false);
    }
}

void MeasurementSequence::StopContinuous() {
    continuousActive_ = false;
    view_.ContinuousTimerChanged(false);
}

void MeasurementSequence::ContinuousTick(bool areaVisible) {
    view_.ContinuousTimerChanged(false);
    // Turned off while the timer was armed: no cycle after the user's Cancel
    // (and a hidden area must not turn the mode back on).
    if (!continuousActive_)
        return;
    if (!areaVisible) {
        ToggleContinuous();
        return;
    }
    if (measuring_) {
        // A single measurement is under way: the next cycle follows it.
        if (continuousActive_)
            view_.ContinuousTimerChanged(true);
        return;
    }
    ContinuousCycle();
    if (continuousActive_)
        view_.ContinuousTimerChanged(true);
    if (!gauge_.IsPortAlive())
        view_.ContinuousTimerChanged(false);
}

void MeasurementSequence::ContinuousCycle() {
    MeasuringScope measuring(measuring_);
    lost_ = false;
    if (!gauge_.IsPortAlive())
        return;
    MarkShownValuesOld(0, MRowCount);
    if (!gauge_.IsPortAlive())
        return;
    MarkShownValuesOld(MRowCount, M1RowCount);
    if (!gauge_.IsPortAlive())
        return;
    startTime_ = DateTimeValue(now_());
    MeasureGroup(Group::M);
    if (!gauge_.IsPortAlive())
        return;
    MeasureGroup(Group::M1);
    if (!gauge_.IsPortAlive())
        return;
    Record();
    if (!gauge_.IsPortAlive())
        return;
    hasMeasured_ = true;
}

} // namespace Measurement
