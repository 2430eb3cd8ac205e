#pragma once

// The adapters the program talks to, chosen on the command line: the USB
// serial adapters of the PC, one serial device named by path, or simulated
// gauges in the program itself. Installs its backend for its lifetime.

#include "app/CommandLine.h"

#include <memory>

class AdapterBackend;
class SimBackend;

class ProgramAdapters {
public:
    explicit ProgramAdapters(const ProgramOptions& options);
    ~ProgramAdapters();
    ProgramAdapters(const ProgramAdapters&) = delete;
    ProgramAdapters& operator=(const ProgramAdapters&) = delete;

    AdapterBackend& Backend() { return *backend_; }
    // The simulated gauges, or null when the adapters are real.
    SimBackend* Simulation() { return simulation_; }

private:
    std::unique_ptr<AdapterBackend> backend_;
    SimBackend* simulation_ = nullptr;
};
