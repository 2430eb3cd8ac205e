#pragma once

// The state of the configuration work area without any widget: the current
// model, the ParameterSet, and per setting row its list or up/down value, its
// shown and enabled state and its status mark, together with the rules that
// change them: the per-model lists and ranges, the application of a value read
// from the gauge, sent to it or taken from a file, and the user's edits.
// The frame mirrors this state in its widgets; the read and write sequences
// and the configuration file work on it directly.

#include "config/ParameterSet.h"

#include <QDateTime>
#include <QStringList>
#include <QTime>
#include <array>
#include <functional>

namespace Config {

// The setting rows, top to bottom. The first seven form the configuration
// group, the rest the heating group.
enum Row : int {
    BusAddressRow,
    InterfaceRow,
    ProtocolRow,
    TemperatureUnitRow,
    PrecipitationUnitRow,
    ImpulseOutputRow,
    ImpulseFactorRow,
    HeatingModeRow,
    NominalTemperatureRow,
    ThresholdRow,
    SwitchTimeRow,
    DurationRow,
    SelfTestRow,
};
constexpr int RowCount = 13;
constexpr int FirstHeatingRow = HeatingModeRow;

enum class Mark { None, Edited, Succeeded, Failed };

// The current model after a disconnection: no model at all.
constexpr int NoModel = -5;
bool IsModel(int model);

// Heating mode codes.
enum HeatingModeCode : int {
    HeatingDeactivated = 0,
    HeatingPermanent = 1,
    HeatingRangeControl = 2,
    HeatingNwsStandard = 3,
    HeatingPrecipitationEvents = 4,
};
// Protocol list position of "DWD Ombrometer" (models 1 and 2).
constexpr int DwdPosition = 8;

// Entries of a list row: text ids from firstTextId on, or literal texts.
struct ListEntries {
    int firstTextId = 0; // > 0: entry i is text firstTextId + i
    QStringList literals;
    int count = 0;
};

struct Range {
    int min = 0;
    int max = 0;
};

bool IsListRow(Row row);
bool IsNumberRow(Row row); // nominal temperature, threshold, duration

class ParameterRows {
public:
    ParameterRows();

    int Model() const { return model_; }
    void SetModel(int model) { model_ = model; }
    ParameterSet& Set() { return set_; }
    const ParameterSet& Set() const { return set_; }

    // A read from the gauge has completed since the rows were last prepared.
    bool ConfigurationRead = false;

    // Preparation for the current model.
    void PrepareLists();
    void HideAllRows();
    void EnableAllRows(); // "DWD Ombrometer" disables rows only when the user picks it
    void HideMarks();
    // The rows a model always shows; impulseFactor: the gauge offers the setting.
    void ShowRowsOfModel(bool impulseFactor);
    // Protocol row from the interface selection, heating rows from the mode.
    void ShowProtocolRowForInterface();
    void ShowHeatingRowsForMode();

    bool Shown(Row row) const { return rows_[row].shown; }
    bool Enabled(Row row) const { return rows_[row].enabled; }
    Mark MarkOf(Row row) const { return rows_[row].mark; }
    const ListEntries& Entries(Row row) const { return rows_[row].entries; }
    int Selection(Row row) const { return rows_[row].selection; } // -1: none
    int Position(Row row) const { return rows_[row].position; }   // °C or minutes
    Range RangeOf(Row row) const { return rows_[row].range; }
    QString SelectedAddress() const;
    QTime SwitchTime() const { return switchTime_; }
    QDateTime GaugeClock() const { return gaugeClock_; }
    bool GaugeClockRunning() const { return gaugeClockRunning_; }
    // Minutes of a self-test list entry (0 for an index beyond the list).
    static int SelfTestMinutes(int index);

    // A value read from the gauge, sent to it or taken from a file, with its
    // validity: when valid and allowed it is selected and stored and the row
    // shows the succeeded mark; otherwise the row keeps its value and shows
    // the failed mark. Each returns whether the value was applied.
    bool ApplyBusAddress(const QString& address, bool ok);
    bool ApplyInterface(int value, bool ok);
    // Protocol code as the gauge knows it; readBaud is asked for the baud
    // code when a model 1 or 2 reports ASCII text (code 1).
    bool ApplyProtocolCode(int code, bool ok, const std::function<int()>& readBaud);
    // Protocol list position, as a configuration file holds it.
    bool ApplyProtocolPosition(int position, bool ok);
    bool ApplyListValue(Row row, int value, bool ok); // units and impulse output
    bool ApplyImpulseFactorCode(int code, bool ok);
    bool ApplyImpulseFactorPosition(int position, bool ok);
    bool ApplyHeatingMode(int mode, bool ok);
    bool ApplyNominalTemperature(int celsius, bool ok);
    bool ApplyThreshold(int celsius, bool ok);
    bool ApplyDuration(int minutes, bool ok);
    bool ApplySelfTest(int minutes, bool ok);
    // "HH:NN:SS" with three numeric parts forming a time of day: the picker
    // shows it and it is stored. The row's mark is left to the caller.
    bool ApplySwitchTimeText(const QString& text);
    // The choice of "NWS-Standard": the picker shows now and stores it.
    void ShowSwitchTimeNow(const QDateTime& now);
    // The gauge clock "yyyy-mm-ddThh:nn:ss"; false leaves it unchanged and stops it.
    bool ApplyGaugeClock(const QString& text);
    // One second of the running gauge clock; false (and stopped) while the
    // switching-time row is hidden.
    bool TickGaugeClock();
    void SetResult(Row row, bool ok);
    void SetMark(Row row, Mark mark) { rows_[row].mark = mark; }

    // The user's edits: store at once, mark the row edited.
    void EditBusAddress(int index);
    void EditInterface(int index);
    void EditProtocol(int index);
    void EditTemperatureUnit(int index);
    void EditListValue(Row row, int index); // precipitation unit, impulse output
    void EditImpulseFactor(int index);
    void EditHeatingMode(int index); // the NWS clock is the sequence's part
    void EditNominalTemperature(int celsius);
    void EditThreshold(int celsius);
    void EditSwitchTime(const QTime& time);
    void EditDuration(int minutes);
    void EditSelfTest(int index);

private:
    struct RowState {
        bool shown = false;
        bool enabled = true;
        Mark mark = Mark::None;
        ListEntries entries;
        int selection = -1;
        int position = 0;
        Range range;
    };

    void MarkEdited(Row row);
    void SetEntries(Row row, int firstTextId, int count);
    void SetLiterals(Row row, const QStringList& literals);
    bool ValidIndex(Row row, int index) const;
    void SetNumber(Row row, int value); // clamps into the range
    void ApplyDwdEnabling();
    bool IsDwd() const;

    int model_ = NoModel;
    ParameterSet set_;
    std::array<RowState, RowCount> rows_;
    QTime switchTime_ = QTime(0, 0, 0);
    QDateTime gaugeClock_;
    bool gaugeClockRunning_ = false;
};

} // namespace Config
