// measure [--count N] [--interval S] [--csv|--jsonl]: one line per record.

#include "cli/CliCommands.h"
#include "cli/CliFormats.h"
#include "cli/CliSession.h"
#include "link/Clock.h"
#include "measurement/MeasurementSequence.h"
#include "ui/WideLanguageHandler.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Measurement;

namespace {

constexpr int NotAllValuesText = 132;
constexpr int ExcludedText = 820;

class FailureWatch : public MeasurementView {
public:
    void GroupFailed() override { failed = true; }
    bool failed = false;
};

enum class Format { Readable, Csv, Jsonl };

QString Time(const MeasurementValues& record) {
    return DateTimeOf(record.Time).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QString Raw(const MeasurementValues& record, int position) {
    const std::string_view value = record.Value(static_cast<std::size_t>(position));
    return QString::fromLatin1(value.data(), static_cast<qsizetype>(value.size()));
}

QString CsvHeader(const MeasurementSequence& sequence) {
    QStringList fields{QStringLiteral("time")};
    for (int position = 0; position < MeasurementLayout::PositionCount; ++position) {
        const ValueRow& row = sequence.Row(position);
        QString title = GetText(row.titleTextId);
        if (!row.unitText.isEmpty())
            title += QStringLiteral(" [") + row.unitText.trimmed() + u']';
        fields.append(CsvField(title));
    }
    return fields.join(u',');
}

QString Line(const MeasurementSequence& sequence, Format format) {
    const MeasurementValues& record = sequence.History().Last();
    switch (format) {
    case Format::Csv: {
        QStringList fields{Time(record)};
        for (int position = 0; position < MeasurementLayout::PositionCount; ++position)
            fields.append(CsvField(Raw(record, position)));
        return fields.join(u',');
    }
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

} // namespace

int RunMeasure(CliSession& session, const QStringList& arguments) {
    const CliOptions& options = session.Options();
    if (!arguments.isEmpty())
        return WrongArguments(session, "measure");
    if (options.csv && options.jsonl)
        return session.Fail(ExitBadInput, GetText(ExcludedText).arg(QStringLiteral("--csv"),
                                                                    QStringLiteral("--jsonl")));
    const Format format = options.csv ? Format::Csv : options.jsonl ? Format::Jsonl : Format::Readable;
    const int count = options.count.value_or(1);
    const double intervalMs = options.intervalSeconds.value_or(0.0) * 1000.0;
    if (const int failed = session.ConnectGauge())
        return failed;

    FailureWatch watch;
    MeasurementSequence sequence(session.Gauge(), watch);
    sequence.Prepare(session.Model());
    QTextStream& out = session.Out();
    Clock& clock = TheClock();
    const double start = clock.NowMs();
    for (int i = 0; i < count; ++i) {
        // Each record starts interval after the one before it, however long a record took.
        const double due = start + i * intervalMs;
        const double now = clock.NowMs();
        if (due > now)
            clock.SleepMs(due - now);
        watch.failed = false;
        sequence.SingleMeasurement();
        if (watch.failed)
            return session.Fail(ExitNoAnswer, GetText(NotAllValuesText));
        // The units are known once the gauge has reported them.
        if (i == 0 && format == Format::Csv)
            out << CsvHeader(sequence) << Qt::endl;
        out << Line(sequence, format) << Qt::endl;
    }
    return ExitSuccess;
}
