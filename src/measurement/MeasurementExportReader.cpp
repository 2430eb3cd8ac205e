// Reading a measurement export (or a run journal) back into records. The
// file is read in pieces, so a week of records never sits in memory twice.

#include "measurement/MeasurementExport.h"

#include "ui/Utf16TextFile.h"
#include "ui/WideLanguageHandler.h"

#include <QByteArrayView>
#include <QDate>
#include <QFile>
#include <QTime>

#include <string>

namespace MeasurementExport {

namespace {

constexpr qint64 ReadChunkBytes = 1 << 20;
// "dd.mm.yyyy hh:nn:ss;" before the title.
constexpr qsizetype StampLength = 20;
constexpr int LinesPerRecord = static_cast<int>(MeasurementPositionCount);
// Gauge values are bytes; the export writes each as one code unit.
constexpr char16_t LastByteUnit = 0xFF;

constexpr int NoMarkTextId = 913;
constexpr int BadLineTextId = 914;
constexpr int OtherTimeTextId = 915;
constexpr int NotReadTextId = 916;

const QByteArrayView LineEnd("\r\0\n\0", 4);

bool TwoDigits(QStringView text, qsizetype at, int& value) {
    const QChar high = text[at];
    const QChar low = text[at + 1];
    if (high < u'0' || high > u'9' || low < u'0' || low > u'9')
        return false;
    value = (high.unicode() - u'0') * 10 + (low.unicode() - u'0');
    return true;
}

class Parser {
public:
    // One complete line (without its CR LF); false and result.error set
    // when it is no line of an export.
    bool Line(QStringView line);
    // Complete lines of the record not yet whole.
    int LinesOfOpenRecord() const { return linesInRecord_; }

    // The records read so far; result without ok, records and leftOutLines.
    TMeasurementValueArray records;
    ReadResult result;

private:
    // The time of a stamp; false when it is none (or uses another separator).
    bool StampTime(QStringView stamp, double& time);
    void SetBadLine() { result.error = GetText(BadLineTextId).arg(lineNumber_); }

