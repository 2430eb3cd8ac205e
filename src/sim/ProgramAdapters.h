#pragma once

// The adapters a program talks to, chosen on its command line: the USB
// serial adapters of the PC, one serial device named by path, or simulated
// gauges in the program itself. Installs its backend for its lifetime.

#include <memory>
#include <string>
#include <vector>

class AdapterBackend;
class SimBackend;

struct AdapterChoice {
    enum class Kind { Real, Simulated, Port };
    Kind kind = Kind::Real;
    std::vector<int> simulatedModels; // Simulated only: one gauge per entry
    std::string portPath;             // Port only, in the file system's encoding
};

class ProgramAdapters {
public:
    explicit ProgramAdapters(const AdapterChoice& choice);
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
