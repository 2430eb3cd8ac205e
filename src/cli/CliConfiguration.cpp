#include "cli/CliConfiguration.h"

#include "config/ConfigurationFile.h"
#include "ui/WideLanguageHandler.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace Config;

namespace {

constexpr int UnknownKeyText = 806;
constexpr int NotValidText = 807;
constexpr int NotKeyValueText = 808;
constexpr int NotUsedText = 814;

const Setting* FindKey(const QByteArray& name) {
    for (const Setting* setting : FileOrder())
        if (name == setting->fileKey)
            return setting;
    return nullptr;
}

} // namespace

CliConfiguration::CliConfiguration(TSDIHandler& gauge) : sequence_(gauge, rows_, view_) {}

void CliConfiguration::Read(int model) {
    sequence_.Prepare(model);
    sequence_.Read();
}

void CliConfiguration::Write(bool force) {
    Write(rows_.Set(), force);
}

void CliConfiguration::Write(const ParameterSet& set, bool force) {
    sequence_.Write(set, force);
}

QStringList CliConfiguration::FailedKeys() const {
    QStringList keys;
    for (const Setting* setting : FileOrder())
        if (rows_.Shown(setting->row) && rows_.MarkOf(setting->row) == Mark::Failed)
            keys.append(QLatin1String(setting->fileKey));
    return keys;
}

IniDocument CliConfiguration::Export(bool impulseFactor) const {
    IniDocument document;
    ExportConfiguration(rows_, impulseFactor, document);
    return document;
}

QStringList CliConfiguration::KeyLines(const IniDocument& document) {
    QStringList lines;
    bool inSection = false;
    for (const QByteArray& raw : document.Lines()) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inSection = line.mid(1, line.size() - 2).toUpper() == FileSection;
            continue;
        }
        if (inSection && line.contains('='))
            lines.append(QString::fromLatin1(line));
    }
    return lines;
}

QByteArray CliConfiguration::Json(const IniDocument& document) {
    QJsonObject object;
    for (const QString& line : KeyLines(document)) {
        const QString name = line.section(u'=', 0, 0);
        const QByteArray value = line.section(u'=', 1).toLatin1();
        const Setting* key = FindKey(name.toLatin1());
        const std::optional<int> number = ParseIniInteger(value);
        if ((key == nullptr || key->file != FileValue::Text) && number)
            object.insert(name, *number);
        else
            object.insert(name, QString::fromLatin1(value));
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QString CliConfiguration::ParseChanges(const QStringList& changes, IniDocument& document) {
    for (const QString& change : changes) {
        const qsizetype equals = change.indexOf(u'=');
        if (equals <= 0)
            return GetText(NotKeyValueText).arg(change);
        const QByteArray name = change.left(equals).trimmed().toUpper().toLatin1();
        const QByteArray value = change.mid(equals + 1).trimmed().toLatin1();
        const Setting* key = FindKey(name);
        if (key == nullptr)
            return GetText(UnknownKeyText).arg(change.left(equals));
        bool valid = !value.isEmpty();
        if (valid && key->file != FileValue::Text) {
            const std::optional<int> number = ParseIniInteger(value);
            valid = number && (*number >= 0 || key->file == FileValue::SignedValue);
        }
        if (!valid)
            return GetText(NotValidText).arg(QLatin1String(name), change.mid(equals + 1));
        document.SetValue(FileSection, name, value);
    }
    return {};
}

QString CliConfiguration::ApplyChanges(const IniDocument& changes) {
    IniDocument document = changes;
    document.SetValue(FileSection, "TYPE", QByteArray::number(rows_.Model()));
    rows_.HideMarks();
    ImportConfiguration(document, sequence_);
    // A value the gauge would not get is no change at all: refuse it.
    for (const Setting* setting : FileOrder()) {
        if (!document.Value(FileSection, setting->fileKey))
            continue;
        if (setting->row != BusAddressRow &&
            (!rows_.Shown(setting->row) || rows_.MarkOf(setting->row) == Mark::None))
            return GetText(NotUsedText).arg(QLatin1String(setting->fileKey));
    }
    return RefusedKeys(document);
}

QString CliConfiguration::ApplyFile(const IniDocument& document) {
    rows_.HideMarks();
    ImportConfiguration(document, sequence_);
    return RefusedKeys(document);
}

QString CliConfiguration::RefusedKeys(const IniDocument& document) const {
    for (const Setting* setting : FileOrder()) {
        const std::optional<QByteArray> value = document.Value(FileSection, setting->fileKey);
        if (!value || value->isEmpty())
            continue;
        const bool refused = setting->row == BusAddressRow
                                 ? rows_.SelectedAddress().toLatin1() != *value
                                 : rows_.MarkOf(setting->row) == Mark::Failed;
        if (refused)
            return GetText(NotValidText)
                .arg(QLatin1String(setting->fileKey), QString::fromLatin1(*value));
    }
    return {};
}