    int lineNumber_ = 0;
    int linesInRecord_ = 0;
    int recordFirstLine_ = 0;
    bool separatorKnown_ = false;
    QString recordStamp_;
    double recordTime_ = 0.0;
    std::array<std::string, MeasurementPositionCount> values_;
    RowTexts rows_;
};

bool Parser::StampTime(QStringView stamp, double& time) {
    int day = 0, month = 0, century = 0, year = 0, hour = 0, minute = 0, second = 0;
    if (!TwoDigits(stamp, 0, day) || stamp[2] != u'.' || !TwoDigits(stamp, 3, month) ||
        stamp[5] != u'.' || !TwoDigits(stamp, 6, century) || !TwoDigits(stamp, 8, year) ||
        stamp[10] != u' ' || !TwoDigits(stamp, 11, hour) || !TwoDigits(stamp, 14, minute) ||
        !TwoDigits(stamp, 17, second) || stamp[19] != u';')
        return false;
    const QChar separator = stamp[13];
    if (stamp[16] != separator || separator.isDigit())
        return false;
    if (!separatorKnown_) {
        result.timeSeparator = separator;
        separatorKnown_ = true;
    } else if (separator != result.timeSeparator) {
        return false;
    }
    const QDate date(century * 100 + year, month, day);
    const QTime clock(hour, minute, second);
    if (!date.isValid() || !clock.isValid())
        return false;
    time = DateTimeValue(date, clock);
    return true;
}

bool Parser::Line(QStringView line) {
    ++lineNumber_;
    const qsizetype firstSemicolon = line.indexOf(u';', StampLength);
    const qsizetype lastSemicolon = line.lastIndexOf(u';');
    if (line.size() < StampLength || firstSemicolon < 0 || lastSemicolon == firstSemicolon) {
        SetBadLine();
        return false;
    }
    const QStringView stamp = line.first(StampLength);
    if (linesInRecord_ == 0) {
        if (!StampTime(stamp, recordTime_)) {
            SetBadLine();
            return false;
        }
        recordStamp_ = stamp.toString();
        recordFirstLine_ = lineNumber_;
    } else if (stamp != recordStamp_) {
        double time = 0.0;
        if (!StampTime(stamp, time))
            SetBadLine();
        else
            result.error = GetText(OtherTimeTextId).arg(lineNumber_).arg(recordFirstLine_);
        return false;
    }

    // The value lies between the title's ";" and the unit's: titles and
    // units never hold one, a gauge's value may.
    const QStringView value = line.sliced(firstSemicolon + 1, lastSemicolon - firstSemicolon - 1);
    std::string& bytes = values_[static_cast<std::size_t>(linesInRecord_)];
    bytes.clear();
    bytes.reserve(static_cast<std::size_t>(value.size()));
    for (const QChar unit : value) {
        if (unit.unicode() > LastByteUnit) {
            SetBadLine();
            return false;
        }
        bytes.push_back(static_cast<char>(unit.unicode()));
    }
    if (records.Empty()) {
        RowText& row = rows_[static_cast<std::size_t>(linesInRecord_)];
        row.title = line.sliced(StampLength, firstSemicolon - StampLength).toString();
        row.unit = line.sliced(lastSemicolon + 1).toString();
    }

    if (++linesInRecord_ < LinesPerRecord)
        return true;
    MeasurementValues::Strings strings;
    for (std::size_t i = 0; i < MeasurementPositionCount; ++i)
        strings[i] = values_[i];
    records.Append(MeasurementValues(recordTime_, strings));
    if (records.Size() == 1)
        result.rows = rows_;
    linesInRecord_ = 0;
    return true;
}

// The offset of the next CR LF at a code unit boundary at or after from, or -1.
qsizetype NextLineEnd(const QByteArray& bytes, qsizetype from) {
    for (qsizetype at = bytes.indexOf(LineEnd, from); at >= 0;
         at = bytes.indexOf(LineEnd, at + 1)) {
        if (at % 2 == 0)
            return at;
    }
    return -1;
}

} // namespace

ReadResult Read(QIODevice& device, TMeasurementValueArray& history) {
    Parser parser;
    QByteArray pending = device.read(2);
    if (pending != Utf16LeByteOrderMark()) {
        parser.result.error = GetText(NoMarkTextId);
        return parser.result;
    }
    pending.clear();
    qsizetype lineStart = 0;
    qsizetype searchFrom = 0;
    for (QByteArray chunk = device.read(ReadChunkBytes); !chunk.isEmpty();
         chunk = device.read(ReadChunkBytes)) {
        // pending always begins at a line's start, so offsets in it are even
        // exactly at code unit boundaries.
        pending.remove(0, lineStart);
        searchFrom -= lineStart;
        lineStart = 0;
        pending.append(chunk);
        for (qsizetype end = NextLineEnd(pending, searchFrom); end >= 0;
             end = NextLineEnd(pending, lineStart)) {
            const QString line =
                DecodeUtf16Le(QByteArrayView(pending).sliced(lineStart, end - lineStart));
            if (!parser.Line(line))
                return parser.result;
            lineStart = end + LineEnd.size();
        }
        // A line end may begin in the last bytes read.
        searchFrom = std::max(lineStart, pending.size() - LineEnd.size() + 1);
    }

    ReadResult result = parser.result;
    result.ok = true;
    result.records = parser.records.Size();
    result.leftOutLines = parser.LinesOfOpenRecord() + (pending.size() > lineStart ? 1 : 0);
    if (history.Empty()) {
        history = std::move(parser.records);
    } else {
        for (std::size_t i = 0; i < parser.records.Size(); ++i)
            history.Append(parser.records[i]);
    }
    return result;
}

ReadResult Read(const QString& path, TMeasurementValueArray& history) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReadResult result;
        result.error = GetText(NotReadTextId).arg(path, file.errorString());
        return result;
    }
    return Read(file, history);
}

} // namespace MeasurementExport
