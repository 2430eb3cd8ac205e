#include "config/ParameterRows.h"

#include <QRegularExpression>
#include <algorithm>

namespace Config {

namespace {

struct SelfTestEntry {
    const char* text;
    int minutes;
};

// Not translated.
constexpr std::array<SelfTestEntry, 10> SelfTestList{{
    {"1H", 60},
    {"12H", 720},
    {"24H", 1440},
    {"1d", 1440},
    {"2d", 2880},
    {"3d", 4320},
    {"4d", 5760},
    {"5d", 7200},
    {"6d", 8640},
    {"7d", 10080},
}};

constexpr Range Model0NominalRange{0, 20};
constexpr Range NominalRange{2, 9};
constexpr int NominalStart = 4;
constexpr Range ThresholdRange{-40, 9};
constexpr Range DurationRange{1, 1440};

// Rows that "DWD Ombrometer" disables.
constexpr std::array<Row, 10> DwdDisabledRows{
    InterfaceRow,   TemperatureUnitRow,    PrecipitationUnitRow, ImpulseOutputRow, ImpulseFactorRow,
    HeatingModeRow, NominalTemperatureRow, ThresholdRow,         SwitchTimeRow,    SelfTestRow,
};

QStringList AddressCharacters() {
    QStringList list;
    for (char c = '0'; c <= '9'; ++c)
        list << QString(QLatin1Char(c));
    for (char c = 'A'; c <= 'Z'; ++c)
        list << QString(QLatin1Char(c));
    for (char c = 'a'; c <= 'z'; ++c)
        list << QString(QLatin1Char(c));
    return list;
}

bool InRange(int value, Range range) {
    return value >= range.min && value <= range.max;
}

QString FormatTime(const QTime& time) {
    return time.toString(QStringLiteral("HH:mm:ss"));
}

} // namespace

bool IsModel(int model) {
    return model >= 0 && model <= 2;
}

bool IsListRow(Row row) {
    return !IsNumberRow(row) && row != SwitchTimeRow;
}

bool IsNumberRow(Row row) {
    return row == NominalTemperatureRow || row == ThresholdRow || row == DurationRow;
}

ParameterRows::ParameterRows() {
    PrepareLists();
}

int ParameterRows::SelfTestMinutes(int index) {
    if (index < 0 || index >= static_cast<int>(SelfTestList.size()))
        return 0;
    return SelfTestList[static_cast<std::size_t>(index)].minutes;
}

QString ParameterRows::SelectedAddress() const {
    const RowState& row = rows_[BusAddressRow];
    if (row.selection < 0 || row.selection >= row.entries.literals.size())
        return QString();
    return row.entries.literals.at(row.selection);
}

void ParameterRows::SetEntries(Row row, int firstTextId, int count) {
    RowState& state = rows_[row];
    state.entries = ListEntries{firstTextId, {}, count};
    state.selection = 0;
}

void ParameterRows::SetLiterals(Row row, const QStringList& literals) {
    RowState& state = rows_[row];
    state.entries = ListEntries{0, literals, static_cast<int>(literals.size())};
    state.selection = 0;
}

bool ParameterRows::ValidIndex(Row row, int index) const {
    return index >= 0 && index < rows_[row].entries.count;
}

void ParameterRows::SetNumber(Row row, int value) {
    RowState& state = rows_[row];
    state.position = std::clamp(value, state.range.min, state.range.max);
}

void ParameterRows::PrepareLists() {
    set_.Model = model_;
    SetLiterals(BusAddressRow, AddressCharacters());
    set_.BusAddress = QStringLiteral("0");
    for (Row row : {InterfaceRow, ProtocolRow, TemperatureUnitRow, PrecipitationUnitRow,
                    ImpulseOutputRow, ImpulseFactorRow, HeatingModeRow, SelfTestRow}) {
        rows_[row].entries = ListEntries{};
        rows_[row].selection = -1;
    }
    if (!IsModel(model_))
        return;

    const bool model0 = model_ == 0;
    SetEntries(InterfaceRow, 65, model0 ? 2 : 3);
    SetEntries(ProtocolRow, model0 ? 580 : 610, model0 ? 6 : 9);
    SetEntries(TemperatureUnitRow, 50, 2);
    SetEntries(PrecipitationUnitRow, 55, 4);
    SetEntries(ImpulseOutputRow, 75, 2);
    if (model0)
        SetLiterals(ImpulseFactorRow, {QStringLiteral("0.1"), QStringLiteral("0.2"),
                                       QStringLiteral("0.5"), QStringLiteral("1.0")});
    else
        SetLiterals(ImpulseFactorRow,
                    {QStringLiteral("0.05"), QStringLiteral("0.1"), QStringLiteral("0.2"),
                     QStringLiteral("0.5"), QStringLiteral("1.0")});
    SetEntries(HeatingModeRow, 60, model0 ? 2 : 5);
    set_.CommunicationInterface = 0;
    set_.ProtocolType = 0;
    set_.AsciiBaudIndex = 0;
    set_.TemperatureUnit = 0;
    set_.PrecipitationUnit = 0;
    set_.ImpulseFrequency = 0;
    set_.ImpulseFactor = model0 ? 1 : 0;
    set_.HeatingMode = 0;

    RowState& nominal = rows_[NominalTemperatureRow];
    if (model0) {
        nominal.range = Model0NominalRange;
        SetNumber(NominalTemperatureRow, nominal.position);
    } else {
        nominal.range = NominalRange;
        nominal.position = NominalStart;
        QStringList selfTests;
        for (const SelfTestEntry& entry : SelfTestList)
            selfTests << QString::fromLatin1(entry.text);
        SetLiterals(SelfTestRow, selfTests);
        set_.HeatingSelfTest = SelfTestList[0].minutes;
    }
    rows_[ThresholdRow].range = ThresholdRange;
    SetNumber(ThresholdRow, rows_[ThresholdRow].position);
    rows_[DurationRow].range = DurationRange;
    SetNumber(DurationRow, rows_[DurationRow].position);
    // What the up/down controls show is what is stored.
    set_.HeatingTemperature = nominal.position;
    set_.HeatingThreshold = rows_[ThresholdRow].position;
    set_.HeatingDuration = rows_[DurationRow].position;
}

void ParameterRows::HideAllRows() {
    for (RowState& row : rows_)
        row.shown = false;
}

void ParameterRows::EnableAllRows() {
    for (RowState& row : rows_)
        row.enabled = true;
}

void ParameterRows::HideMarks() {
    for (RowState& row : rows_)
        row.mark = Mark::None;
}

void ParameterRows::ShowRowsOfModel(bool impulseFactor) {
    if (!IsModel(model_))
        return;
    for (Row row : {BusAddressRow, InterfaceRow, TemperatureUnitRow, PrecipitationUnitRow,
                    ImpulseOutputRow, HeatingModeRow})
        rows_[row].shown = true;
    rows_[ImpulseFactorRow].shown = model_ != 0 || impulseFactor;
    ShowProtocolRowForInterface();
    ShowHeatingRowsForMode();
}

void ParameterRows::ShowProtocolRowForInterface() {
    rows_[ProtocolRow].shown = IsModel(model_) && rows_[InterfaceRow].selection > 0;
}

void ParameterRows::ShowHeatingRowsForMode() {
    const int mode = rows_[HeatingModeRow].selection;
    for (Row row : {NominalTemperatureRow, ThresholdRow, SwitchTimeRow, DurationRow, SelfTestRow})
        rows_[row].shown = false;
    if (model_ == 0) {
        rows_[NominalTemperatureRow].shown = mode == HeatingPermanent;
        return;
    }
    if (!IsModel(model_) || mode <= HeatingDeactivated)
        return;
    rows_[NominalTemperatureRow].shown = true;
    rows_[SelfTestRow].shown = true;
    rows_[ThresholdRow].shown = mode == HeatingRangeControl;
    rows_[SwitchTimeRow].shown = mode == HeatingNwsStandard;
    rows_[DurationRow].shown = mode == HeatingNwsStandard || mode == HeatingPrecipitationEvents;
}

bool ParameterRows::IsDwd() const {
    return model_ > 0 && rows_[ProtocolRow].selection == DwdPosition;
}

void ParameterRows::ApplyDwdEnabling() {
    const bool enabled = !IsDwd();
    for (Row row : DwdDisabledRows)
        rows_[row].enabled = enabled;
}

void ParameterRows::SetResult(Row row, bool ok) {
    rows_[row].mark = ok ? Mark::Succeeded : Mark::Failed;
}

void ParameterRows::MarkEdited(Row row) {
    // A hidden mark stays hidden; a shown one becomes the edited picture.
    if (rows_[row].mark != Mark::None)
        rows_[row].mark = Mark::Edited;
}

// ---- values from the gauge, a write or a file ----

bool ParameterRows::ApplyBusAddress(const QString& address, bool ok) {
    const int index =
        ok ? static_cast<int>(rows_[BusAddressRow].entries.literals.indexOf(address)) : -1;
    ok = index >= 0;
    if (ok) {
        rows_[BusAddressRow].selection = index;
        set_.BusAddress = address;
    }
    SetResult(BusAddressRow, ok);
    return ok;
}

bool ParameterRows::ApplyInterface(int value, bool ok) {
    // An index beyond the list is a failed read: nothing is shown that cannot be written back.
    ok = ok && ValidIndex(InterfaceRow, value);
    if (ok) {
        rows_[InterfaceRow].selection = value;
        set_.CommunicationInterface = value;
        rows_[ProtocolRow].shown = value != 0;
    }
    SetResult(InterfaceRow, ok);
    return ok;
}

bool ParameterRows::ApplyProtocolCode(int code, bool ok, const std::function<int()>& readBaud) {
    int position = -1;
    if (ok && code >= 0 && IsModel(model_)) {
        if (model_ == 0) {
            position = code;
        } else if (code == 0) {
            position = 0;
        } else if (code == 1) {
            const int baud = readBaud ? readBaud() : -1;
            if (baud >= 0 && ValidIndex(ProtocolRow, 1 + baud)) {
                position = 1 + baud;
                set_.AsciiBaudIndex = baud;
            }
        } else if (code == 2) {
            position = DwdPosition;
        } else {
            // Any other code names its list entry; one beyond the list fails.
            position = code;
        }
    }
    ok = ValidIndex(ProtocolRow, position);
    if (ok) {
        rows_[ProtocolRow].selection = position;
        set_.ProtocolType = position;
    }
    SetResult(ProtocolRow, ok);
    return ok;
}

bool ParameterRows::ApplyProtocolPosition(int position, bool ok) {
    ok = ok && ValidIndex(ProtocolRow, position);
    if (ok) {
        rows_[ProtocolRow].selection = position;
        set_.ProtocolType = position;
        if (model_ > 0 && position >= 1 && position <= 7)
            set_.AsciiBaudIndex = position - 1;
    }
    SetResult(ProtocolRow, ok);
    return ok;
}

bool ParameterRows::ApplyListValue(Row row, int value, bool ok) {
    ok = ok && ValidIndex(row, value);
    if (ok) {
        rows_[row].selection = value;
        if (row == TemperatureUnitRow)
            set_.TemperatureUnit = value;
        else if (row == PrecipitationUnitRow)
            set_.PrecipitationUnit = value;
        else if (row == ImpulseOutputRow)
            set_.ImpulseFrequency = value;
    }
    SetResult(row, ok);
    return ok;
}

bool ParameterRows::ApplyImpulseFactorCode(int code, bool ok) {
    // Model 0 lists the codes 1 to 4; its code 0 shows the first entry.
    const int index = model_ == 0 ? std::max(code - 1, 0) : code;
    return ApplyImpulseFactorPosition(index, ok && code >= 0);
}

bool ParameterRows::ApplyImpulseFactorPosition(int position, bool ok) {
    ok = ok && ValidIndex(ImpulseFactorRow, position);
    if (ok) {
        rows_[ImpulseFactorRow].selection = position;
        set_.ImpulseFactor = model_ == 0 ? position + 1 : position;
    }
    SetResult(ImpulseFactorRow, ok);
    return ok;
}

bool ParameterRows::ApplyHeatingMode(int mode, bool ok) {
    ok = ok && ValidIndex(HeatingModeRow, mode);
    if (ok) {
        rows_[HeatingModeRow].selection = mode;
        set_.HeatingMode = mode;
        ShowHeatingRowsForMode();
    }
    SetResult(HeatingModeRow, ok);
    return ok;
}

bool ParameterRows::ApplyNominalTemperature(int celsius, bool ok) {
    ok = ok && IsModel(model_) && InRange(celsius, rows_[NominalTemperatureRow].range);
    if (ok) {
        rows_[NominalTemperatureRow].position = celsius;
        set_.HeatingTemperature = celsius;
    }
    SetResult(NominalTemperatureRow, ok);
    return ok;
}

bool ParameterRows::ApplyThreshold(int celsius, bool ok) {
    ok = ok && model_ > 0 && IsModel(model_) && InRange(celsius, ThresholdRange);
    if (ok) {
        rows_[ThresholdRow].position = celsius;
        set_.HeatingThreshold = celsius;
    }
    SetResult(ThresholdRow, ok);
    return ok;
}

bool ParameterRows::ApplyDuration(int minutes, bool ok) {
    ok = ok && model_ > 0 && IsModel(model_) && InRange(minutes, DurationRange);
    if (ok) {
        rows_[DurationRow].position = minutes;
        set_.HeatingDuration = minutes;
    }
    SetResult(DurationRow, ok);
    return ok;
}

bool ParameterRows::ApplySelfTest(int minutes, bool ok) {
    int index = -1;
    if (ok) {
        // The later of two entries with the same minutes: 1440 selects "1d".
        for (int i = 0; i < rows_[SelfTestRow].entries.count; ++i)
            if (SelfTestMinutes(i) == minutes)
                index = i;
    }
    ok = index >= 0;
    if (ok) {
        rows_[SelfTestRow].selection = index;
        set_.HeatingSelfTest = minutes;
    }
    SetResult(SelfTestRow, ok);
    return ok;
}

bool ParameterRows::ApplySwitchTimeText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3)
        return false;
    int numbers[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        bool isNumber = false;
        numbers[i] = parts.at(i).trimmed().toInt(&isNumber);
        if (!isNumber)
            return false;
    }
    const QTime time(numbers[0], numbers[1], numbers[2]);
    if (!time.isValid())
        return false;
    switchTime_ = time;
    // Kept as the gauge or the file gave it; it is sent back unchanged.
    set_.HeatingSwitchTime = text;
    return true;
}

