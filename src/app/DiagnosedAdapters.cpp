#include "app/DiagnosedAdapters.h"

#include "sim/ProgramAdapters.h"

DiagnosedAdapters::DiagnosedAdapters(ProgramAdapters& adapters)
    : scope_(adapters.Simulation() == nullptr ? &ConnectionDoctor::RunningSystem() : nullptr) {}
