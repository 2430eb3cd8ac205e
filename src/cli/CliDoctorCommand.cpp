// doctor: the connection checks one by one, as the window's connection
// error shows their problems.

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "diag/ConnectionDiagnosis.h"

int RunDoctor(CliSession& session, const QStringList& arguments) {
    if (!arguments.isEmpty())
        return WrongArguments(session, "doctor");
    // The running system, unless another one is installed to be diagnosed.
    const ConnectionDoctor::DoctorSystem* system = ConnectionDoctor::DiagnosedSystem();
    if (system == nullptr)
        system = &ConnectionDoctor::RunningSystem();
    return ConnectionDoctor::RunDoctor(*system, session.Out()) == 0 ? ExitSuccess
                                                                    : ExitProblemFound;
}
