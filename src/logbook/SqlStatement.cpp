#include "logbook/SqlStatement.h"

SqlStatement::SqlStatement(const QSqlDatabase& database, SqlText sql) : query_(database) {
    prepared_ = query_.prepare(sql.Text());
}

bool SqlStatement::Run(std::initializer_list<QVariant> values) {
    if (!prepared_)
        return false;
    int position = 0;
    for (const QVariant& value : values)
        query_.bindValue(position++, value);
    return query_.exec();
}

bool RunSql(const QSqlDatabase& database, SqlText sql, std::initializer_list<QVariant> values,
            QSqlError* error) {
    SqlStatement statement(database, sql);
    const bool ok = statement.Run(values);
    if (!ok && error != nullptr)
        *error = statement.Error();
    return ok;
}
