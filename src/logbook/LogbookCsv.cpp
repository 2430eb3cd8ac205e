#include "logbook/LogbookCsv.h"

#include "ui/CsvField.h"

#include <QJsonDocument>
#include <QSaveFile>

namespace {

const QStringList Columns = {QStringLiteral("id"),
                             QStringLiteral("time"),
                             QStringLiteral("serial_number"),
                             QStringLiteral("hardware_index"),
                             QStringLiteral("model"),
                             QStringLiteral("firmware_version"),
                             QStringLiteral("kind"),
                             QStringLiteral("summary"),
                             QStringLiteral("details"),
                             QStringLiteral("files"),
                             QStringLiteral("os_user"),
                             QStringLiteral("host"),
                             QStringLiteral("program_version")};

} // namespace

QString LogbookCsvHeader() {
    return Columns.join(u',');
}

QString LogbookCsvLine(const LogbookEntry& entry) {
    const QJsonObject object = EntryToJson(entry);
    QStringList fields;
    for (const QString& column : Columns) {
        const QJsonValue value = object.value(column);
        if (value.isObject())
            fields.append(CsvField(
                QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact))));
        else if (value.isArray())
            fields.append(CsvField(entry.files.join(u';')));
        else
            fields.append(CsvField(value.toVariant().toString()));
    }
    return fields.join(u',');
}

bool WriteLogbookCsv(const QString& path, const std::vector<LogbookEntry>& entries,
                     QString* error) {
    const QString lineEnd = QStringLiteral("\r\n");
    QByteArray bytes = (LogbookCsvHeader() + lineEnd).toUtf8();
    for (const LogbookEntry& entry : entries)
        bytes.append((LogbookCsvLine(entry) + lineEnd).toUtf8());
    QSaveFile file(path);
    const bool saved =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!saved && error != nullptr)
        *error = file.errorString();
    return saved;
}
