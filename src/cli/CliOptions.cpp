#include "cli/CliOptions.h"

#include "ui/WideLanguageHandler.h"

#include "VersionResource.h"

#include <QCommandLineParser>
#include <QFile>
#include <utility>

namespace {

constexpr int WrongArgumentsText = 802;
constexpr int UnknownLanguageText = 816;
constexpr int ExcludedText = 820;
constexpr int NotValidText = 807;
constexpr int HighestModel = 2;
// The longest interval or wait a command takes: a day.
constexpr double MostSeconds = 86400.0;

struct Language {
    const char* code;
    int offset;
};
constexpr Language Languages[] = {
    {"de", OffsetGerman}, {"en", OffsetEnglish}, {"fr", OffsetFrench},
    {"es", OffsetSpanish}, {"ru", OffsetRussian}, {"tr", OffsetTurkish},
};

const QString Description = QStringLiteral(
    "Command-line front end of the Tessra2 service program: the same steps as the\n"
    "windows, for scripts and for the workshop.\n"
    "\n"
    "Exit codes:\n"
    "  0  success\n"
    "  1  doctor: a problem was found\n"
    "  2  bad input: bad arguments, unreadable file, bad KEY=VALUE, unknown key,\n"
    "     a question refused or left unanswered\n"
    "  3  no answer: no adapter, the gauge did not answer, a transaction failed\n"
    "\n"
    "Messages go to standard error in the --language chosen (English by default);\n"
    "results go to standard output.");

// "--simulate" alone means one simulated Tessra2 L.
QStringList WithSimulateValue(const QStringList& arguments) {
    QStringList result;
    for (const QString& argument : arguments)
        result.append(argument == QLatin1String("--simulate") ? QStringLiteral("--simulate=1")
                                                               : argument);
    return result;
}

bool ParseModels(const QString& list, std::vector<int>& models) {
    for (const QString& part : list.split(u',')) {
        bool ok = false;
        const int model = part.trimmed().toInt(&ok);
        if (!ok || model < 0 || model > HighestModel)
            return false;
        models.push_back(model);
    }
    return !models.empty();
}

QString Invalid(const QString& option, const QString& value) {
    return GetText(NotValidText).arg(option, value);
}

} // namespace

QString CliVersionText() {
    return QStringLiteral("tessra2-cli ") + QStringLiteral(TESSRA_PRODUCT_VERSION);
}

