#pragma once

// Every gauge setting in one table: how the gauge reads and writes it, which
// field of the ParameterSet holds it, its key in the configuration file, how
// the configuration area shows it, and, per model, whether the gauge has it,
// its list entries, its range and its factory value. The configuration
// area's rows, its read and write, the configuration file, the command
// line's "config" and the factory reset all walk this table; a new setting
// is one more row (and the texts of its label and list).

#include "config/ParameterSet.h"
#include "gauge/SDIHandler.h"

#include <array>
#include <optional>
#include <span>
#include <string>

namespace Config {

// The setting rows, top to bottom: the order of the area, of a read and of
// a write. The first seven form the configuration group, the rest the
// heating group.
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

// Gauge models 0 (Tessra2), 1 (Tessra2 L) and 2 (Tessra2 S).
constexpr int ModelCount = 3;
bool IsModel(int model);
// The current model after a disconnection: no model at all.
constexpr int NoModel = -5;

// Heating mode codes.
enum HeatingModeCode : int {
    HeatingDeactivated = 0,
    HeatingPermanent = 1,
    HeatingRangeControl = 2,
    HeatingNwsStandard = 3,
    HeatingPrecipitationEvents = 4,
};

// The interface list's entry for "RS-485 4 wire".
constexpr int FourWireInterface = 2;
// The protocol list of models 1 and 2: position 0 is the SDI-12 protocol
// (code 0); positions 1 to 7 are ASCII text at the baud codes 0 to 6 (code 1
// and the baud code sent after it); position 8 is "DWD Ombrometer" (code 2).
constexpr int FirstAsciiPosition = 1;
constexpr int LastAsciiPosition = 7;
constexpr int DwdPosition = 8;
constexpr int AsciiProtocolCode = 1;
constexpr int DwdProtocolCode = 2;

struct Range {
    int min = 0;
    int max = 0;
};

// A list entry that is not translated, and the code the gauge knows it by.
struct Literal {
    const char* text;
    int code;
};

// How the area shows and edits a setting.
enum class Control {
    AddressList, // the 62 address characters
    List,        // texts or literals; the gauge's code selects an entry
    Temperature, // up/down in °C, shown in the temperature unit
    Minutes,     // up/down in minutes, shown with "min"
    Time,        // a time of day
};

// When its row is shown.
enum class Shown {
    Always,
    ForRs485,      // while the interface is not SDI-12
    ByHeatingMode, // as the heating mode says (ModelSetting::modes)
};

// What "DWD Ombrometer" does to a setting.
enum class Dwd {
    Takes,    // still written, stays enabled
    Keeps,    // not written, stays enabled
    Disables, // not written, disabled while it is chosen
};

// What the configuration file holds for a setting.
enum class FileValue {
    Text,        // the text as shown
    Position,    // the list position
    Code,        // the code of the selected entry (minutes)
    Value,       // the number, not negative
    SignedValue, // the number, negative too
};

// How the factory confirmation describes the value.
enum class Summary {
    Text,        // as it is
    ListText,    // the text of the list entry with that code
    OwnTexts,    // text Setting::summaryTexts + code
    Temperature, // number and temperature unit, "4°C"
    Minutes,     // number and "min", "20min"
};

// A setting on one model.
struct ModelSetting {
    bool exists = false;
    // List entries: count texts from firstText on (code = position), or literals.
    int firstText = 0;
    int count = 0;
    std::span<const Literal> literals{};
    // Model 0 reports the impulse factor 0.1 as code 0 as well as 1: a code
    // below the first entry's selects the first entry.
    bool lowerCodeShowsFirst = false;
    // The protocol list of models 1 and 2 (FirstAsciiPosition ... DwdPosition).
    bool asciiAndDwd = false;
    // Shown only when the gauge's firmware offers it (asked while preparing).
    bool hiddenUnlessOffered = false;
    // Number rows: the range, and where the up/down starts (else where it was).
    Range range{};
    std::optional<int> start{};
    // Rows shown by the heating mode: bit m for heating mode m.
    unsigned modes = 0;
    // The factory value (factoryText for text settings); absent: none.
    std::optional<int> factory{};
    const char* factoryText = nullptr;
    // The factory reset asks text 515 "Do you want to activate the heating?"
    // and takes the answer as the value.
    bool factoryAsked = false;
};

struct Setting {
    Row row;
    const char* panel;   // object name of its row
    const char* control; // object name of its control
    int label;           // text id of the row's label and the confirmation's line
    const char* fileKey;
    Control kind = Control::List;
    Shown shown = Shown::Always;
    Dwd dwd = Dwd::Disables;
    FileValue file = FileValue::Position;
    // The gauge's operations: an integer getter and setter, or text ones.
    int (TSDIHandler::*get)() = nullptr;
    bool (TSDIHandler::*set)(int) = nullptr;
    std::string (TSDIHandler::*getText)() = nullptr;
    bool (TSDIHandler::*setText)(const std::string&) = nullptr;
    int failure = -1; // what get returns when the gauge gave no value
    // TSDIHandler::SupportsImpulseFactor decides whether the gauge has it:
    // asked before it is read, written, exported or confirmed.
    bool firmwareDecides = false;
    // The field of the ParameterSet.
    int ParameterSet::*field = nullptr;
    QString ParameterSet::*textField = nullptr;
    // The factory confirmation's line.
    Summary summary = Summary::ListText;
    int summaryTexts = 0;
    bool listedOnlyWhenHeating = false;
    std::array<ModelSetting, ModelCount> models;
};

// The table, in row order.
const std::array<Setting, RowCount>& Settings();
const Setting& SettingOf(Row row);
// The settings in the order of the configuration file's keys.
const std::array<const Setting*, RowCount>& FileOrder();
// The setting on model; nullptr when the model does not have it.
const ModelSetting* OnModel(const Setting& setting, int model);

// Whether the factory reset asks model whether to heat.
bool FactoryAsksHeating(int model);

// The heating modes that show a row, one bit a mode.
constexpr unsigned Modes(std::initializer_list<HeatingModeCode> modes) {
    unsigned bits = 0;
    for (const HeatingModeCode mode : modes)
        bits |= 1u << mode;
    return bits;
}

} // namespace Config
