#pragma once

// What a run of the command line works with: its output and message
// streams, its input for questions, whether those are terminals, and, for
// tests, adapters installed by the caller instead of those the options name.

#include <QString>
#include <QTextStream>

class AdapterBackend;
class TeamServerSetting;

// The exit codes, told apart by scripts.
enum ExitCode : int {
    ExitSuccess = 0,
    ExitProblemFound = 1, // doctor: a check found a problem
    ExitBadInput = 2,  // bad arguments, unreadable file, bad value, refused question
    ExitNoAnswer = 3,  // no adapter, the gauge did not answer, a transaction failed
};

struct CliIo {
    CliIo(QTextStream& output, QTextStream& messages) : out(output), err(messages) {}

    QTextStream& out; // results: one line per record, value or reply
    QTextStream& err; // messages in the chosen language, progress
    QTextStream* in = nullptr; // answers to questions (null: none)
    bool inIsTerminal = false;
    bool errIsTerminal = false;
    // Adapters the caller has installed already (the options' are then ignored).
    AdapterBackend* installedAdapters = nullptr;
    // Where the firmware update saves its configuration backup (empty: the program's folder for it).
    QString backupFolder;
    // Where the team server's address is kept (null: the per-user settings).
    const TeamServerSetting* teamServerSetting = nullptr;
};
