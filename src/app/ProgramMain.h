#pragma once

// The whole start of the window program, as `tessra2` runs it: the command
// line, the texts, the adapters it chooses, the precision test's windows,
// the main window and its message loop. Tools that drive the real program
// (the screenshot tour) start it the same way and hook in once the window
// is shown.

#include <functional>

class SimBackend;
class TTessra2ParamMainForm;

// Called once the main window is shown; simulation is null unless the
// adapters are simulated.
using ProgramShownHook = std::function<void(TTessra2ParamMainForm& window, SimBackend* simulation)>;

// Runs the program with argc/argv until its window closes; the exit code.
int RunProgram(int argc, char** argv, const ProgramShownHook& shown = {});
