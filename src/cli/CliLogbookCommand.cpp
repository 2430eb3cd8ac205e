// logbook [--serial SN] [--kind K] [--since DATE] [--json|--csv]: the
// entries, newest first. logbook sync: sends the waiting entries to the
// team server and says how many.

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "logbook/LogbookCsv.h"
#include "logbook/ProgramLogbook.h"
#include "logbook/TeamServer.h"
#include "ui/WideLanguageHandler.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int ExcludedText = 820;
constexpr int AllSentText = 990;
constexpr int SomeWaitText = 991;
constexpr int NoTeamServerText = 992;
constexpr int UnknownKindText = 993;
constexpr int NotADateText = 994;
constexpr int WaitingText = 997;

// Entries read from the file at a time, so that a long logbook is printed
// as it is read.
constexpr int PageSize = 1000;

enum class Format { Readable, Json, Csv };

// "2025-03-01" (from the start of that day) or "2025-03-01T09:30:00", UTC.
QDateTime SinceOf(const QString& text) {
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (date.isValid() && text.size() == 10)
        return QDateTime(date, QTime(0, 0), Qt::UTC);
    QString time = text;
    if (time.endsWith(u'Z'))
        time.chop(1);
    QDateTime when = QDateTime::fromString(time, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    if (!when.isValid())
        return {};
    when.setTimeSpec(Qt::UTC);
    return when;
}

QString Line(const LogbookEntry& entry, Format format) {
    const QJsonObject object = EntryToJson(entry);
    switch (format) {
    case Format::Json:
        return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    case Format::Csv:
        return LogbookCsvLine(entry);
    case Format::Readable:
        break;
    }
    return entry.timeUtc.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")) + QStringLiteral("  ") +
           entry.gauge.serialNumber + QStringLiteral("  ") + KindName(entry.kind) +
           QStringLiteral("  ") + entry.summary;
}

int List(CliSession& session) {
    const CliOptions& options = session.Options();
    if (options.json && options.csv)
        return session.Fail(
            ExitBadInput,
            GetText(ExcludedText).arg(QStringLiteral("--json"), QStringLiteral("--csv")));
    LogbookQuery query;
    query.serialNumber = options.serial;
    query.limit = PageSize;
    if (!options.kind.isEmpty()) {
        query.kind = KindFromName(options.kind);
        if (!query.kind)
            return session.Fail(
                ExitBadInput,
                GetText(UnknownKindText).arg(options.kind, KindNames().join(QStringLiteral(", "))));
    }
    if (!options.since.isEmpty()) {
        query.since = SinceOf(options.since);
        if (!query.since.isValid())
            return session.Fail(ExitBadInput, GetText(NotADateText).arg(options.since));
    }
    LocalLogbook& local = session.Logbook().Local();
    // A logbook that cannot be opened has been reported by its warning.
    if (!local.Open())
        return ExitBadInput;

    const Format format = options.json  ? Format::Json
                          : options.csv ? Format::Csv
                                        : Format::Readable;
    QTextStream& out = session.Out();
    if (format == Format::Csv)
        out << LogbookCsvHeader() << Qt::endl;
    if (format == Format::Json)
        out << u'[';
    bool first = true;
    while (true) {
        const std::vector<LogbookEntry> page = local.Read(query);
        for (const LogbookEntry& entry : page) {
            if (format == Format::Json && !first)
                out << u',';
            out << (format == Format::Json ? QStringLiteral("\n") : QString())
                << Line(entry, format)
                << (format == Format::Json ? QString() : QStringLiteral("\n"));
            first = false;
        }
        if (page.size() < static_cast<std::size_t>(PageSize))
            break;
        query.olderThan = page.back().id;
    }
    if (format == Format::Json)
        out << QStringLiteral("\n]\n");
    out.flush();
    return ExitSuccess;
}

int Sync(CliSession& session) {
    ProgramLogbook& logbook = session.Logbook();
    if (!logbook.Team())
        return session.Fail(ExitBadInput, GetText(NoTeamServerText));
    LocalLogbook& local = logbook.Local();
    if (!local.Open())
        return ExitBadInput;
    const TeamServerAddress& server = *logbook.Team();
    TeamServerConnection connection(server, QStringLiteral("tessra2-cli-team"));
    const TeamOutcome outcome = SendUnsent(local, connection);
    const QString shown = server.Shown();
    if (outcome.status == TeamStatus::Sent && outcome.waiting == 0) {
        session.Say(GetText(AllSentText).arg(shown, QString::number(outcome.sent)));
        return ExitSuccess;
    }
    if (outcome.sent > 0)
        session.Say(
            GetText(SomeWaitText)
                .arg(shown, QString::number(outcome.sent), QString::number(outcome.waiting)));
    if (outcome.status != TeamStatus::Sent)
        session.Say(outcome.Message(server));
    if (outcome.sent == 0 && outcome.waiting >= 0)
        session.Say(GetText(WaitingText).arg(outcome.waiting));
    return ExitNoAnswer;
}

} // namespace

int RunLogbook(CliSession& session, const QStringList& arguments) {
    if (arguments == QStringList{QStringLiteral("sync")})
        return Sync(session);
    if (!arguments.isEmpty())
        return WrongArguments(session, "logbook");
    return List(session);
}
