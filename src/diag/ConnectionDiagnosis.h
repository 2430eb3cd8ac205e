#pragma once

// The system that the connection error dialogs diagnose. The program
// installs the running system when it talks to real adapters; with
// simulated gauges none is installed, and the dialogs show no details.

#include "diag/ConnectionDoctor.h"

namespace ConnectionDoctor {

// system is not owned; nullptr: no diagnosis.
void InstallDiagnosedSystem(const DoctorSystem* system);
const DoctorSystem* DiagnosedSystem();

// The detailed text for the error shown when no adapter is listed or one
// cannot be opened: the problems found on the installed system. Empty when
// none is installed or nothing is wrong.
QString ConnectionErrorDetails();

// Installs a system for the lifetime of the object and restores the one
// installed before.
class ScopedDiagnosedSystem {
public:
    explicit ScopedDiagnosedSystem(const DoctorSystem* system)
        : previous_(DiagnosedSystem()) {
        InstallDiagnosedSystem(system);
    }
    ~ScopedDiagnosedSystem() { InstallDiagnosedSystem(previous_); }
    ScopedDiagnosedSystem(const ScopedDiagnosedSystem&) = delete;
    ScopedDiagnosedSystem& operator=(const ScopedDiagnosedSystem&) = delete;

private:
    const DoctorSystem* previous_;
};

} // namespace ConnectionDoctor