ParsedCli ParseCli(const QStringList& arguments, const QString& commandsHelp) {
    ParsedCli parsed;
    CliOptions& options = parsed.options;

    QCommandLineParser parser;
    parser.setApplicationDescription(Description + QStringLiteral("\n\n") + commandsHelp);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Show the program's version."));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Use the serial device PATH as the adapter."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption serial(
        QStringLiteral("serial"),
        QStringLiteral("Use the listed adapter with the serial number SN; logbook: the entries "
                       "of the gauge with the serial number SN."),
        QStringLiteral("SN"));
    const QCommandLineOption simulate(
        QStringLiteral("simulate"),
        QStringLiteral("Use a simulated gauge in the program: MODEL 0 Tessra2, 1 Tessra2 L "
                       "(the default), 2 Tessra2 S; \"0,2\" gives two adapters."),
        QStringLiteral("MODEL"));
    const QCommandLineOption language(
        QStringLiteral("language"),
        QStringLiteral("Language of the messages: de, en, fr, es, ru or tr."),
        QStringLiteral("CODE"));
    const QCommandLineOption yes(QStringLiteral("yes"),
                                 QStringLiteral("Answer yes to the questions the windows ask."));
    const QCommandLineOption trace(
        QStringLiteral("trace"),
        QStringLiteral("Write every SDI-12 command and reply and every XModem block to FILE."),
        QStringLiteral("FILE"));
    const QCommandLineOption logbook(
        QStringLiteral("logbook"),
        QStringLiteral("Keep the logbook in FILE instead of the per-user one."),
        QStringLiteral("FILE"));
    const QCommandLineOption teamLogbook(
        QStringLiteral("team-logbook"),
        QStringLiteral("Send the logbook also to the team's PostgreSQL server, "
                       "postgresql://user@host[:port]/database[?sslmode=...] (the password from "
                       "~/.pgpass or PGPASSFILE); kept for later runs, \"off\" forgets it."),
        QStringLiteral("URL"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("config read: one JSON object; logbook: a JSON "
                                                 "array of the entries."));
    const QCommandLineOption count(QStringLiteral("count"),
                                   QStringLiteral("measure: N records (default 1)."),
                                   QStringLiteral("N"));
    const QCommandLineOption interval(
        QStringLiteral("interval"),
        QStringLiteral("measure: S seconds from the start of one record to the next."),
        QStringLiteral("S"));
    const QCommandLineOption reconnectTimeout(
        QStringLiteral("reconnect-timeout"),
        QStringLiteral("measure: when the adapter is unplugged, S seconds to wait for it to "
                       "come back with the same gauge (default 600)."),
        QStringLiteral("S"));
    const QCommandLineOption csv(
        QStringLiteral("csv"), QStringLiteral("measure, logbook: a header line, then CSV lines."));
    const QCommandLineOption jsonl(QStringLiteral("jsonl"),
                                   QStringLiteral("measure: one JSON object a line."));
    const QCommandLineOption heating(
        QStringLiteral("heating"),
        QStringLiteral("factory-reset: the Tessra2's heating question answered, on or off."),
        QStringLiteral("on|off"));
    const QCommandLineOption kind(
        QStringLiteral("kind"),
        QStringLiteral("logbook: the entries of kind K (connection, config-write, ...)."),
        QStringLiteral("K"));
    const QCommandLineOption since(
        QStringLiteral("since"),
        QStringLiteral(
            "logbook: the entries from DATE on (YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS, UTC)."),
        QStringLiteral("DATE"));
    parser.addOptions({help, version, port, serial, simulate, language, yes, trace, logbook,
                       teamLogbook, json, count, interval, reconnectTimeout, csv, jsonl, heating, kind, since});
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("One of the commands above, with its arguments."),
                                 QStringLiteral("COMMAND [ARGUMENTS]"));
    parsed.helpText = parser.helpText();

    const bool ok = parser.parse(WithSimulateValue(arguments));
    // The language first: every later message is in it.
    if (parser.isSet(language)) {
        const QString code = parser.value(language).toLower();
        bool known = false;
        for (const Language& each : Languages)
            if (code == QLatin1String(each.code)) {
                options.languageOffset = each.offset;
                known = true;
            }
        if (!known) {
            LanguageOffset = OffsetEnglish;
            parsed.error = GetText(UnknownLanguageText).arg(parser.value(language));
            return parsed;
        }
    }
    LanguageOffset = options.languageOffset;
    if (!ok) {
        parsed.error = parser.errorText() + u' ' +
                       GetText(WrongArgumentsText).arg(QStringLiteral("tessra2-cli --help"));
        return parsed;
    }
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);

    const QStringList positional = parser.positionalArguments();
    if (!positional.isEmpty()) {
        options.command = positional.first();
        options.arguments = positional.mid(1);
    }

    if (parser.isSet(simulate) && parser.isSet(port)) {
        parsed.error = GetText(ExcludedText).arg(QStringLiteral("--simulate"), QStringLiteral("--port"));
        return parsed;
    }
    if (parser.isSet(simulate)) {
        options.adapters.kind = AdapterChoice::Kind::Simulated;
        if (!ParseModels(parser.value(simulate), options.adapters.simulatedModels)) {
            parsed.error = Invalid(QStringLiteral("--simulate"), parser.value(simulate));
            return parsed;
        }
    } else if (parser.isSet(port)) {
        options.adapters.kind = AdapterChoice::Kind::Port;
        options.adapters.portPath = QFile::encodeName(parser.value(port)).toStdString();
    }
    options.serial = parser.value(serial);
    options.yes = parser.isSet(yes);
    options.tracePath = parser.value(trace);
    options.logbookPath = parser.value(logbook);
    if (parser.isSet(teamLogbook))
        options.teamLogbook = parser.value(teamLogbook);
    options.kind = parser.value(kind);
    options.since = parser.value(since);

    options.json = parser.isSet(json);
    options.csv = parser.isSet(csv);
    options.jsonl = parser.isSet(jsonl);
    if (parser.isSet(count)) {
        bool number = false;
        const int value = parser.value(count).toInt(&number);
        if (!number || value < 1) {
            parsed.error = Invalid(QStringLiteral("--count"), parser.value(count));
            return parsed;
        }
        options.count = value;
    }
    for (const auto& [option, value] :
         {std::pair{&interval, &options.intervalSeconds},
          std::pair{&reconnectTimeout, &options.reconnectTimeoutSeconds}}) {
        if (!parser.isSet(*option))
            continue;
        bool number = false;
        const double seconds = parser.value(*option).toDouble(&number);
        if (!number || !(seconds >= 0.0) || seconds > MostSeconds) {
            parsed.error =
                Invalid(QStringLiteral("--") + option->names().constLast(), parser.value(*option));
            return parsed;
        }
        *value = seconds;
    }
    if (parser.isSet(heating)) {
        const QString value = parser.value(heating).toLower();
        if (value != QLatin1String("on") && value != QLatin1String("off")) {
            parsed.error = Invalid(QStringLiteral("--heating"), parser.value(heating));
            return parsed;
        }
        options.heating = value == QLatin1String("on");
    }
    for (const QCommandLineOption* each :
         {&json, &count, &interval, &reconnectTimeout, &csv, &jsonl, &heating, &kind, &since})
        if (parser.isSet(*each))
            options.commandOptions.append(QStringLiteral("--") + each->names().constLast());
    return parsed;
}
