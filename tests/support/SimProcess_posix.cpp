#include "support/SimProcess.h"

#if defined(__unix__) || defined(__APPLE__)

#include <csignal>
#include <sys/types.h>

bool SimProcess::SendPlugSignal(bool plugIn) {
    const qint64 pid = process_.processId();
    return pid > 0 && ::kill(static_cast<pid_t>(pid), plugIn ? SIGUSR2 : SIGUSR1) == 0;
}

#else

bool SimProcess::SendPlugSignal(bool) {
    return false;
}

#endif
