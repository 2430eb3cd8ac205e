#pragma once

// The gauge traffic of the configuration work area, without any widget:
// preparing the rows for a model, reading the whole configuration, writing a
// ParameterSet in the fixed order, and the steps that need the gauge's clock
// (the switching time and the choice of "NWS-Standard"). Each step applies
// its value and outcome to ParameterRows and reports the row to the view.

#include "config/ParameterRows.h"

#include <functional>

class TSDIHandler;

namespace Config {

// What the sequence tells its view. The frame implements it to mirror the
// rows in its widgets; a command-line front end or a benchmark may ignore it.
class ConfigurationView {
public:
    virtual ~ConfigurationView() = default;
    // Before the first command of a read or write (the marks are already hidden).
    virtual void TransferStarting() {}
    // A row's value, mark, or the shown state of other rows changed by one step.
    virtual void RowReported(Row /*row*/) {}
    // After the last step of a read or write.
    virtual void TransferFinished() {}
};

class ConfigurationSequence {
public:
    ConfigurationSequence(TSDIHandler& gauge, ParameterRows& rows, ConfigurationView& view);

    // Rows and lists of a model, before its first read: the rows the model
    // shows, the lists with their first entries. Asks model 0 gauges whether
    // they offer the impulse factor.
    void Prepare(int model);
    // After each setting read: whether to go on (row: the setting's row,
    // answered: the gauge gave a value for it).
    using ReadProgress = std::function<bool(Row row, bool answered)>;
    // Reads every setting of the current model, in the fixed order; false
    // when goOn stopped it (the configuration then counts as not read).
    bool Read(const ReadProgress& goOn = {});
    // Writes set in the fixed order; force sends the heating settings whose
    // rows are hidden too.
    void Write(const ParameterSet& set, bool force);

    // Switching time read, sent or taken from a file: the picker, the stored
    // time, the row's mark and the gauge clock.
    void ApplySwitchTime(const QString& text, bool ok);
    // Heating mode read, sent or taken from a file ("NWS-Standard" shows the
    // gauge clock; the switching time comes with its own step).
    bool ApplyHeatingMode(int mode, bool ok);
    // The user chose a heating mode ("NWS-Standard" starts the switching time
    // from the PC's time and shows the gauge clock).
    void ChooseHeatingMode(int index);

    TSDIHandler& Gauge() { return gauge_; }
    ParameterRows& Rows() { return rows_; }
    ConfigurationView& View() { return view_; }

private:
    void Report(Row row) { view_.RowReported(row); }
    int ReadBaud();
    void ImpulseFactorUnanswered();
    void ShowGaugeClock();

    TSDIHandler& gauge_;
    ParameterRows& rows_;
    ConfigurationView& view_;
};

} // namespace Config