void ParameterRows::ShowSwitchTimeNow(const QDateTime& now) {
    const QTime time = now.time();
    switchTime_ = QTime(time.hour(), time.minute(), time.second());
    set_.HeatingSwitchTime = FormatTime(switchTime_);
}

bool ParameterRows::ApplyGaugeClock(const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[-:T]"));
    const QStringList parts = text.split(separators);
    QDateTime clock;
    if (parts.size() == 6) {
        int numbers[6] = {0, 0, 0, 0, 0, 0};
        bool allNumbers = true;
        for (int i = 0; i < 6 && allNumbers; ++i)
            numbers[i] = parts.at(i).trimmed().toInt(&allNumbers);
        if (allNumbers)
            clock = QDateTime(QDate(numbers[0], numbers[1], numbers[2]),
                              QTime(numbers[3], numbers[4], numbers[5]));
    }
    if (!clock.isValid()) {
        gaugeClockRunning_ = false;
        return false;
    }
    gaugeClock_ = clock;
    gaugeClockRunning_ = true;
    return true;
}

bool ParameterRows::TickGaugeClock() {
    if (!gaugeClockRunning_)
        return false;
    if (!rows_[SwitchTimeRow].shown) {
        gaugeClockRunning_ = false;
        return false;
    }
    gaugeClock_ = gaugeClock_.addSecs(1);
    return true;
}

