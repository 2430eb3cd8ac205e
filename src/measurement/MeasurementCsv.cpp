#include "measurement/MeasurementCsv.h"

#include "link/ByteText.h"
#include "ui/CsvField.h"

#include <QIODevice>
#include <QSaveFile>

#include <algorithm>

namespace MeasurementCsv {

namespace {

// Bytes collected before they are handed to the device.
constexpr qsizetype ChunkBytes = 1 << 20;
const QString LineEnd = QStringLiteral("\r\n");

void AppendDigits(QString& text, int value, int digits) {
    QChar buffer[4];
    for (int i = digits - 1; i >= 0; --i) {
        buffer[i] = QChar(u'0' + value % 10);
        value /= 10;
    }
    text.append(buffer, digits);
}

bool Flush(QIODevice& device, QByteArray& buffer) {
    const bool written = device.write(buffer) == buffer.size();
    buffer.resize(0);
    return written;
}

} // namespace

QString Field(QStringView text) {
    return CsvField(text);
}

QString TimeText(double time) {
    const DateTimeFields f = DecodeDateTimeValue(time);
    QString text;
    text.reserve(19);
    AppendDigits(text, std::clamp(f.year, 0, 9999), 4);
    text.append(u'-');
    AppendDigits(text, f.month, 2);
    text.append(u'-');
    AppendDigits(text, f.day, 2);
    text.append(u'T');
    AppendDigits(text, f.hour, 2);
    text.append(u':');
    AppendDigits(text, f.minute, 2);
    text.append(u':');
    AppendDigits(text, f.second, 2);
    return text;
}

QString HeaderLine(const QString& timeTitle, const MeasurementExport::RowTexts& rows) {
    QString line = Field(timeTitle);
    for (const MeasurementExport::RowText& row : rows) {
        QString title = row.title.trimmed();
        const QString unit = row.unit.trimmed();
        if (!unit.isEmpty())
            title += QStringLiteral(" [") + unit + u']';
        line += u',' + Field(title);
    }
    return line;
}

QString RecordLine(const MeasurementValues& record) {
    QString line = TimeText(record.Time);
    for (std::size_t i = 0; i < MeasurementPositionCount; ++i) {
        const std::string_view value = record.Value(i);
        line += u',' + Field(Latin1Text(value));
    }
    return line;
}

bool Write(QIODevice& device, const TMeasurementValueArray& history,
           const MeasurementExport::RowTexts& rows, const QString& timeTitle) {
    QByteArray buffer = (HeaderLine(timeTitle, rows) + LineEnd).toUtf8();
    buffer.reserve(ChunkBytes + 64 * 1024);
    for (std::size_t r = 0; r < history.Size(); ++r) {
        buffer.append((RecordLine(history[r]) + LineEnd).toUtf8());
        if (buffer.size() >= ChunkBytes && !Flush(device, buffer))
            return false;
    }
    return Flush(device, buffer);
}

bool ExportCsv(const QString& path, const TMeasurementValueArray& history,
               const MeasurementExport::RowTexts& rows, const QString& timeTitle, QString* error) {
    QSaveFile file(path);
    const bool saved =
        file.open(QIODevice::WriteOnly) && Write(file, history, rows, timeTitle) && file.commit();
    if (!saved && error != nullptr)
        *error = file.errorString();
    return saved;
}

} // namespace MeasurementCsv
