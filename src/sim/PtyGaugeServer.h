#pragma once

// Serves one simulated gauge on a new pseudo-terminal (tessra2-sim): the
// program under test opens the terminal's path like a serial adapter.
//
// - The path is printed as the first line of standard output, then flushed.
// - The baud rate the program sets on its side is read from the terminal's
//   settings (a pseudo-terminal does not carry the character format or a
//   break): the gauge compares rates only, and a silence of more than
//   BreakGapMs before a byte counts as the break that precedes every SDI-12
//   command (outside the loader).
// - Reply bytes are written at the times the gauge's wire model gives them.
// - Every command and every reply line is logged with its time on the log.
// - Ends cleanly on SIGTERM, SIGINT, or end of file on standard input when
//   standard input is a pipe or the controlling terminal in the foreground.
// - The adapter can be pulled and plugged in again (PtyAdapter_posix.h):
//   SIGUSR1 unplugs it, SIGUSR2 plugs in a new terminal, whose path is
//   printed as a new line on standard output. The gauge behind it stays
//   the same, with all its state.

#include "sim/SimGauge.h"

#include <cstdio>
#include <string>

namespace PtyGaugeServer {

constexpr double BreakGapMs = 25.0;

// Runs until asked to stop; returns the process exit code. linkPath: a
// symbolic link kept pointing at the current terminal (empty: none).
int Serve(SimGauge& gauge, std::FILE* log, const std::string& linkPath = {});

} // namespace PtyGaugeServer
