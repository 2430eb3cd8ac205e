#pragma once

// The state of the configuration work area without any widget: the current
// model, the ParameterSet, and per setting row its list or up/down value, its
// shown and enabled state and its status mark, together with the rules that
// change them. What each row is, per model, comes from the settings table
// (config/GaugeSettings.h); the rules here are those that tie rows together:
// the protocol row follows the interface, the heating rows follow the mode,
// "DWD Ombrometer" disables the rest, and the temperatures follow the unit.
// The frame mirrors this state in its widgets; the read and write sequences
// and the configuration file work on it directly.

#include "config/GaugeSettings.h"
#include "config/ParameterSet.h"

#include <QDateTime>
#include <QStringList>
#include <QTime>
#include <array>
#include <functional>
#include <optional>

namespace Config {

enum class Mark { None, Edited, Succeeded, Failed };

// Entries of a list row: text ids from firstTextId on, or literal texts.
struct ListEntries {
    int firstTextId = 0; // > 0: entry i is text firstTextId + i
    QStringList literals;
    int count = 0;
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
    // The rows the model shows; offered: the firmware offers the settings
    // whose rows it decides (the impulse factor of model 0).
    void ShowRowsOfModel(bool offered);
    // Protocol row from the interface selection, heating rows from the mode.
    void ShowProtocolRowForInterface();
    void ShowHeatingRowsForMode();

    // The current model has the setting.
    bool Exists(Row row) const { return OnModel(SettingOf(row), model_) != nullptr; }
    // Its row is shown only when the firmware offers it (asked while preparing).
    bool HiddenUnlessOffered(Row row) const;
    bool Shown(Row row) const { return rows_[row].shown; }
    bool Enabled(Row row) const { return rows_[row].enabled; }
    Mark MarkOf(Row row) const { return rows_[row].mark; }
    const ListEntries& Entries(Row row) const { return rows_[row].entries; }
    int Selection(Row row) const { return rows_[row].selection; } // -1: none
    int Position(Row row) const { return rows_[row].position; }   // °C or minutes
    Range RangeOf(Row row) const { return rows_[row].range; }
    QString SelectedAddress() const;
    // The code the gauge knows a list entry by; -1 for a position beyond the list.
    int CodeAt(Row row, int position) const;
    QTime SwitchTime() const { return switchTime_; }
    QDateTime GaugeClock() const { return gaugeClock_; }
    bool GaugeClockRunning() const { return gaugeClockRunning_; }
    // "DWD Ombrometer" is chosen: only the address and the protocol are written.
    bool IsDwd() const;
    bool IsDwd(const ParameterSet& set) const;

    // A value read from the gauge, sent to it or taken from a file, with its
    // validity: when valid and allowed it is selected and stored and the row
    // shows the succeeded mark; otherwise the row keeps its value and shows
    // the failed mark. Each returns whether the value was applied.
    //
    // A list row's code or a number row's value, as the gauge knows it.
    bool Apply(Row row, int value, bool ok);
    bool ApplyBusAddress(const QString& address, bool ok);
    // Protocol code as the gauge knows it; readBaud is asked for the baud
    // code when the gauge reports ASCII text on a list that has the baud rates.
    bool ApplyProtocolCode(int code, bool ok, const std::function<int()>& readBaud);
    // Protocol list position, as a configuration file holds it.
    bool ApplyProtocolPosition(int position, bool ok);
    // The protocol code that writes set's protocol, and the baud code to send
    // after it when it is ASCII text on a list that has the baud rates.
    int ProtocolCodeOf(const ParameterSet& set, std::optional<int>& baud) const;
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

    // The user's edits: a list row's index or a number row's value, stored
    // at once, the row marked edited.
    void Edit(Row row, int value);
    void EditSwitchTime(const QTime& time);

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

    const ModelSetting* OnCurrentModel(Row row) const { return OnModel(SettingOf(row), model_); }
    void PrepareRow(const Setting& setting);
    void MarkEdited(Row row);
    bool ValidIndex(Row row, int index) const;
    // The list position of a code from the gauge; -1 when no entry has it.
    int PositionOfCode(Row row, int code) const;
    void Select(Row row, int position); // and store its code
    void SetNumber(Row row, int value); // clamps into the range
    void StoreProtocolPosition(int position);
    void ApplyDwdEnabling();
    // What follows from a changed selection of row.
    void FollowSelection(Row row);
    void EditInterface(int index);
    void EditProtocol(int index);

    int model_ = NoModel;
    ParameterSet set_;
    std::array<RowState, RowCount> rows_;
    QTime switchTime_ = QTime(0, 0, 0);
    QDateTime gaugeClock_;
    bool gaugeClockRunning_ = false;
};

} // namespace Config
