// measure [--count N] [--interval S] [--reconnect-timeout S] [--csv|--jsonl]:
// one line per record. An adapter that is unplugged meanwhile is waited
// for; the record it took with it is taken again once it is back.

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "link/ByteText.h"
#include "link/Clock.h"
#include "measurement/MeasurementCsv.h"
#include "measurement/MeasurementSequence.h"
#include "ui/WideLanguageHandler.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Measurement;

namespace {

constexpr int NotAllValuesText = 132;
constexpr int ExcludedText = 820;
constexpr int AdapterLostText = 900;
constexpr int GaugeBackText = 901;
constexpr int NotBackText = 902;
constexpr int OtherGaugeText = 903;
constexpr double DefaultReconnectTimeoutSeconds = 600.0;

class FailureWatch : public MeasurementView {
public:
    void GroupFailed() override { failed = true; }
    bool failed = false;
};

enum class Format { Readable, Csv, Jsonl };

QString Stamp(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QString Time(const MeasurementValues& record) {
    return MeasurementCsv::TimeText(record.Time);
}

QString Raw(const MeasurementValues& record, int position) {
    const std::string_view value = record.Value(static_cast<std::size_t>(position));
    return Latin1Text(value);
}

// The titles and units of the rows, as the area would export them.
MeasurementExport::RowTexts Rows(const MeasurementSequence& sequence) {
    MeasurementExport::RowTexts rows;
    for (int position = 0; position < MeasurementLayout::PositionCount; ++position) {
        const ValueRow& row = sequence.Row(position);
        rows[static_cast<std::size_t>(position)] = {GetText(row.titleTextId), row.unitText};
    }
    return rows;
}

QString Line(const MeasurementSequence& sequence, Format format) {
    const MeasurementValues& record = sequence.History().Last();
    switch (format) {
    case Format::Csv:
        return MeasurementCsv::RecordLine(record);
    case Format::Jsonl: {
        QJsonArray values;
        for (int position = 0; position < MeasurementLayout::PositionCount; ++position)
            values.append(Raw(record, position));
        QJsonObject object;
        object.insert(QStringLiteral("time"), Time(record));
        object.insert(QStringLiteral("values"), values);
        object.insert(QStringLiteral("status"), sequence.StatusWord());
        return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    }
    case Format::Readable:
        break;
    }
    QStringList parts{Time(record)};
    for (int position = 0; position < MeasurementLayout::PositionCount; ++position) {
        const ValueRow& row = sequence.Row(position);
        if (!row.hidden)
            parts.append(GetText(row.titleTextId) + QStringLiteral(": ") + row.valueText);
    }
    return parts.join(QStringLiteral("; "));
}

QString Now() {
    return Stamp(QDateTime::currentDateTime());
}

// The adapter went away: says so, waits for it to come back with the same
// gauge and says how that ended. 0 when measuring goes on, else the exit code.
int AwaitGauge(CliSession& session, const std::string& gaugeSerial, double timeoutSeconds) {
    const QString seconds = QString::number(timeoutSeconds);
    session.Say(GetText(AdapterLostText).arg(Now(), seconds));
    std::string found;
    switch (session.AwaitReturn(gaugeSerial, timeoutSeconds * 1000.0, found)) {
    case CliSession::Return::Same:
        session.Say(GetText(GaugeBackText).arg(Now()));
        return ExitSuccess;
    case CliSession::Return::Other:
        return session.Fail(ExitNoAnswer,
                            GetText(OtherGaugeText)
                                .arg(QString::fromLatin1(found), QString::fromLatin1(gaugeSerial)));
    case CliSession::Return::NotBack:
        break;
    }
    return session.Fail(ExitNoAnswer, GetText(NotBackText).arg(seconds));
}

} // namespace

int RunMeasure(CliSession& session, const QStringList& arguments) {
    const CliOptions& options = session.Options();
    if (!arguments.isEmpty())
        return WrongArguments(session, "measure");
    if (options.csv && options.jsonl)
        return session.Fail(
            ExitBadInput,
            GetText(ExcludedText).arg(QStringLiteral("--csv"), QStringLiteral("--jsonl")));
    const Format format = options.csv     ? Format::Csv
                          : options.jsonl ? Format::Jsonl
                                          : Format::Readable;
    const int count = options.count.value_or(1);
    const double intervalMs = options.intervalSeconds.value_or(0.0) * 1000.0;
    const double reconnectTimeoutSeconds =
        options.reconnectTimeoutSeconds.value_or(DefaultReconnectTimeoutSeconds);
    if (const int failed = session.ConnectGauge())
        return failed;
    // Asked now: a gauge whose adapter is gone cannot be asked any more.
    const std::string gaugeSerial = session.Gauge().GaugeSerialNumber();

    FailureWatch watch;
    MeasurementSequence sequence(session.Gauge(), watch);
    sequence.Prepare(session.Model());
    QTextStream& out = session.Out();
    Clock& clock = TheClock();
    double start = clock.NowMs();
    for (int i = 0; i < count;) {
        // Each record starts interval after the one before it, however long a record took.
        const double due = start + i * intervalMs;
        const double now = clock.NowMs();
        if (due > now)
            clock.SleepMs(due - now);
        watch.failed = false;
        sequence.SingleMeasurement();
        // A gauge that answered without all its values, on a line that is
        // still there, is not waited for.
        if (watch.failed)
            return session.Fail(ExitNoAnswer, GetText(NotAllValuesText));
        if (sequence.GaugeLost()) {
            if (const int failed = AwaitGauge(session, gaugeSerial, reconnectTimeoutSeconds))
                return failed;
            // The record whose values never arrived is taken again at once,
            // the ones after it at the interval from there.
            start = clock.NowMs() - i * intervalMs;
            continue;
        }
        // The units are known once the gauge has reported them.
        if (i == 0 && format == Format::Csv)
            out << MeasurementCsv::HeaderLine(QStringLiteral("time"), Rows(sequence)) << Qt::endl;
        out << Line(sequence, format) << Qt::endl;
        ++i;
    }
    return ExitSuccess;
}
