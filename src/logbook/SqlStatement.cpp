#include "logbook/SqlStatement.h"

#include <QJsonArray>
#include <QJsonDocument>

SqlStatement::SqlStatement(const QSqlDatabase& database, SqlText sql) : query_(database) {
    prepared_ = query_.prepare(sql.Text());
}

bool SqlStatement::Run(std::initializer_list<QVariant> values) {
    return Run(QVariantList(values));
}

bool SqlStatement::Run(const QVariantList& values) {
    if (!prepared_)
        return false;
    int position = 0;
    for (const QVariant& value : values)
        query_.bindValue(position++, value);
    return query_.exec();
}

namespace {

QString Json(const QJsonDocument& document) {
    return QString::fromUtf8(document.toJson(QJsonDocument::Compact));
}

} // namespace

QVariantList EntryColumnValues(const LogbookEntry& entry) {
    return {entry.id.toString(QUuid::WithoutBraces),
            StoredTime(entry.timeUtc),
            NotNull(entry.gauge.serialNumber),
            NotNull(entry.gauge.hardwareIndex),
            entry.gauge.model,
            NotNull(entry.gauge.firmwareVersion),
            KindName(entry.kind),
            NotNull(entry.summary),
            Json(QJsonDocument(entry.details)),
            Json(QJsonDocument(QJsonArray::fromStringList(entry.files))),
            NotNull(entry.osUser),
            NotNull(entry.host),
            NotNull(entry.programVersion)};
}

LogbookEntry EntryOfColumns(const SqlStatement& row, int first) {
    const auto text = [&row, first](int column) { return row.Value(first + column).toString(); };
    LogbookEntry entry;
    entry.id = QUuid::fromString(text(0));
    entry.timeUtc = TimeFromStored(text(1));
    entry.gauge.serialNumber = text(2);
    entry.gauge.hardwareIndex = text(3);
    entry.gauge.model = row.Value(first + 4).toInt();
    entry.gauge.firmwareVersion = text(5);
    entry.kind = KindFromName(text(6)).value_or(LogbookKind::Connection);
    entry.summary = text(7);
    entry.details = QJsonDocument::fromJson(text(8).toUtf8()).object();
    for (const QJsonValue& file : QJsonDocument::fromJson(text(9).toUtf8()).array())
        entry.files.append(file.toString());
    entry.osUser = text(10);
    entry.host = text(11);
    entry.programVersion = text(12);
    return entry;
}

bool RunSql(const QSqlDatabase& database, SqlText sql, std::initializer_list<QVariant> values,
            QSqlError* error) {
    SqlStatement statement(database, sql);
    const bool ok = statement.Run(values);
    if (!ok && error != nullptr)
        *error = statement.Error();
    return ok;
}
