#pragma once

// The connection diagnosis that fits the adapters the program runs with:
// the running system for real adapters and a port named on the command
// line, none for simulated gauges (they never depend on the system).
// Installed for the lifetime of the object.

#include "diag/ConnectionDiagnosis.h"

class ProgramAdapters;

class DiagnosedAdapters {
public:
    explicit DiagnosedAdapters(ProgramAdapters& adapters);

private:
    ConnectionDoctor::ScopedDiagnosedSystem scope_;
};
