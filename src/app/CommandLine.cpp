#include "app/CommandLine.h"

#include "VersionResource.h"

#include <QFile>

namespace {

constexpr int HighestModel = 2;
constexpr int MostSimulatedAdapters = 8;

// "0,2" -> {0, 2}; empty on an error (with error set).
std::vector<int> ParseModels(const QString& list, QString& error) {
    std::vector<int> models;
    const QStringList parts = list.split(u',');
    for (const QString& part : parts) {
        bool ok = false;
        const int model = part.trimmed().toInt(&ok);
        if (!ok || model < 0 || model > HighestModel) {
            error = QStringLiteral("--simulate: \"%1\" is not a model (0, 1 or 2)").arg(part);
            return {};
        }
        models.push_back(model);
    }
    if (models.size() > MostSimulatedAdapters) {
        error =
            QStringLiteral("--simulate: at most %1 simulated adapters").arg(MostSimulatedAdapters);
        return {};
    }
    return models;
}

// The value of "--name=value" or of "--name value"; advances i past it.
bool TakeValue(const QStringList& arguments, qsizetype& i, const QString& name, QString& value,
               QString& error) {
    const QString& argument = arguments[i];
    if (argument.startsWith(name + u'=')) {
        value = argument.mid(name.size() + 1);
    } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
    } else {
        error = name + QStringLiteral(" needs a value");
        return false;
    }
    if (value.isEmpty()) {
        error = name + QStringLiteral(" needs a value");
        return false;
    }
    return true;
}

bool Is(const QString& argument, const QString& name) {
    return argument == name || argument.startsWith(name + u'=');
}

} // namespace

bool AsksForHelpOrVersion(const QStringList& arguments) {
    for (const QString& argument : arguments)
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h") ||
            argument == QLatin1String("--version"))
            return true;
    return false;
}

ParsedCommandLine ParseCommandLine(const QStringList& arguments) {
    ParsedCommandLine parsed;
    ProgramOptions& options = parsed.options;
    QString& error = parsed.error;
    bool simulate = false;
    bool port = false;
    for (qsizetype i = 0; i < arguments.size() && error.isEmpty(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--version")) {
            options.version = true;
        } else if (argument == QLatin1String("--simulate")) {
            simulate = true;
            options.simulatedModels = {1};
        } else if (argument.startsWith(QLatin1String("--simulate="))) {
            simulate = true;
            options.simulatedModels = ParseModels(argument.mid(11), error);
        } else if (Is(argument, QStringLiteral("--port"))) {
            port = TakeValue(arguments, i, QStringLiteral("--port"), options.portPath, error);
        } else if (Is(argument, QStringLiteral("--trace"))) {
            TakeValue(arguments, i, QStringLiteral("--trace"), options.tracePath, error);
        } else if (Is(argument, QStringLiteral("--logbook"))) {
            TakeValue(arguments, i, QStringLiteral("--logbook"), options.logbookPath, error);
        } else if (Is(argument, QStringLiteral("--team-logbook"))) {
            QString url;
            if (TakeValue(arguments, i, QStringLiteral("--team-logbook"), url, error))
                options.teamLogbook = url;
        } else if (argument == QLatin1String("--test-report")) {
            options.testReport = true;
        } else if (Is(argument, QStringLiteral("--test-click"))) {
            QString tile;
            if (TakeValue(arguments, i, QStringLiteral("--test-click"), tile, error))
                options.testClicks.append(tile);
        } else if (argument == QLatin1String("--startup-time")) {
            options.startupTime = true;
        } else {
            error = QStringLiteral("unknown option: ") + argument;
        }
    }
    if (error.isEmpty() && simulate && port)
        error = QStringLiteral("--simulate and --port cannot be used together");
    if (simulate)
        options.adapters = ProgramOptions::Adapters::Simulated;
    else if (port)
        options.adapters = ProgramOptions::Adapters::Port;
    return parsed;
}

AdapterChoice AdapterChoiceOf(const ProgramOptions& options) {
    AdapterChoice choice;
    switch (options.adapters) {
    case ProgramOptions::Adapters::Simulated:
        choice.kind = AdapterChoice::Kind::Simulated;
        choice.simulatedModels = options.simulatedModels;
        break;
    case ProgramOptions::Adapters::Port:
        choice.kind = AdapterChoice::Kind::Port;
        choice.portPath = QFile::encodeName(options.portPath).toStdString();
        break;
    case ProgramOptions::Adapters::Real:
        break;
    }
    return choice;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: tessra2 [option]\n"
        "Configuration and service program for Tessra2 weighing precipitation gauges.\n"
        "\n"
        "  (no option)         use the USB adapters plugged into this PC\n"
        "  --simulate          one simulated Tessra2 L (model 1)\n"
        "  --simulate=0,2      one simulated adapter per listed model\n"
        "                      (0 Tessra2, 1 Tessra2 L, 2 Tessra2 S)\n"
        "  --port PATH         use the serial device PATH as the one adapter\n"
        "  --trace FILE        write every SDI-12 command and reply and every XModem\n"
        "                      block to FILE, with microseconds since the start\n"
        "  --logbook FILE      keep the gauges' logbook in FILE instead of the\n"
        "                      per-user one\n"
        "  --team-logbook URL  send the logbook also to the team's PostgreSQL server,\n"
        "                      postgresql://user@host[:port]/database[?sslmode=...];\n"
        "                      the password comes from ~/.pgpass or PGPASSFILE; kept\n"
        "                      for later runs, \"off\" forgets it\n"
        "  --help              show this text\n"
        "  --version           show the program's version\n");
}

QString VersionText() {
    return QStringLiteral("tessra2 ") + QStringLiteral(TESSRA_PRODUCT_VERSION) +
           QStringLiteral(" (file version ") + QStringLiteral(TESSRA_FILE_VERSION) + u')';
}
