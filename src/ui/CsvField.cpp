#include "ui/CsvField.h"

#include <algorithm>

QString CsvField(QStringView text) {
    const bool quoted = std::any_of(text.begin(), text.end(), [](QChar c) {
        return c == u',' || c == u'"' || c == u'\r' || c == u'\n';
    });
    if (!quoted)
        return text.toString();
    QString field;
    field.reserve(text.size() + 2);
    field.append(u'"');
    for (const QChar c : text) {
        if (c == u'"')
            field.append(u'"');
        field.append(c);
    }
    field.append(u'"');
    return field;
}
