// list, info and send: the adapters, the gauge's identification, one transaction.

#include "app/ConnectionInfoReader.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "link/ByteText.h"
#include "link/SDI12IO.h"
#include "terminal/TerminalSession.h"
#include "ui/GaugeVocabulary.h"
#include "ui/WideLanguageHandler.h"

namespace {

constexpr int NoAnswerText = 810;

} // namespace

int RunList(CliSession& session, const QStringList& arguments) {
    if (!arguments.isEmpty())
        return WrongArguments(session, "list");
    SDI12IO::TInfoNodeArray adapters;
    int count = 0;
    SDI12IO::EnumerateAdapters(adapters, count);
    for (const SDI12IO::TInfoNode& node : adapters)
        if (SDI12IO::IsProgramAdapter(node.Serial()))
            session.Out() << QString::fromStdString(node.Serial()) << u'\t'
                          << QString::fromStdString(node.DescriptionText()) << Qt::endl;
    return ExitSuccess;
}

int RunInfo(CliSession& session, const QStringList& arguments) {
    if (!arguments.isEmpty())
        return WrongArguments(session, "info");
    if (const int failed = session.ConnectGauge())
        return failed;
    QTextStream& out = session.Out();
    out << Vocabulary::ModelName(session.Model()) << Qt::endl;
    bool complete = true;
    InfoReadings readings;
    for (const InfoRow row : InfoRowsForModel(session.Model())) {
        const InfoReading reading = ReadInfoRow(session.Gauge(), row);
        readings.emplace_back(row, reading);
        out << GetText(InfoRowCaptionId(row)) << u' '
            << (reading.ok ? reading.value : QStringLiteral("---")) << Qt::endl;
        complete = complete && reading.ok;
    }
    ReportConnection(session.Gauge(), readings);
    if (!complete)
        return session.Fail(ExitNoAnswer, GetText(NoAnswerText));
    return ExitSuccess;
}

int RunSend(CliSession& session, const QStringList& arguments) {
    if (arguments.size() != 1 || arguments.first().trimmed().isEmpty())
        return WrongArguments(session, "send");
    std::string command = arguments.first().trimmed().toLatin1().toStdString();
    // As the terminal sends it: a command always ends in "!".
    if (command.back() != '!')
        command.push_back('!');
    if (const int failed = session.OpenAdapter())
        return failed;
    std::string reply;
    if (SDI12IO::SdiTransaction(command, reply, Terminal::ReplyTimeoutMs) != 0 || reply.empty())
        return session.Fail(ExitNoAnswer, GetText(NoAnswerText));
    while (!reply.empty() && (reply.back() == '\n' || reply.back() == '\r'))
        reply.pop_back();
    session.Out() << Latin1Text(reply) << Qt::endl;
    return ExitSuccess;
}
