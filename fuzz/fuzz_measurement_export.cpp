// A measurement export or run journal, whatever bytes it holds: reading
// either fails with a reason, leaving the history alone, or gives whole
// records. Writing those back with the file's rows and separator and
// reading again gives the same records, rows and separator, and writing
// them once more gives the same bytes.

#include "FuzzSupport.h"
#include "measurement/MeasurementExport.h"

#include <QBuffer>

#include <cstdint>

namespace {

MeasurementExport::ReadResult ReadBytes(const QByteArray& bytes, TMeasurementValueArray& out) {
    QBuffer buffer;
    buffer.setData(bytes);
    Check(buffer.open(QIODevice::ReadOnly));
    return MeasurementExport::Read(buffer, out);
}

QByteArray WriteBytes(const TMeasurementValueArray& history,
                      const MeasurementExport::ReadResult& read) {
    QBuffer buffer;
    Check(buffer.open(QIODevice::WriteOnly));
    Check(MeasurementExport::Write(buffer, history, read.rows, read.timeSeparator));
    return buffer.data();
}

bool SameRecords(const TMeasurementValueArray& a, const TMeasurementValueArray& b) {
    if (a.Size() != b.Size())
        return false;
    for (std::size_t i = 0; i < a.Size(); ++i) {
        if (a[i].Time != b[i].Time)
            return false;
        for (std::size_t p = 0; p < MeasurementPositionCount; ++p)
            if (a[i].Value(p) != b[i].Value(p))
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    TMeasurementValueArray history;
    const MeasurementExport::ReadResult read = ReadBytes(input, history);
    Check(read.ok == read.error.isEmpty());
    Check(history.Size() == read.records);
    if (!read.ok)
        return 0;
    Check(read.leftOutLines >= 0 && read.leftOutLines <= 12);

    const QByteArray written = WriteBytes(history, read);
    TMeasurementValueArray again;
    const MeasurementExport::ReadResult reread = ReadBytes(written, again);
    Check(reread.ok);
    Check(reread.leftOutLines == 0);
    Check(SameRecords(history, again));
    if (!history.Empty()) {
        Check(reread.rows == read.rows);
        Check(reread.timeSeparator == read.timeSeparator);
    }
    Check(WriteBytes(again, reread) == written);
    return 0;
}
