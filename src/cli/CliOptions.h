#pragma once

// The command line of tessra2-cli, parsed with QCommandLineParser: the
// options every command shares, the command's own options, the command and
// its arguments.

#include "sim/ProgramAdapters.h"

#include <QString>
#include <QStringList>
#include <optional>

struct CliOptions {
    QString command;        // "config", "measure", ...; empty: none given
    QStringList arguments;  // the words after the command
    AdapterChoice adapters;
    QString serial;         // --serial: the adapter to use
    int languageOffset = 10000; // English unless --language says otherwise
    bool yes = false;
    QString tracePath;
    QString logbookPath;                // --logbook: empty: the per-user logbook
    std::optional<QString> teamLogbook; // --team-logbook as given
    // Options of single commands; which command takes which is checked by the command.
    bool json = false;
    bool csv = false;
    bool jsonl = false;
    std::optional<int> count;
    std::optional<double> intervalSeconds;
    std::optional<double> reconnectTimeoutSeconds;
    std::optional<bool> heating;
    QString kind;  // logbook --kind, as typed
    QString since; // logbook --since, as typed
    // The options of single commands that were given, as typed ("--json").
    QStringList commandOptions;

    bool help = false;
    bool version = false;
};

struct ParsedCli {
    CliOptions options;
    QString error; // in the chosen language; empty when the command line is valid
    QString helpText;
};

// arguments with the program name first.
// commandsHelp: the list of commands shown by --help.
ParsedCli ParseCli(const QStringList& arguments, const QString& commandsHelp);
QString CliVersionText();
