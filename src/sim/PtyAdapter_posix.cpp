#if defined(__unix__) || defined(__APPLE__)

#include "sim/PtyAdapter_posix.h"
#include "sim/PseudoTerminal_posix.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

std::string SystemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// Where the symbolic link at path points; empty when there is none.
std::string LinkTarget(const std::string& path) {
    std::string target(4096, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0)
        return {};
    target.resize(static_cast<std::size_t>(n));
    return target;
}

} // namespace

PtyAdapter::PtyAdapter(std::string linkPath) : linkPath_(std::move(linkPath)) {}

PtyAdapter::~PtyAdapter() {
    Unplug();
}

bool PtyAdapter::Plug() {
    if (Plugged())
        return true;
    error_.clear();
    if (!linkPath_.empty()) {
        struct stat info {};
        if (::lstat(linkPath_.c_str(), &info) == 0 && !S_ISLNK(info.st_mode)) {
            error_ = linkPath_ + " exists and is not a symbolic link";
            return false;
        }
    }
    if (!OpenRawPseudoTerminal(master_, slave_, path_)) {
        error_ = SystemError("no pseudo-terminal");
        path_.clear();
        return false;
    }
    // The slave stays open here, so the path stays valid and reopenable
    // however often the program closes it.
    termios settings{};
    ::tcgetattr(slave_, &settings);
    ::cfsetispeed(&settings, B1200);
    ::cfsetospeed(&settings, B1200);
    ::tcsetattr(slave_, TCSANOW, &settings);
    if (!linkPath_.empty() && !PointLink()) {
        const std::string error = error_;
        Unplug();
        error_ = error;
        return false;
    }
    return true;
}

void PtyAdapter::Unplug() {
    if (!Plugged())
        return;
    RemoveLink();
    // With the master closed the system takes the terminal away: the
    // program's descriptor of it reads end of file and fails to write.
    ::close(master_);
    ::close(slave_);
    master_ = slave_ = -1;
    path_.clear();
}

bool PtyAdapter::PointLink() {
    const std::string temporary = linkPath_ + ".new." + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(path_.c_str(), temporary.c_str()) != 0) {
        error_ = SystemError("cannot make the link " + temporary);
        return false;
    }
    if (::rename(temporary.c_str(), linkPath_.c_str()) != 0) {
        error_ = SystemError("cannot move the link to " + linkPath_);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

void PtyAdapter::RemoveLink() {
    // Someone else's link there is left alone.
    if (!linkPath_.empty() && LinkTarget(linkPath_) == path_)
        ::unlink(linkPath_.c_str());
}

#endif