// ---- the user's edits ----

void ParameterRows::EditBusAddress(int index) {
    if (!ValidIndex(BusAddressRow, index))
        return;
    rows_[BusAddressRow].selection = index;
    set_.BusAddress = rows_[BusAddressRow].entries.literals.at(index);
    MarkEdited(BusAddressRow);
}

void ParameterRows::EditInterface(int index) {
    if (!ValidIndex(InterfaceRow, index))
        return;
    rows_[InterfaceRow].selection = index;
    if (index > 0) {
        rows_[ProtocolRow].shown = true;
        if (rows_[ProtocolRow].selection >= 0)
            set_.ProtocolType = rows_[ProtocolRow].selection;
    } else {
        // SDI-12: the protocol list goes back to its first entry and is hidden;
        // the stored protocol keeps its value.
        if (rows_[ProtocolRow].entries.count > 0)
            rows_[ProtocolRow].selection = 0;
        rows_[ProtocolRow].shown = false;
        ApplyDwdEnabling();
    }
    set_.CommunicationInterface = index;
    MarkEdited(InterfaceRow);
}

void ParameterRows::EditProtocol(int index) {
    if (!ValidIndex(ProtocolRow, index))
        return;
    rows_[ProtocolRow].selection = index;
    set_.ProtocolType = index;
    if (model_ > 0 && index >= 1 && index <= 7)
        set_.AsciiBaudIndex = index - 1;
    if (IsDwd()) {
        // The interface list shows the four-wire entry; the stored interface stays.
        rows_[InterfaceRow].selection = 2;
    } else if (ValidIndex(InterfaceRow, set_.CommunicationInterface)) {
        rows_[InterfaceRow].selection = set_.CommunicationInterface;
    }
    ApplyDwdEnabling();
    MarkEdited(ProtocolRow);
}

