#pragma once

// The commands of tessra2-cli, in one table: adding a command is one entry
// here and its function. Each function gets the words after the command
// name and returns the exit code.

#include <QStringList>
#include <vector>

class CliSession;

struct CliCommand {
    const char* name;
    const char* synopsis; // the arguments, as --help shows them
    const char* summary;
    // The command-line options of single commands it takes ("--json", ...).
    QStringList options;
    int (*run)(CliSession& session, const QStringList& arguments);
};

const std::vector<CliCommand>& CliCommands();

// The commands themselves (CliGaugeCommands.cpp, CliConfigCommands.cpp, ...).
int RunList(CliSession& session, const QStringList& arguments);
int RunInfo(CliSession& session, const QStringList& arguments);
int RunSend(CliSession& session, const QStringList& arguments);
int RunDoctor(CliSession& session, const QStringList& arguments);
int RunConfig(CliSession& session, const QStringList& arguments);
int RunMeasure(CliSession& session, const QStringList& arguments);
int RunClock(CliSession& session, const QStringList& arguments);
int RunResetTotal(CliSession& session, const QStringList& arguments);
int RunFactoryReset(CliSession& session, const QStringList& arguments);
int RunFirmware(CliSession& session, const QStringList& arguments);
int RunLogbook(CliSession& session, const QStringList& arguments);

// Says text 802 with the command's synopsis; returns the bad-input exit code.
int WrongArguments(CliSession& session, const char* name);
