#include "diag/ConnectionDiagnosis.h"

namespace ConnectionDoctor {

namespace {

const DoctorSystem* installed = nullptr;

} // namespace

void InstallDiagnosedSystem(const DoctorSystem* system) {
    installed = system;
}

const DoctorSystem* DiagnosedSystem() {
    return installed;
}

QString ConnectionErrorDetails() {
    if (installed == nullptr)
        return {};
    return ProblemDetails(Diagnose(*installed));
}

} // namespace ConnectionDoctor