void ParameterRows::EditTemperatureUnit(int index) {
    if (!ValidIndex(TemperatureUnitRow, index))
        return;
    rows_[TemperatureUnitRow].selection = index;
    set_.TemperatureUnit = index;
    MarkEdited(TemperatureUnitRow);
    // Both temperatures are shown again in the new unit.
    MarkEdited(NominalTemperatureRow);
    MarkEdited(ThresholdRow);
}

void ParameterRows::EditListValue(Row row, int index) {
    if (!ValidIndex(row, index))
        return;
    rows_[row].selection = index;
    if (row == PrecipitationUnitRow)
        set_.PrecipitationUnit = index;
    else if (row == ImpulseOutputRow)
        set_.ImpulseFrequency = index;
    MarkEdited(row);
}

void ParameterRows::EditImpulseFactor(int index) {
    if (!ValidIndex(ImpulseFactorRow, index))
        return;
    rows_[ImpulseFactorRow].selection = index;
    set_.ImpulseFactor = model_ == 0 ? index + 1 : index;
    MarkEdited(ImpulseFactorRow);
}

void ParameterRows::EditHeatingMode(int index) {
    if (!ValidIndex(HeatingModeRow, index))
        return;
    rows_[HeatingModeRow].selection = index;
    set_.HeatingMode = index;
    ShowHeatingRowsForMode();
    MarkEdited(HeatingModeRow);
}

