#include "config/ConfigurationFile.h"

#include "config/ConfigurationSequence.h"
#include "config/ParameterRows.h"
#include "ui/GaugeVocabulary.h"
#include "ui/WideLanguageHandler.h"

#include <QDir>
#include <QFile>

namespace Config {

const QByteArray FileSection = QByteArrayLiteral("CONFIGURATION");

namespace {

QByteArray Number(int value) {
    return QByteArray::number(value);
}

std::optional<int> Integer(const IniDocument& document, const char* key) {
    const std::optional<QByteArray> text = document.Value(FileSection, key);
    if (!text)
        return std::nullopt;
    return ParseIniInteger(*text);
}

// A key that holds a position or value that cannot be negative.
std::optional<int> NotNegative(const IniDocument& document, const char* key) {
    const std::optional<int> value = Integer(document, key);
    if (value && *value < 0)
        return std::nullopt;
    return value;
}

constexpr int NoModelInFileText = 700;
constexpr int OtherModelInFileText = 701;
constexpr int FileNotReadText = 702;
constexpr int FileNotWrittenText = 703;

QString FileMessage(int textId, const QString& path) {
    return GetText(textId).arg(QDir::toNativeSeparators(path));
}

QString ModelName(int model) {
    return IsModel(model) ? Vocabulary::ModelName(model) : QStringLiteral("TYPE=%1").arg(model);
}

} // namespace

const std::array<FileKey, RowCount>& FileKeys() {
    static const std::array<FileKey, RowCount> keys = {{
        {"BUSADDRESS", BusAddressRow, true, false},
        {"COMMUNICATIONINTERFACE", InterfaceRow, false, false},
        {"PROTOCOLTYPE", ProtocolRow, false, false},
        {"TEMPERATUREUNIT", TemperatureUnitRow, false, false},
        {"PRECIPITATIONUNIT", PrecipitationUnitRow, false, false},
        {"IMPULSEOUTPUTFREQUENCY", ImpulseOutputRow, false, false},
        {"IMPULSFACTORINDEX", ImpulseFactorRow, false, false},
        {"HEATINGMAINSWITCH", HeatingModeRow, false, false},
        {"NOMINALHEATINGTEMPINDEX", NominalTemperatureRow, false, false},
        {"HEATINGTHRESHOLD", ThresholdRow, false, true},
        {"HEATINGDURATION", DurationRow, false, false},
        {"HEATINGSTARTTIME", SwitchTimeRow, true, false},
        {"HEATINGSELFTEST", SelfTestRow, false, false},
    }};
    return keys;
}

std::optional<int> FileModel(const IniDocument& document) {
    return NotNegative(document, "TYPE");
}

void ExportConfiguration(const ParameterRows& rows, bool impulseFactor, IniDocument& document) {
    const auto put = [&document](const char* key, const QByteArray& value) {
        document.SetValue(FileSection, key, value);
    };
    put("TYPE", Number(rows.Model()));
    put("BUSADDRESS", rows.SelectedAddress().toLatin1());
    put("COMMUNICATIONINTERFACE", Number(rows.Selection(InterfaceRow)));
    put("PROTOCOLTYPE", Number(rows.Selection(ProtocolRow)));
    put("TEMPERATUREUNIT", Number(rows.Selection(TemperatureUnitRow)));
    put("PRECIPITATIONUNIT", Number(rows.Selection(PrecipitationUnitRow)));
    put("IMPULSEOUTPUTFREQUENCY", Number(rows.Selection(ImpulseOutputRow)));
    if (impulseFactor)
        put("IMPULSFACTORINDEX", Number(rows.Selection(ImpulseFactorRow)));
    put("HEATINGMAINSWITCH", Number(rows.Selection(HeatingModeRow)));
    // Temperatures in °C, whatever unit the rows display.
    if (rows.Shown(NominalTemperatureRow))
        put("NOMINALHEATINGTEMPINDEX", Number(rows.Position(NominalTemperatureRow)));
    if (rows.Shown(ThresholdRow))
        put("HEATINGTHRESHOLD", Number(rows.Position(ThresholdRow)));
    if (rows.Shown(DurationRow))
        put("HEATINGDURATION", Number(rows.Position(DurationRow)));
    if (rows.Shown(SwitchTimeRow))
        put("HEATINGSTARTTIME", rows.SwitchTime().toString(QStringLiteral("HH:mm:ss")).toLatin1());
    if (rows.Shown(SelfTestRow))
        put("HEATINGSELFTEST", Number(ParameterRows::SelfTestMinutes(rows.Selection(SelfTestRow))));
}

void ImportConfiguration(const IniDocument& document, ConfigurationSequence& sequence) {
    ParameterRows& rows = sequence.Rows();
    ConfigurationView& view = sequence.View();

    // The address row shows no mark for a file.
    const std::optional<QByteArray> address = document.Value(FileSection, "BUSADDRESS");
    if (address && !address->isEmpty()) {
        const Mark before = rows.MarkOf(BusAddressRow);
        if (rows.ApplyBusAddress(QString::fromLatin1(*address), true))
            view.RowReported(BusAddressRow);
        rows.SetMark(BusAddressRow, before);
    }

    const auto apply = [&](const char* key, Row row, auto&& applyValue) {
        if (const std::optional<int> value = NotNegative(document, key)) {
            applyValue(*value);
            view.RowReported(row);
        }
    };
    apply("COMMUNICATIONINTERFACE", InterfaceRow, [&](int v) { rows.ApplyInterface(v, true); });
    apply("PROTOCOLTYPE", ProtocolRow, [&](int v) { rows.ApplyProtocolPosition(v, true); });
    apply("TEMPERATUREUNIT", TemperatureUnitRow,
          [&](int v) { rows.ApplyListValue(TemperatureUnitRow, v, true); });
    apply("PRECIPITATIONUNIT", PrecipitationUnitRow,
          [&](int v) { rows.ApplyListValue(PrecipitationUnitRow, v, true); });
    apply("IMPULSEOUTPUTFREQUENCY", ImpulseOutputRow,
          [&](int v) { rows.ApplyListValue(ImpulseOutputRow, v, true); });
    apply("IMPULSFACTORINDEX", ImpulseFactorRow,
          [&](int v) { rows.ApplyImpulseFactorPosition(v, true); });
    apply("HEATINGMAINSWITCH", HeatingModeRow, [&](int v) { sequence.ApplyHeatingMode(v, true); });
    apply("NOMINALHEATINGTEMPINDEX", NominalTemperatureRow,
          [&](int v) { rows.ApplyNominalTemperature(v, true); });

    // The heating settings beyond the nominal temperature exist on models 1 and 2 only.
    if (rows.Model() > 0) {
        if (const std::optional<int> threshold = Integer(document, "HEATINGTHRESHOLD")) {
            rows.ApplyThreshold(*threshold, true);
            view.RowReported(ThresholdRow);
        }
        apply("HEATINGDURATION", DurationRow, [&](int v) { rows.ApplyDuration(v, true); });
        const std::optional<QByteArray> start = document.Value(FileSection, "HEATINGSTARTTIME");
        if (start && !start->isEmpty()) {
            sequence.ApplySwitchTime(QString::fromLatin1(*start), true);
            view.RowReported(SwitchTimeRow);
        }
        apply("HEATINGSELFTEST", SelfTestRow, [&](int v) { rows.ApplySelfTest(v, true); });
    }

    rows.EnableAllRows();
}

QString WriteConfigurationFile(const QString& path, const ParameterRows& rows, bool impulseFactor) {
    IniDocument document;
    if (QFile::exists(path)) {
        const std::optional<IniDocument> existing = IniDocument::Load(path);
        if (!existing)
            return FileMessage(FileNotReadText, path);
        document = *existing;
    }
    ExportConfiguration(rows, impulseFactor, document);
    if (!document.Save(path))
        return FileMessage(FileNotWrittenText, path);
    return {};
}

std::optional<IniDocument> ReadConfigurationFile(const QString& path, int model,
                                                 QString& refusal) {
    std::optional<IniDocument> loaded = IniDocument::Load(path);
    if (!loaded) {
        refusal = FileMessage(FileNotReadText, path);
        return std::nullopt;
    }
    const std::optional<int> fileModel = FileModel(*loaded);
    if (!fileModel) {
        refusal = GetText(NoModelInFileText);
        return std::nullopt;
    }
    if (*fileModel != model) {
        refusal = GetText(OtherModelInFileText).arg(ModelName(*fileModel));
        return std::nullopt;
    }
    refusal.clear();
    return loaded;
}

} // namespace Config
