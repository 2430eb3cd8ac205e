#include "config/GaugeSettings.h"

namespace Config {

namespace {

// Labels of the rows (and of the factory confirmation's lines).
constexpr int BusAddressLabel = 48;         // "Bus address:"
constexpr int InterfaceLabel = 25;          // "Communication interface:"
constexpr int ProtocolLabel = 26;           // "RS-485 protocol type:"
constexpr int TemperatureUnitLabel = 21;    // "Temperature units:"
constexpr int IntensityUnitLabel = 22;      // "Intensity units:"
constexpr int ImpulseOutputLabel = 27;      // "Impulse output frequency:"
constexpr int ImpulseFactorLabel = 108;     // "Impuls factor:"
constexpr int HeatingModeLabel = 23;        // "Heating mode:"
constexpr int NominalTemperatureLabel = 24; // "Nominal heating temperature:"
constexpr int ThresholdLabel = 561;         // "Threshold temperature:"
constexpr int SwitchTimeLabel = 562;        // "Switching time:"
constexpr int DurationLabel = 563;          // "Power on duration:"
constexpr int SelfTestLabel = 564;          // "Self-test interval:"

// First texts of the lists.
constexpr int InterfaceTexts = 65;        // "SDI-12", "RS-485", "RS-485 4 wire"
constexpr int Tessra2ProtocolTexts = 580; // "SDI-12 Protocol", "ASCII Text 19200 bd", ...
constexpr int ProtocolTexts = 610; // "SDI-12 Protocol", "ASCII Text 1200 bd", ... "DWD Ombrometer"
constexpr int TemperatureUnitTexts = 50; // "°C", "°F"
constexpr int IntensityUnitTexts = 55;   // "mm/min", "mm/h", "inch/min", "inch/h"
constexpr int ImpulseOutputTexts = 75;   // "5Hz", "2Hz"
constexpr int HeatingModeTexts = 60;     // "deactivated", "permanent", ... "Precipitation events"

// The factory confirmation's own texts for codes.
constexpr int ProtocolSummaryTexts = 68;       // code 0: "SDI-12 protocol"
constexpr int ImpulseFactorSummaryTexts = 529; // code 1: text 530 "0.1"

// Not translated.
constexpr std::array<Literal, 4> Tessra2ImpulseFactors{{
    {"0.1", 1},
    {"0.2", 2},
    {"0.5", 3},
    {"1.0", 4},
}};
constexpr std::array<Literal, 5> ImpulseFactors{{
    {"0.05", 0},
    {"0.1", 1},
    {"0.2", 2},
    {"0.5", 3},
    {"1.0", 4},
}};
// Intervals in minutes; 1440 twice.
constexpr std::array<Literal, 10> SelfTestIntervals{{
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

constexpr unsigned HeatingOn =
    Modes({HeatingPermanent, HeatingRangeControl, HeatingNwsStandard, HeatingPrecipitationEvents});

// A setting the same on every model.
constexpr std::array<ModelSetting, ModelCount> Everywhere(const ModelSetting& setting) {
    return {setting, setting, setting};
}
// A setting of models 1 and 2 only, the same on both.
constexpr std::array<ModelSetting, ModelCount> TessraLAndS(const ModelSetting& setting) {
    return {ModelSetting{}, setting, setting};
}
// A setting whose model 0 differs from models 1 and 2.
constexpr std::array<ModelSetting, ModelCount> Tessra2AndOthers(const ModelSetting& tessra2,
                                                                const ModelSetting& others) {
    return {tessra2, others, others};
}

constexpr std::array<Setting, RowCount> Table{{
    {
        .row = BusAddressRow,
        .panel = "BusAddressPanel",
        .control = "BusAddressComboBox",
        .label = BusAddressLabel,
        .fileKey = "BUSADDRESS",
        .kind = Control::AddressList,
        .dwd = Dwd::Takes,
        .file = FileValue::Text,
        .getText = &TSDIHandler::ReadAddress,
        .setText = &TSDIHandler::ChangeAddress,
        .textField = &ParameterSet::BusAddress,
        .summary = Summary::Text,
        .models = Everywhere({.exists = true, .factoryText = "0"}),
    },
    {
        .row = InterfaceRow,
        .panel = "CommunicationInterfacePanel",
        .control = "CommunicationInterfaceComboBox",
        .label = InterfaceLabel,
        .fileKey = "COMMUNICATIONINTERFACE",
        .get = &TSDIHandler::GetCommunicationInterface,
        .set = &TSDIHandler::SetCommunicationInterface,
        .field = &ParameterSet::CommunicationInterface,
        .models = Tessra2AndOthers(
            {.exists = true, .firstText = InterfaceTexts, .count = 2, .factory = 0},
            {.exists = true, .firstText = InterfaceTexts, .count = 3, .factory = 0}),
    },
    {
        .row = ProtocolRow,
        .panel = "ProtocolTypePanel",
        .control = "ProtocolTypeComboBox",
        .label = ProtocolLabel,
        .fileKey = "PROTOCOLTYPE",
        .shown = Shown::ForRs485,
        .dwd = Dwd::Takes,
        .get = &TSDIHandler::GetProtocolType,
        .set = &TSDIHandler::SetProtocolType,
        .field = &ParameterSet::ProtocolType,
        .summary = Summary::OwnTexts,
        .summaryTexts = ProtocolSummaryTexts,
        .models = Tessra2AndOthers(
            {.exists = true, .firstText = Tessra2ProtocolTexts, .count = 6, .factory = 0},
            {.exists = true,
             .firstText = ProtocolTexts,
             .count = 9,
             .asciiAndDwd = true,
             .factory = 0}),
    },
    {
        .row = TemperatureUnitRow,
        .panel = "TemperatureSetPanel",
        .control = "TemperatureSetComboBox",
        .label = TemperatureUnitLabel,
        .fileKey = "TEMPERATUREUNIT",
        .get = &TSDIHandler::GetTemperatureUnit,
        .set = &TSDIHandler::SetTemperatureUnit,
        .field = &ParameterSet::TemperatureUnit,
        .models = Everywhere(
            {.exists = true, .firstText = TemperatureUnitTexts, .count = 2, .factory = 0}),
    },
    {
        .row = PrecipitationUnitRow,
        .panel = "PrecipitationUnitPanel",
        .control = "PrecipitationUnitComboBox",
        .label = IntensityUnitLabel,
        .fileKey = "PRECIPITATIONUNIT",
        .get = &TSDIHandler::GetIntensityUnit,
        .set = &TSDIHandler::SetIntensityUnit,
        .field = &ParameterSet::PrecipitationUnit,
        .models =
            Everywhere({.exists = true, .firstText = IntensityUnitTexts, .count = 4, .factory = 0}),
    },
    {
        .row = ImpulseOutputRow,
        .panel = "ImpulseOutputPanel",
        .control = "ImpulseOutputComboBox",
        .label = ImpulseOutputLabel,
        .fileKey = "IMPULSEOUTPUTFREQUENCY",
        .get = &TSDIHandler::GetImpulseFrequency,
        .set = &TSDIHandler::SetImpulseFrequency,
        .field = &ParameterSet::ImpulseFrequency,
        .models =
            Everywhere({.exists = true, .firstText = ImpulseOutputTexts, .count = 2, .factory = 0}),
    },
    {
        .row = ImpulseFactorRow,
        .panel = "ImpulsOutputFactorPanel",
        .control = "ImpulsOutputFactorCombobox",
        .label = ImpulseFactorLabel,
        .fileKey = "IMPULSFACTORINDEX",
        .get = &TSDIHandler::GetImpulseFactor,
        .set = &TSDIHandler::SetImpulseFactor,
        .firmwareDecides = true,
        .field = &ParameterSet::ImpulseFactor,
        .summary = Summary::OwnTexts,
        .summaryTexts = ImpulseFactorSummaryTexts,
        .models = Tessra2AndOthers({.exists = true,
                                    .literals = Tessra2ImpulseFactors,
                                    .lowerCodeShowsFirst = true,
                                    .hiddenUnlessOffered = true,
                                    .factory = 1},
                                   {.exists = true, .literals = ImpulseFactors, .factory = 1}),
    },
    {
        .row = HeatingModeRow,
        .panel = "HeatingSwitchPanel",
        .control = "HeatingMainSwitchComboBox",
        .label = HeatingModeLabel,
        .fileKey = "HEATINGMAINSWITCH",
        .get = &TSDIHandler::GetHeatingMode,
        .set = &TSDIHandler::SetHeatingMode,
        .field = &ParameterSet::HeatingMode,
        .models = Tessra2AndOthers({.exists = true,
                                    .firstText = HeatingModeTexts,
                                    .count = 2,
                                    .factory = HeatingPermanent,
                                    .factoryAsked = true},
                                   {.exists = true,
                                    .firstText = HeatingModeTexts,
                                    .count = 5,
                                    .factory = HeatingPermanent}),
    },
    {
        .row = NominalTemperatureRow,
        .panel = "TemperatureValuePanel",
        .control = "HeatingTemperatureValueEdit",
        .label = NominalTemperatureLabel,
        .fileKey = "NOMINALHEATINGTEMPINDEX",
        .kind = Control::Temperature,
        .shown = Shown::ByHeatingMode,
        .file = FileValue::Value,
        .get = &TSDIHandler::GetHeatingTemperature,
        .set = &TSDIHandler::SetHeatingTemperature,
        .field = &ParameterSet::HeatingTemperature,
        .summary = Summary::Temperature,
        .listedOnlyWhenHeating = true,
        .models = Tessra2AndOthers(
            {.exists = true, .range = {0, 20}, .modes = Modes({HeatingPermanent}), .factory = 4},
            {.exists = true, .range = {2, 9}, .start = 4, .modes = HeatingOn, .factory = 5}),
    },
    {
        .row = ThresholdRow,
        .panel = "HeatingThresholdTemperaturePanel",
        .control = "HeatingThresholdEdit",
        .label = ThresholdLabel,
        .fileKey = "HEATINGTHRESHOLD",
        .kind = Control::Temperature,
        .shown = Shown::ByHeatingMode,
        .file = FileValue::SignedValue,
        .get = &TSDIHandler::GetHeatingThreshold,
        .set = &TSDIHandler::SetHeatingThreshold,
        .failure = TSDIHandler::ThresholdFailure,
        .field = &ParameterSet::HeatingThreshold,
        .summary = Summary::Temperature,
        .models = TessraLAndS({.exists = true,
                               .range = {-40, 9},
                               .modes = Modes({HeatingRangeControl}),
                               .factory = -30}),
    },
    {
        .row = SwitchTimeRow,
        .panel = "HeatingStartTimePanel",
        .control = "HeatingStartTimePicker",
        .label = SwitchTimeLabel,
        .fileKey = "HEATINGSTARTTIME",
        .kind = Control::Time,
        .shown = Shown::ByHeatingMode,
        .file = FileValue::Text,
        .getText = &TSDIHandler::GetHeatingSwitchTime,
        .setText = &TSDIHandler::SetHeatingSwitchTime,
        .textField = &ParameterSet::HeatingSwitchTime,
        .summary = Summary::Text,
        .models = TessraLAndS(
            {.exists = true, .modes = Modes({HeatingNwsStandard}), .factoryText = "00:00:00"}),
    },
    {
        .row = DurationRow,
        .panel = "HeatingDurationPanel",
        .control = "HeatingDurationEdit",
        .label = DurationLabel,
        .fileKey = "HEATINGDURATION",
        .kind = Control::Minutes,
        .shown = Shown::ByHeatingMode,
        .dwd = Dwd::Keeps,
        .file = FileValue::Value,
        .get = &TSDIHandler::GetHeatingDuration,
        .set = &TSDIHandler::SetHeatingDuration,
        .field = &ParameterSet::HeatingDuration,
        .summary = Summary::Minutes,
        .models = TessraLAndS({.exists = true,
                               .range = {1, 1440},
                               .modes = Modes({HeatingNwsStandard, HeatingPrecipitationEvents}),
                               .factory = 20}),
    },
    {
        .row = SelfTestRow,
        .panel = "HeatingSelfTestPanel",
        .control = "HeatingSelfTestComboBox",
        .label = SelfTestLabel,
        .fileKey = "HEATINGSELFTEST",
        .shown = Shown::ByHeatingMode,
        .file = FileValue::Code,
        .get = &TSDIHandler::GetHeatingSelfTest,
        .set = &TSDIHandler::SetHeatingSelfTest,
        .field = &ParameterSet::HeatingSelfTest,
        .summary = Summary::Minutes,
        .models = TessraLAndS(
            {.exists = true, .literals = SelfTestIntervals, .modes = HeatingOn, .factory = 60}),
    },
}};

// The file lists the duration before the switching time.
constexpr std::array<Row, RowCount> FileRows{
    BusAddressRow,    InterfaceRow,     ProtocolRow,    TemperatureUnitRow,    PrecipitationUnitRow,
    ImpulseOutputRow, ImpulseFactorRow, HeatingModeRow, NominalTemperatureRow, ThresholdRow,
    DurationRow,      SwitchTimeRow,    SelfTestRow,
};

constexpr bool RowsInOrder() {
    for (int i = 0; i < RowCount; ++i)
        if (Table[static_cast<std::size_t>(i)].row != i)
            return false;
    return true;
}
static_assert(RowsInOrder(), "the table lists the rows in their order");

} // namespace

bool IsModel(int model) {
    return model >= 0 && model < ModelCount;
}

const std::array<Setting, RowCount>& Settings() {
    return Table;
}

const Setting& SettingOf(Row row) {
    return Table[static_cast<std::size_t>(row)];
}

const std::array<const Setting*, RowCount>& FileOrder() {
    static const std::array<const Setting*, RowCount> order = [] {
        std::array<const Setting*, RowCount> settings{};
        for (std::size_t i = 0; i < settings.size(); ++i)
            settings[i] = &SettingOf(FileRows[i]);
        return settings;
    }();
    return order;
}

const ModelSetting* OnModel(const Setting& setting, int model) {
    if (!IsModel(model))
        return nullptr;
    const ModelSetting& onModel = setting.models[static_cast<std::size_t>(model)];
    return onModel.exists ? &onModel : nullptr;
}

bool FactoryAsksHeating(int model) {
    const ModelSetting* heating = OnModel(SettingOf(HeatingModeRow), model);
    return heating != nullptr && heating->factoryAsked;
}

} // namespace Config