void ParameterRows::EditNominalTemperature(int celsius) {
    SetNumber(NominalTemperatureRow, celsius);
    set_.HeatingTemperature = rows_[NominalTemperatureRow].position;
    MarkEdited(NominalTemperatureRow);
}

void ParameterRows::EditThreshold(int celsius) {
    SetNumber(ThresholdRow, celsius);
    set_.HeatingThreshold = rows_[ThresholdRow].position;
    MarkEdited(ThresholdRow);
}

void ParameterRows::EditSwitchTime(const QTime& time) {
    if (!time.isValid())
        return;
    switchTime_ = QTime(time.hour(), time.minute(), time.second());
    set_.HeatingSwitchTime = FormatTime(switchTime_);
    MarkEdited(SwitchTimeRow);
}

void ParameterRows::EditDuration(int minutes) {
    // A typed value beyond the range is brought into it.
    SetNumber(DurationRow, minutes);
    set_.HeatingDuration = rows_[DurationRow].position;
    MarkEdited(DurationRow);
}

void ParameterRows::EditSelfTest(int index) {
    if (!ValidIndex(SelfTestRow, index))
        return;
    rows_[SelfTestRow].selection = index;
    set_.HeatingSelfTest = SelfTestMinutes(index);
    MarkEdited(SelfTestRow);
}

} // namespace Config
