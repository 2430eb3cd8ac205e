#pragma once

// The entry of tessra2-cli: parses the command line, sets the language,
// installs the trace and the adapters, runs the command and returns the
// exit code. Runs in-process for tests with their own streams and adapters.

#include "cli/CliIo.h"

#include <QStringList>

// arguments with the program name first.
int RunCli(const QStringList& arguments, CliIo& io);
