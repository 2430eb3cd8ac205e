#include "cli/CliCommands.h"

#include "cli/CliSession.h"
#include "ui/WideLanguageHandler.h"

const std::vector<CliCommand>& CliCommands() {
    static const std::vector<CliCommand> commands = {
        {"list", "", "the adapters: serial number and description", {}, &RunList},
        {"info", "", "the gauge's identification and status", {}, &RunInfo},
        {"config", "read [--json] | export FILE | import FILE | set KEY=VALUE...",
         "read, save, load and change the configuration (the configuration file's keys)",
         {QStringLiteral("--json")}, &RunConfig},
        {"measure", "[--count N] [--interval S] [--reconnect-timeout S] [--csv|--jsonl]",
         "one line per measurement; waits for an unplugged adapter to come back",
         {QStringLiteral("--count"), QStringLiteral("--interval"),
          QStringLiteral("--reconnect-timeout"), QStringLiteral("--csv"),
          QStringLiteral("--jsonl")},
         &RunMeasure},
        {"clock", "get | set YYYY-MM-DDTHH:MM:SS | sync", "the gauge's clock", {}, &RunClock},
        {"reset-total", "", "reset the accumulated precipitation", {}, &RunResetTotal},
        {"factory-reset", "[--heating on|off]", "write the factory settings",
         {QStringLiteral("--heating")}, &RunFactoryReset},
        {"firmware", "IMAGE", "load the firmware image into the gauge (after a backup)", {},
         &RunFirmware},
        {"send", "COMMAND", "one SDI-12 transaction; the reply without CR LF", {}, &RunSend},
        {"doctor", "", "why an adapter is not listed or cannot be opened: the system's checks",
         {}, &RunDoctor},
        {"logbook", "[--serial SN] [--kind K] [--since DATE] [--json|--csv] | sync",
         "the entries of the gauges' logbook, newest first; sync: send the waiting ones to the "
         "team server",
         {QStringLiteral("--kind"), QStringLiteral("--since"), QStringLiteral("--json"),
          QStringLiteral("--csv")},
         &RunLogbook},
    };
    return commands;
}

int WrongArguments(CliSession& session, const char* name) {
    QString usage = QStringLiteral("tessra2-cli ") + QLatin1String(name);
    for (const CliCommand& command : CliCommands())
        if (qstrcmp(command.name, name) == 0 && command.synopsis[0] != '\0')
            usage += u' ' + QLatin1String(command.synopsis);
    return session.Fail(ExitBadInput, GetText(802).arg(usage));
}
