#include "link/SerialLatency_linux.h"

#if defined(__linux__)

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace SerialLatency {

namespace {

// The timer value the port asks for, in milliseconds (the lowest the chips take).
constexpr int LowestTimerMs = 1;
// A latency timer file holds a small decimal number.
constexpr std::size_t MaxTimerText = 16;

class RealSystem final : public LinuxSerialSystem {
public:
    bool ReadFlags(int fd, int& flags) override {
        serial_struct info{};
        if (::ioctl(fd, TIOCGSERIAL, &info) != 0)
            return false;
        flags = info.flags;
        return true;
    }
    bool WriteFlags(int fd, int flags) override {
        serial_struct info{};
        if (::ioctl(fd, TIOCGSERIAL, &info) != 0)
            return false;
        info.flags = flags;
        return ::ioctl(fd, TIOCSSERIAL, &info) == 0;
    }
    std::string SysfsRoot() const override { return "/sys"; }
};

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// The file's text, or nothing when it cannot be read.
bool ReadText(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buffer[MaxTimerText + 1] = {};
    ssize_t n;
    do {
        n = ::read(fd, buffer, MaxTimerText);
    } while (n < 0 && errno == EINTR);
    ::close(fd);
    if (n <= 0)
        return false;
    text = Trimmed(std::string(buffer, static_cast<std::size_t>(n)));
    return true;
}

// Writes text to an existing attribute file (never creates one).
bool WriteText(const std::string& path, const std::string& text) {
    // O_TRUNC as a shell's "echo 1 >" opens it; sysfs takes the text whole either way.
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return false;
    ssize_t n;
    do {
        n = ::write(fd, text.data(), text.size());
    } while (n < 0 && errno == EINTR);
    const bool closed = ::close(fd) == 0;
    return closed && n == static_cast<ssize_t>(text.size());
}

// The value of a timer text, or -1 when it is not a plain number.
int TimerValue(const std::string& text) {
    if (text.empty() || text.size() > 5)
        return -1;
    for (char c : text)
        if (c < '0' || c > '9')
            return -1;
    return std::atoi(text.c_str());
}

} // namespace

LinuxSerialSystem& RealLinuxSerialSystem() {
    static RealSystem system;
    return system;
}

std::string TtyName(const std::string& location) {
    std::string path = location;
    char resolved[PATH_MAX];
    if (::realpath(location.c_str(), resolved) != nullptr)
        path = resolved;
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string LatencyTimerFile(const std::string& root, const std::string& tty) {
    return root + "/bus/usb-serial/devices/" + tty + "/latency_timer";
}

Previous RequestLowest(LinuxSerialSystem& system, int fd, const std::string& location) {
    Previous previous;
    if (fd < 0)
        return previous;

    // The driver's own low-latency mode; ftdi_sio also runs its timer at
    // 1 ms while it is on.
    int flags = 0;
    if (system.ReadFlags(fd, flags) && (flags & ASYNC_LOW_LATENCY) == 0 &&
        system.WriteFlags(fd, flags | static_cast<int>(ASYNC_LOW_LATENCY))) {
        previous.flagSet = true;
        previous.flags = flags;
    }

    // The adapter's latency timer, where the driver offers one and it is
    // still above the lowest value.
    const std::string tty = TtyName(location);
    if (tty.empty() || tty == "." || tty == "..")
        return previous;
    const std::string file = LatencyTimerFile(system.SysfsRoot(), tty);
    std::string before;
    if (!ReadText(file, before))
        return previous;
    const int value = TimerValue(before);
    if (value > LowestTimerMs && WriteText(file, std::to_string(LowestTimerMs))) {
        previous.timerSet = true;
        previous.timerFile = file;
        previous.timerValue = before;
    }
    return previous;
}

void Restore(LinuxSerialSystem& system, int fd, const Previous& previous) {
    if (previous.timerSet)
        WriteText(previous.timerFile, previous.timerValue);
    if (previous.flagSet && fd >= 0) {
        int flags = 0;
        if (system.ReadFlags(fd, flags))
            system.WriteFlags(fd, (flags & ~static_cast<int>(ASYNC_LOW_LATENCY)) |
                                      (previous.flags & static_cast<int>(ASYNC_LOW_LATENCY)));
    }
}

Previous RequestLowest(qintptr handle, const std::string& location) {
    return RequestLowest(RealLinuxSerialSystem(), static_cast<int>(handle), location);
}

void Restore(qintptr handle, const Previous& previous) {
    Restore(RealLinuxSerialSystem(), static_cast<int>(handle), previous);
}

bool TakesEffectOnOpen() {
    return false;
}

} // namespace SerialLatency

#endif
