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

std::optional<int> FileModel(const IniDocument& document) {
    return NotNegative(document, "TYPE");
}

void ExportConfiguration(const ParameterRows& rows, bool impulseFactor, IniDocument& document) {
    document.SetValue(FileSection, "TYPE", Number(rows.Model()));
    for (const Setting* setting : FileOrder()) {
        const Row row = setting->row;
        if ((setting->firmwareDecides && !impulseFactor) ||
            (setting->shown == Shown::ByHeatingMode && !rows.Shown(row)))
            continue;
        QByteArray value;
        switch (setting->file) {
        case FileValue::Text:
            value = setting->kind == Control::Time
                        ? rows.SwitchTime().toString(QStringLiteral("HH:mm:ss")).toLatin1()
                        : rows.SelectedAddress().toLatin1();
            break;
        case FileValue::Position:
            value = Number(rows.Selection(row));
            break;
        case FileValue::Code:
            value = Number(rows.CodeAt(row, rows.Selection(row)));
            break;
        case FileValue::Value:
        case FileValue::SignedValue:
            // Temperatures in °C, whatever unit the rows display.
            value = Number(rows.Position(row));
            break;
        }
        document.SetValue(FileSection, setting->fileKey, value);
    }
}

QJsonObject ConfigurationValues(const ParameterRows& rows) {
    IniDocument document;
    ExportConfiguration(rows, rows.Shown(ImpulseFactorRow), document);
    QJsonObject values;
    for (const char* key : {"TYPE"})
        if (const std::optional<QByteArray> value = document.Value(FileSection, key))
            values.insert(QLatin1String(key), QString::fromLatin1(*value));
    for (const Setting* setting : FileOrder())
        if (const std::optional<QByteArray> value = document.Value(FileSection, setting->fileKey))
            values.insert(QLatin1String(setting->fileKey), QString::fromLatin1(*value));
    return values;
}

void ImportConfiguration(const IniDocument& document, ConfigurationSequence& sequence) {
    ParameterRows& rows = sequence.Rows();
    for (const Setting* setting : FileOrder()) {
        const Row row = setting->row;
        if (!rows.Exists(row))
            continue;
        if (setting->file == FileValue::Text) {
            const std::optional<QByteArray> text = document.Value(FileSection, setting->fileKey);
            if (!text || text->isEmpty())
                continue;
            // The address row shows no mark for a file.
            const Mark before = rows.MarkOf(row);
            const bool applied = sequence.ApplyText(row, QString::fromLatin1(*text), true);
            if (setting->kind == Control::AddressList) {
                if (applied)
                    sequence.View().RowReported(row);
                rows.SetMark(row, before);
            } else {
                sequence.View().RowReported(row);
            }
            continue;
        }
        const std::optional<int> value = setting->file == FileValue::SignedValue
                                             ? Integer(document, setting->fileKey)
                                             : NotNegative(document, setting->fileKey);
        if (!value)
            continue;
        if (setting->file == FileValue::Position)
            sequence.ApplyPosition(row, *value, true);
        else
            sequence.ApplyValue(row, *value, true);
        sequence.View().RowReported(row);
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

std::optional<IniDocument> ReadConfigurationFile(const QString& path, int model, QString& refusal) {
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
