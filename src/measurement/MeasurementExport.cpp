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

RecordLines::RecordLines(const RowTexts& rows) {
    for (std::size_t i = 0; i < MeasurementPositionCount; ++i) {
        AppendUtf16Le(beforeValue_[i], QString(rows[i].title + u';'));
        AppendUtf16Le(afterValue_[i], QString(u';' + rows[i].unit));
        AppendUtf16LeLineEnd(afterValue_[i]);
    }
}

void RecordLines::AppendTo(QByteArray& out, const MeasurementValues& record,
                           QChar timeSeparator) const {
    const QString stamp = StampOf(record.Time, timeSeparator);
    for (std::size_t i = 0; i < MeasurementPositionCount; ++i) {
        AppendUtf16Le(out, stamp);
        out.append(beforeValue_[i]);
        AppendLatin1AsUtf16(out, record.Value(i));
        out.append(afterValue_[i]);
    }
}

bool Write(QIODevice& device, const TMeasurementValueArray& history, const RowTexts& rows,
           QChar timeSeparator) {
    const RecordLines lines(rows);
    QByteArray buffer = Utf16LeByteOrderMark();
    buffer.reserve(ChunkBytes + 64 * 1024);
    for (std::size_t r = 0; r < history.Size(); ++r) {
        lines.AppendTo(buffer, history[r], timeSeparator);
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
