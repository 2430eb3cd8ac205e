#pragma once

// The program's command line:
//   --simulate            one simulated gauge of model 1
//   --simulate=0,2        one simulated adapter per listed model
//   --port PATH           that serial device as the program's one adapter
//   --trace FILE          write the gauge traffic to FILE
//   --logbook FILE        keep the logbook in FILE instead of the per-user one
//   --team-logbook URL    send the logbook to the team's PostgreSQL server too
//                         (kept for later runs; "off" forgets it)
//   --help, --version
// Hidden options for tests and tooling:
//   --test-report         print every change of what the window shows on stdout
//   --test-click NAME     click the named tile (or a work area's panel button,
//                         e.g. MPermanentButton) once the window is shown
//   --startup-time        print the milliseconds until the window is shown, quit

#include "sim/ProgramAdapters.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct ProgramOptions {
    enum class Adapters { Real, Simulated, Port };
    Adapters adapters = Adapters::Real;
    std::vector<int> simulatedModels; // Simulated only
    QString portPath;                 // Port only
    QString tracePath;                // empty: no trace
    QString logbookPath;              // empty: the per-user logbook
    std::optional<QString> teamLogbook; // as given; checked when it is kept
    bool help = false;
    bool version = false;
    bool testReport = false;
    QStringList testClicks;
    bool startupTime = false;
};

struct ParsedCommandLine {
    ProgramOptions options;
    QString error; // empty when the command line is valid
};

// arguments without the program name; Qt's own options already removed.
ParsedCommandLine ParseCommandLine(const QStringList& arguments);
// True when arguments ask for --help or --version (checked before the
// window system is started, so that both work without a display).
bool AsksForHelpOrVersion(const QStringList& arguments);
// The adapters the options choose.
AdapterChoice AdapterChoiceOf(const ProgramOptions& options);
QString UsageText();
QString VersionText();
