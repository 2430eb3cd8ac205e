#include "measurement/MeasurementExport.h"

#include "ui/Utf16TextFile.h"

#include <QSaveFile>

namespace MeasurementExport {

namespace {

// Bytes collected before they are handed to the device.
constexpr qsizetype ChunkBytes = 1 << 20;

void AppendLatin1AsUtf16(QByteArray& out, std::string_view text) {
    const qsizetype at = out.size();
    out.resize(at + 2 * static_cast<qsizetype>(text.size()));
    char* bytes = out.data() + at;
    for (const char c : text) {
        *bytes++ = c;
        *bytes++ = 0;
    }
}

void AppendTwoDigits(char16_t* text, int value) {
    text[0] = static_cast<char16_t>(u'0' + value / 10 % 10);
    text[1] = static_cast<char16_t>(u'0' + value % 10);
}

// "dd.mm.yyyy hh:nn:ss;" of a record.
QString StampOf(double time, QChar separator) {
    const DateTimeFields f = DecodeDateTimeValue(time);
    QString stamp(20, u' ');
    auto* text = reinterpret_cast<char16_t*>(stamp.data());
    AppendTwoDigits(text, f.day);
    text[2] = u'.';
    AppendTwoDigits(text + 3, f.month);
    text[5] = u'.';
    const int year = f.year < 0 ? 0 : f.year % 10000;
    AppendTwoDigits(text + 6, year / 100);
    AppendTwoDigits(text + 8, year % 100);
    text[10] = u' ';
    AppendTwoDigits(text + 11, f.hour);
    text[13] = separator.unicode();
    AppendTwoDigits(text + 14, f.minute);
    text[16] = separator.unicode();
    AppendTwoDigits(text + 17, f.second);
    text[19] = u';';
    return stamp;
}

bool Flush(QIODevice& device, QByteArray& buffer) {
    const bool written = device.write(buffer) == buffer.size();
    buffer.resize(0);
    return written;
}

} // namespace

bool Write(QIODevice& device, const TMeasurementValueArray& history, const RowTexts& rows,
           QChar timeSeparator) {
    // What every line of a position carries around its value, encoded once.
    std::array<QByteArray, MeasurementPositionCount> beforeValue;
    std::array<QByteArray, MeasurementPositionCount> afterValue;
    for (std::size_t i = 0; i < MeasurementPositionCount; ++i) {
        AppendUtf16Le(beforeValue[i], QString(rows[i].title + u';'));
        AppendUtf16Le(afterValue[i], QString(u';' + rows[i].unit));
        AppendUtf16LeLineEnd(afterValue[i]);
    }

    QByteArray buffer = Utf16LeByteOrderMark();
    buffer.reserve(ChunkBytes + 64 * 1024);
    for (std::size_t r = 0; r < history.Size(); ++r) {
        const MeasurementValues& record = history[r];
        const QString stamp = StampOf(record.Time, timeSeparator);
        for (std::size_t i = 0; i < MeasurementPositionCount; ++i) {
            AppendUtf16Le(buffer, stamp);
            buffer.append(beforeValue[i]);
            AppendLatin1AsUtf16(buffer, record.Value(i));
            buffer.append(afterValue[i]);
        }
        if (buffer.size() >= ChunkBytes && !Flush(device, buffer))
            return false;
    }
    return Flush(device, buffer);
}

bool ExportMeasurements(const QString& path, const TMeasurementValueArray& history,
                        const RowTexts& rows, QChar timeSeparator, QString* error) {
    QSaveFile file(path);
    const bool saved = file.open(QIODevice::WriteOnly) &&
                       Write(file, history, rows, timeSeparator) && file.commit();
    if (!saved && error != nullptr)
        *error = file.errorString();
    return saved;
}

} // namespace MeasurementExport
