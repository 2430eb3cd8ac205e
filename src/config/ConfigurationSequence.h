#pragma once

// The gauge traffic of the configuration work area, without any widget:
// preparing the rows for a model, reading the whole configuration, writing a
// ParameterSet in the fixed order, and the steps that need the gauge's clock
// (the switching time and the choice of "NWS-Standard"). A read and a write
// walk the settings table, one step a setting with its getter or setter;
// what the gauge needs beyond that is a named step here: the protocol code
// with the ASCII text's baud rate, the impulse factor the firmware decides,
// "DWD Ombrometer" taking only the address and the protocol, the heating
// settings of hidden rows sent only by force. Each step applies its value
// and outcome to ParameterRows and reports the row to the view.

#include "config/ParameterRows.h"

#include <QJsonObject>
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
    // shows, the lists with their first entries. Asks the gauge whether it
    // offers the impulse factor where the firmware decides that (model 0).
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

    // A value read, sent or taken from a file, applied to its row: a list
    // row's code or a number row's value (the protocol's code asks the gauge
    // for the baud rate of ASCII text; a heating mode that shows the
    // switching time shows the gauge clock).
    bool ApplyValue(Row row, int value, bool ok);
    // The same for a setting held as text: the bus address or the switching time.
    bool ApplyText(Row row, const QString& text, bool ok);
    // A list position, as the configuration file holds it.
    bool ApplyPosition(Row row, int position, bool ok);
    // Switching time read, sent or taken from a file: the picker, the stored
    // time, the row's mark and the gauge clock.
    void ApplySwitchTime(const QString& text, bool ok);
    // The user's edit of a list row (index) or a number row (value).
    void Edit(Row row, int value);
    // The user chose a heating mode ("NWS-Standard" starts the switching time
    // from the PC's time and shows the gauge clock).
    void ChooseHeatingMode(int index);

    TSDIHandler& Gauge() { return gauge_; }
    ParameterRows& Rows() { return rows_; }
    ConfigurationView& View() { return view_; }

private:
    void Report(Row row) { view_.RowReported(row); }
    // One setting's step: queried or sent, then applied. Read returns
    // whether the gauge answered, Write whether it confirmed.
    bool ReadSetting(const Setting& setting);
    bool WriteSetting(const Setting& setting, const ParameterSet& set);
    // Keeps the write in the logbook: each key that changed, old -> new.
    void KeepWrite();
    // The protocol's own write: code 1 is followed by the baud code.
    bool WriteProtocol(const ParameterSet& set);
    // Whether the gauge has a setting the firmware decides; when it does not,
    // a shown row of it fails.
    bool Offered(const Setting& setting);
    void ShowGaugeClock();

    TSDIHandler& gauge_;
    ParameterRows& rows_;
    ConfigurationView& view_;
    // The configuration as last read from or written to the gauge (file
    // keys and values), the "before" of the next write in the logbook.
    QJsonObject gaugeValues_;
};

} // namespace Config
