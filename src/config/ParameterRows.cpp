#include "config/ParameterRows.h"

#include <QRegularExpression>
#include <algorithm>

namespace Config {

namespace {

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

ListEntries EntriesOf(const ModelSetting& setting) {
    if (setting.literals.empty())
        return ListEntries{setting.firstText, {}, setting.count};
    ListEntries entries;
    for (const Literal& literal : setting.literals)
        entries.literals << QString::fromLatin1(literal.text);
    entries.count = static_cast<int>(entries.literals.size());
    return entries;
}

} // namespace

bool IsListRow(Row row) {
    const Control kind = SettingOf(row).kind;
    return kind == Control::AddressList || kind == Control::List;
}

bool IsNumberRow(Row row) {
    const Control kind = SettingOf(row).kind;
    return kind == Control::Temperature || kind == Control::Minutes;
}

ParameterRows::ParameterRows() {
    PrepareLists();
}

QString ParameterRows::SelectedAddress() const {
    const RowState& row = rows_[BusAddressRow];
    if (row.selection < 0 || row.selection >= row.entries.literals.size())
        return QString();
    return row.entries.literals.at(row.selection);
}

bool ParameterRows::HiddenUnlessOffered(Row row) const {
    const ModelSetting* setting = OnCurrentModel(row);
    return setting != nullptr && setting->hiddenUnlessOffered;
}

bool ParameterRows::ValidIndex(Row row, int index) const {
    return index >= 0 && index < rows_[row].entries.count;
}

int ParameterRows::CodeAt(Row row, int position) const {
    const ModelSetting* setting = OnCurrentModel(row);
    if (setting == nullptr || !ValidIndex(row, position))
        return -1;
    if (setting->literals.empty())
        return position;
    return setting->literals[static_cast<std::size_t>(position)].code;
}

int ParameterRows::PositionOfCode(Row row, int code) const {
    const ModelSetting* setting = OnCurrentModel(row);
    if (setting == nullptr || code < 0)
        return -1;
    if (setting->literals.empty())
        return ValidIndex(row, code) ? code : -1;
    // The later of two entries with the same code: 1440 minutes is "1d".
    int position = -1;
    for (std::size_t i = 0; i < setting->literals.size(); ++i)
        if (setting->literals[i].code == code)
            position = static_cast<int>(i);
    if (position < 0 && setting->lowerCodeShowsFirst && code < setting->literals.front().code)
        position = 0;
    return position;
}

void ParameterRows::Select(Row row, int position) {
    rows_[row].selection = position;
    const Setting& setting = SettingOf(row);
    if (setting.kind == Control::AddressList)
        set_.*setting.textField = rows_[row].entries.literals.at(position);
    else if (row == ProtocolRow)
        StoreProtocolPosition(position);
    else
        set_.*setting.field = CodeAt(row, position);
}

void ParameterRows::SetNumber(Row row, int value) {
    RowState& state = rows_[row];
    state.position = std::clamp(value, state.range.min, state.range.max);
}

void ParameterRows::PrepareLists() {
    set_.Model = model_;
    for (const Setting& setting : Settings()) {
        RowState& state = rows_[setting.row];
        if (setting.kind == Control::AddressList) {
            // Every model, and none, has the same 62 addresses.
            state.entries = ListEntries{0, AddressCharacters(), 62};
            Select(setting.row, 0);
        } else if (setting.kind == Control::List) {
            state.entries = ListEntries{};
            state.selection = -1;
        }
        if (OnModel(setting, model_) != nullptr)
            PrepareRow(setting);
    }
}

void ParameterRows::PrepareRow(const Setting& setting) {
    const ModelSetting& onModel = *OnCurrentModel(setting.row);
    RowState& state = rows_[setting.row];
    switch (setting.kind) {
    case Control::List:
        state.entries = EntriesOf(onModel);
        Select(setting.row, 0);
        if (setting.row == ProtocolRow)
            set_.AsciiBaudIndex = 0;
        break;
    case Control::Temperature:
    case Control::Minutes:
        state.range = onModel.range;
        SetNumber(setting.row, onModel.start.value_or(state.position));
        // What the up/down control shows is what is stored.
        set_.*setting.field = state.position;
        break;
    case Control::AddressList:
    case Control::Time:
        break;
    }
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

void ParameterRows::ShowRowsOfModel(bool offered) {
    for (const Setting& setting : Settings()) {
        const ModelSetting* onModel = OnModel(setting, model_);
        if (onModel != nullptr && setting.shown == Shown::Always)
            rows_[setting.row].shown = !onModel->hiddenUnlessOffered || offered;
    }
    ShowProtocolRowForInterface();
    ShowHeatingRowsForMode();
}

void ParameterRows::ShowProtocolRowForInterface() {
    const bool rs485 = rows_[InterfaceRow].selection > 0;
    for (const Setting& setting : Settings())
        if (setting.shown == Shown::ForRs485)
            rows_[setting.row].shown = Exists(setting.row) && rs485;
}

void ParameterRows::ShowHeatingRowsForMode() {
    const int mode = rows_[HeatingModeRow].selection;
    for (const Setting& setting : Settings()) {
        if (setting.shown != Shown::ByHeatingMode)
            continue;
        const ModelSetting* onModel = OnModel(setting, model_);
        rows_[setting.row].shown =
            onModel != nullptr && mode >= 0 && mode < 32 && (onModel->modes >> mode & 1u) != 0;
    }
}

bool ParameterRows::IsDwd() const {
    const ModelSetting* protocol = OnCurrentModel(ProtocolRow);
    return protocol != nullptr && protocol->asciiAndDwd &&
           rows_[ProtocolRow].selection == DwdPosition;
}

bool ParameterRows::IsDwd(const ParameterSet& set) const {
    const ModelSetting* protocol = OnCurrentModel(ProtocolRow);
    return protocol != nullptr && protocol->asciiAndDwd && set.ProtocolType >= DwdPosition;
}

void ParameterRows::ApplyDwdEnabling() {
    const bool enabled = !IsDwd();
    for (const Setting& setting : Settings())
        if (setting.dwd == Dwd::Disables)
            rows_[setting.row].enabled = enabled;
}

void ParameterRows::SetResult(Row row, bool ok) {
    rows_[row].mark = ok ? Mark::Succeeded : Mark::Failed;
}

void ParameterRows::MarkEdited(Row row) {
    // A hidden mark stays hidden; a shown one becomes the edited picture.
    if (rows_[row].mark != Mark::None)
        rows_[row].mark = Mark::Edited;
}

void ParameterRows::FollowSelection(Row row) {
    if (row == InterfaceRow)
        ShowProtocolRowForInterface();
    else if (row == HeatingModeRow)
        ShowHeatingRowsForMode();
}

// ---- values from the gauge, a write or a file ----

bool ParameterRows::Apply(Row row, int value, bool ok) {
    const Setting& setting = SettingOf(row);
    if (row == ProtocolRow)
        return ApplyProtocolCode(value, ok, {});
    if (setting.kind == Control::List) {
        // A code no entry has is a failed read: nothing is shown that cannot be written back.
        const int position = ok ? PositionOfCode(row, value) : -1;
        ok = position >= 0;
        if (ok) {
            Select(row, position);
            FollowSelection(row);
        }
    } else if (IsNumberRow(row)) {
        const ModelSetting* onModel = OnCurrentModel(row);
        ok = ok && onModel != nullptr && InRange(value, onModel->range);
        if (ok) {
            rows_[row].position = value;
            set_.*setting.field = value;
        }
    } else {
        ok = false;
    }
    SetResult(row, ok);
    return ok;
}

bool ParameterRows::ApplyBusAddress(const QString& address, bool ok) {
    const int index =
        ok ? static_cast<int>(rows_[BusAddressRow].entries.literals.indexOf(address)) : -1;
    ok = index >= 0;
    if (ok)
        Select(BusAddressRow, index);
    SetResult(BusAddressRow, ok);
    return ok;
}

// ---- the protocol and the ASCII text's baud rate ----

bool ParameterRows::ApplyProtocolCode(int code, bool ok, const std::function<int()>& readBaud) {
    const ModelSetting* protocol = OnCurrentModel(ProtocolRow);
    int position = -1;
    if (ok && code >= 0 && protocol != nullptr) {
        if (!protocol->asciiAndDwd) {
            position = code;
        } else if (code == AsciiProtocolCode) {
            const int baud = readBaud ? readBaud() : -1;
            if (baud >= 0 && ValidIndex(ProtocolRow, FirstAsciiPosition + baud)) {
                position = FirstAsciiPosition + baud;
                set_.AsciiBaudIndex = baud;
            }
        } else if (code == DwdProtocolCode) {
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
    if (ok)
        Select(ProtocolRow, position);
    SetResult(ProtocolRow, ok);
    return ok;
}

void ParameterRows::StoreProtocolPosition(int position) {
    set_.ProtocolType = position;
    const ModelSetting* protocol = OnCurrentModel(ProtocolRow);
    if (protocol != nullptr && protocol->asciiAndDwd && position >= FirstAsciiPosition &&
        position <= LastAsciiPosition)
        set_.AsciiBaudIndex = position - FirstAsciiPosition;
}

int ParameterRows::ProtocolCodeOf(const ParameterSet& set, std::optional<int>& baud) const {
    baud.reset();
    const ModelSetting* protocol = OnCurrentModel(ProtocolRow);
    if (protocol == nullptr || !protocol->asciiAndDwd)
        return set.ProtocolType;
    if (set.ProtocolType >= FirstAsciiPosition && set.ProtocolType <= LastAsciiPosition) {
        baud = set.AsciiBaudIndex;
        return AsciiProtocolCode;
    }
    if (set.ProtocolType == DwdPosition)
        return DwdProtocolCode;
    return set.ProtocolType;
}

// ---- the switching time and the gauge clock ----

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

void ParameterRows::Edit(Row row, int value) {
    const Setting& setting = SettingOf(row);
    if (IsNumberRow(row)) {
        // A typed value beyond the range is brought into it.
        SetNumber(row, value);
        set_.*setting.field = rows_[row].position;
        MarkEdited(row);
        return;
    }
    if (!IsListRow(row) || !ValidIndex(row, value))
        return;
    if (row == InterfaceRow) {
        EditInterface(value);
    } else if (row == ProtocolRow) {
        EditProtocol(value);
    } else {
        Select(row, value);
        FollowSelection(row);
    }
    MarkEdited(row);
    if (row == TemperatureUnitRow) {
        // The temperatures are shown again in the new unit.
        for (const Setting& other : Settings())
            if (other.kind == Control::Temperature)
                MarkEdited(other.row);
    }
}

void ParameterRows::EditInterface(int index) {
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
}

void ParameterRows::EditProtocol(int index) {
    Select(ProtocolRow, index);
    if (IsDwd()) {
        // The interface list shows the four-wire entry; the stored interface stays.
        rows_[InterfaceRow].selection = FourWireInterface;
    } else if (ValidIndex(InterfaceRow, set_.CommunicationInterface)) {
        rows_[InterfaceRow].selection = set_.CommunicationInterface;
    }
    ApplyDwdEnabling();
}

void ParameterRows::EditSwitchTime(const QTime& time) {
    if (!time.isValid())
        return;
    switchTime_ = QTime(time.hour(), time.minute(), time.second());
    set_.HeatingSwitchTime = FormatTime(switchTime_);
    MarkEdited(SwitchTimeRow);
}

} // namespace Config
