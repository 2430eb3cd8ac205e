#include "cli/CliRun.h"

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "logbook/ProgramLogbook.h"
#include "sim/ProgramAdapters.h"
#include "ui/ProgramTrace.h"
#include "ui/WideLanguageHandler.h"

#include <memory>
#include <optional>

namespace {

constexpr int UnknownCommandText = 801;
constexpr int WrongArgumentsText = 802;
constexpr int NotForCommandText = 821;

QString CommandsHelp() {
    QString text = QStringLiteral("Commands:");
    for (const CliCommand& command : CliCommands()) {
        text += QStringLiteral("\n  ") + QLatin1String(command.name);
        if (command.synopsis[0] != '\0')
            text += u' ' + QLatin1String(command.synopsis);
        text += QStringLiteral("\n        ") + QLatin1String(command.summary);
    }
    return text;
}

const CliCommand* FindCommand(const QString& name) {
    for (const CliCommand& command : CliCommands())
        if (name == QLatin1String(command.name))
            return &command;
    return nullptr;
}

// Restores the language the caller had (tests run several commands in one process).
class LanguageRestore {
public:
    LanguageRestore() : saved_(LanguageOffset) {}
    ~LanguageRestore() { LanguageOffset = saved_; }
    LanguageRestore(const LanguageRestore&) = delete;
    LanguageRestore& operator=(const LanguageRestore&) = delete;

private:
    int saved_;
};

} // namespace

int RunCli(const QStringList& arguments, CliIo& io) {
    LanguageRestore language;
    const ParsedCli parsed = ParseCli(arguments, CommandsHelp());
    const CliOptions& options = parsed.options;
    if (!parsed.error.isEmpty()) {
        io.err << parsed.error << Qt::endl;
        return ExitBadInput;
    }
    if (options.help) {
        io.out << parsed.helpText << Qt::flush;
        return ExitSuccess;
    }
    if (options.version) {
        io.out << CliVersionText() << Qt::endl;
        return ExitSuccess;
    }
    const CliCommand* command = FindCommand(options.command);
    if (command == nullptr) {
        io.err << (options.command.isEmpty()
                       ? GetText(WrongArgumentsText).arg(QStringLiteral("tessra2-cli COMMAND ..."))
                       : GetText(UnknownCommandText).arg(options.command))
               << Qt::endl
               << CommandsHelp() << Qt::endl;
        return ExitBadInput;
    }
    for (const QString& option : options.commandOptions)
        if (!command->options.contains(option)) {
            io.err << GetText(NotForCommandText).arg(option, options.command) << Qt::endl;
            return ExitBadInput;
        }

    std::optional<ProgramAdapters> adapters;
    if (io.installedAdapters == nullptr)
        adapters.emplace(options.adapters);
    std::unique_ptr<ProgramTrace> trace;
    if (!options.tracePath.isEmpty())
        trace = std::make_unique<ProgramTrace>(options.tracePath, QStringLiteral("tessra2-cli"),
                                               [&io](const QString& text) {
                                                   io.err << text << Qt::endl;
                                               });
    // The team server given is kept for later runs, also when this
    // command does not send.
    const TeamServerSetting programSetting;
    const TeamServerChoice team =
        ChooseTeamServer(options.teamLogbook,
                         io.teamServerSetting != nullptr ? *io.teamServerSetting : programSetting);
    const auto say = [&io](const QString& text) { io.err << text << Qt::endl; };
    if (!team.error.isEmpty()) {
        say(team.error);
        if (options.teamLogbook)
            return ExitBadInput;
    }
    if (!team.notice.isEmpty())
        say(team.notice);
    ProgramLogbook::Options logbookOptions;
    logbookOptions.path = options.logbookPath;
    logbookOptions.team = team.address;
    logbookOptions.openNow = false;
    logbookOptions.background = false;
    ProgramLogbook logbook(logbookOptions, say);

    CliSession session(io, options);
    session.SetLogbook(&logbook);
    const int code = command->run(session, options.arguments);
    if (session.Gauge().Connected)
        session.Gauge().Disconnect();
    io.out.flush();
    io.err.flush();
    return code;
}
