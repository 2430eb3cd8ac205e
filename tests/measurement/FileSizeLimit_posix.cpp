#include "FileSizeLimit.h"

#if defined(Q_OS_UNIX)

#include <csignal>
#include <sys/resource.h>

FileSizeLimit::FileSizeLimit(qint64 bytes) {
    savedHandler_ = SIG_ERR;
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return;
    savedLimit_ = limit.rlim_cur;
    // Without this the first write beyond the limit ends the process.
    savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    if (active_ && getrlimit(RLIMIT_FSIZE, &limit) == 0) {
        limit.rlim_cur = static_cast<rlim_t>(savedLimit_);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (savedHandler_ != SIG_ERR)
        std::signal(SIGXFSZ, savedHandler_);
}

#else

FileSizeLimit::FileSizeLimit(qint64) {}
FileSizeLimit::~FileSizeLimit() = default;

#endif
