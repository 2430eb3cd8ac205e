#pragma once

// Diagnosis of a real adapter that is not listed or cannot be opened: a
// fixed set of checks, each reading files of the system (device nodes,
// the kernel's device tree, processes, groups, udev rules) and none running
// a command or needing privileges. Each check gives one finding with its
// texts in the current language.
//
// The system is reached through DoctorSystem: the folder that stands for
// "/" and what the process knows about itself (user id, groups,
// environment), so a check runs against a fake tree as well as against
// the running system.

#include <QList>
#include <QString>

class QTextStream;

namespace ConnectionDoctor {

enum class CheckState { Ok, Problem, NotApplicable };

// The checks, in the order they run and are printed.
enum class Check { DeviceAccess, Brltty, ModemManager, LatencyTimer, Sandbox, Recognition };

struct Finding {
    Check check;
    QString name;  // the check's name
    CheckState state;
    QString cause; // what was found
    QString fix;   // what to do; empty unless state is Problem
};

class DoctorSystem {
public:
    virtual ~DoctorSystem() = default;
    // The folder below which /dev, /sys, /proc, /etc, /run and /lib are read.
    virtual QString Root() const = 0;
    // Effective user id, and every group the process holds (effective and
    // supplementary group ids).
    virtual unsigned UserId() const = 0;
    virtual QList<unsigned> GroupIds() const = 0;
    // A variable of the process's environment; empty when unset.
    virtual QString Environment(const char* name) const = 0;
};

// The running system: root "/", the process's own ids and environment.
const DoctorSystem& RunningSystem();

// Every check, in the order of Check. On a system the checks do not know
// (not Linux), one finding that says so, not applicable.
QList<Finding> Diagnose(const DoctorSystem& system);

// The findings that are problems, as the detailed text of an error
// dialog: per problem its name, the cause and the fix. Empty when there is
// no problem.
QString ProblemDetails(const QList<Finding>& findings);

// Prints the findings one by one (state and name on a line, then the
// cause and the fix indented) and a closing line; returns 0 when nothing is
// a problem, 1 otherwise.
int PrintFindings(const QList<Finding>& findings, QTextStream& out);

// Diagnose and PrintFindings in one: the command-line doctor.
int RunDoctor(const DoctorSystem& system, QTextStream& out);

// The caption of a state ("OK", "PROBLEM", "not applicable") and the name
// of a check, in the current language.
QString StateText(CheckState state);
QString CheckName(Check check);

} // namespace ConnectionDoctor
