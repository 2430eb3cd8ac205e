#include "sim/PtyGaugeServer.h"
#include "sim/PseudoTerminal_posix.h"
#include "sim/PtyAdapter_posix.h"

#if defined(__unix__) || defined(__APPLE__)

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#if defined(__APPLE__)
#include <util.h>
#else
#include <pty.h>
#endif
#if defined(__linux__)
#include <sys/prctl.h>
#endif

namespace PtyGaugeServer {

namespace {

volatile std::sig_atomic_t stopRequested = 0;
volatile std::sig_atomic_t unplugRequested = 0;
volatile std::sig_atomic_t plugRequested = 0;

void RequestStop(int) {
    stopRequested = 1;
}

void RequestUnplug(int) {
    unplugRequested = 1;
}

void RequestPlug(int) {
    plugRequested = 1;
}

double NowMs() {
    using namespace std::chrono;
    static const steady_clock::time_point start = steady_clock::now();
    return duration<double, std::milli>(steady_clock::now() - start).count();
}

std::string Printable(const std::string& bytes) {
    std::string text;
    for (unsigned char c : bytes) {
        if (c == '\r')
            text += "\\r";
        else if (c == '\n')
            text += "\\n";
        else if (c >= 0x20 && c < 0x7F)
            text.push_back(static_cast<char>(c));
        else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            text += hex;
        }
    }
    return text;
}

// Whether end of file on standard input should end the server: only for a
// pipe, or for the controlling terminal while we run in its foreground.
bool WatchStandardInput() {
    struct stat info {};
    if (::fstat(STDIN_FILENO, &info) != 0)
        return false;
    if (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode))
        return true;
    return ::isatty(STDIN_FILENO) != 0 && ::tcgetpgrp(STDIN_FILENO) == ::getpgrp();
}

class Server {
public:
    Server(SimGauge& gauge, std::FILE* log, const std::string& linkPath)
        : gauge_(gauge), log_(log), adapter_(linkPath) {}

    int Run() {
        if (!adapter_.Plug()) {
            std::fprintf(log_, "tessra2-sim: %s\n", adapter_.Error().c_str());
            return 1;
        }
#if defined(__linux__)
        ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL); // wake up on time for paced bytes
#endif
        std::signal(SIGTERM, RequestStop);
        std::signal(SIGINT, RequestStop);
        std::signal(SIGUSR1, RequestUnplug);
        std::signal(SIGUSR2, RequestPlug);
        std::signal(SIGPIPE, SIG_IGN);
        const bool watchInput = WatchStandardInput();

        std::printf("%s\n", adapter_.Path().c_str());
        std::fflush(stdout);
        Log("serving a model %d gauge at address %c on %s%s (%s)", gauge_.Config().model,
            gauge_.Config().address, adapter_.Path().c_str(), LinkNote().c_str(),
            gauge_.Config().paceWire ? "paced" : "not paced");

        while (stopRequested == 0) {
            FollowPlugRequests();
            const double now = NowMs();
            if (adapter_.Plugged()) {
                WatchLine();
                if (!ReadProgram(now))
                    break;
            }
            Deliver(NowMs());
            if (!Wait(watchInput))
                break;
        }
        FlushReplyLog(NowMs());
        adapter_.Unplug();
        Log("stopped");
        return 0;
    }

private:
    std::string LinkNote() const {
        return adapter_.LinkPath().empty() ? std::string() : " through " + adapter_.LinkPath();
    }

    // The signals' requests, handled here in the loop: unplug first, so
    // that both requests together give a fresh terminal.
    void FollowPlugRequests() {
        if (unplugRequested != 0) {
            unplugRequested = 0;
            if (!adapter_.Plugged()) {
                Log("unplug: the adapter is unplugged already");
            } else {
                FlushReplyLog(NowMs());
                const std::string path = adapter_.Path();
                adapter_.Unplug();
                unsent_.clear();
                Log("unplugged: %s is gone%s", path.c_str(),
                    adapter_.LinkPath().empty() ? "" : ", and its link with it");
            }
        }
        if (plugRequested != 0) {
            plugRequested = 0;
            if (adapter_.Plugged()) {
                Log("plug in: the adapter is plugged in already (%s)", adapter_.Path().c_str());
            } else if (!adapter_.Plug()) {
                Log("plug in failed: %s", adapter_.Error().c_str());
            } else {
                lastReceivedMs_ = -1e9;
                std::printf("%s\n", adapter_.Path().c_str());
                std::fflush(stdout);
                Log("plugged in again: %s%s", adapter_.Path().c_str(), LinkNote().c_str());
            }
        }
    }

    __attribute__((format(printf, 2, 3))) void Log(const char* format, ...) {
        std::fprintf(log_, "[%10.3f] ", NowMs());
        va_list args;
        va_start(args, format);
        std::vfprintf(log_, format, args);
        va_end(args);
        std::fputc('\n', log_);
        std::fflush(log_);
    }

    // The program's side of the line: the baud rate it set on the terminal.
    void WatchLine() {
        termios settings{};
        if (::tcgetattr(adapter_.Master(), &settings) != 0)
            return;
        const std::uint32_t baud = BaudOfSpeed(::cfgetospeed(&settings));
        if (baud != 0 && baud != gauge_.ProgramLine().baud) {
            gauge_.Tick(NowMs());
            gauge_.SetLine(baud, 0, 0);
            Log("line %u baud", static_cast<unsigned>(baud));
        }
    }

    bool ReadProgram(double now) {
        std::uint8_t buffer[4096];
        for (;;) {
            const ssize_t n = ::read(adapter_.Master(), buffer, sizeof buffer);
            if (n > 0) {
                if (!gauge_.InLoader() && now - lastReceivedMs_ > BreakGapMs)
                    gauge_.Break(now);
                lastReceivedMs_ = now;
                gauge_.Receive(buffer, static_cast<std::size_t>(n), now);
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
                return true;
            if (n < 0 && errno == EIO)
                return true; // no one has the terminal open at the moment
            if (n == 0)
                return true;
            Log("read failed: %s", std::strerror(errno));
            return false;
        }
    }

    void Deliver(double now) {
        gauge_.Tick(now);
        LogCommands();
        std::uint8_t buffer[4096];
        if (!adapter_.Plugged()) {
            // The gauge goes on; what it says meanwhile reaches no one.
            while (gauge_.Take(buffer, sizeof buffer, now) != 0) {
            }
            return;
        }
        while (unsent_.empty()) {
            const std::size_t n = gauge_.Take(buffer, sizeof buffer, now);
            if (n == 0)
                break;
            unsent_.append(reinterpret_cast<const char*>(buffer), n);
            replyLog_.append(reinterpret_cast<const char*>(buffer), n);
            lastSentMs_ = now;
            WriteUnsent();
        }
        if (!unsent_.empty())
            WriteUnsent();
        std::size_t lineEnd;
        while ((lineEnd = replyLog_.find('\n')) != std::string::npos) {
            Log("-> %s", Printable(replyLog_.substr(0, lineEnd + 1)).c_str());
            replyLog_.erase(0, lineEnd + 1);
        }
        if (!replyLog_.empty() && now - lastSentMs_ > 50.0)
            FlushReplyLog(now);
    }

    void WriteUnsent() {
        while (!unsent_.empty()) {
            const ssize_t n = ::write(adapter_.Master(), unsent_.data(), unsent_.size());
            if (n <= 0)
                return; // the terminal's buffer is full: the rest goes later
            unsent_.erase(0, static_cast<std::size_t>(n));
        }
    }

    void FlushReplyLog(double) {
        if (!replyLog_.empty())
            Log("-> %s", Printable(replyLog_).c_str());
        replyLog_.clear();
    }

    void LogCommands() {
        const auto& commands = gauge_.Commands();
        for (; loggedCommands_ < commands.size(); ++loggedCommands_)
            Log("<- %s", Printable(commands[loggedCommands_]).c_str());
        if (commands.size() > 1000) {
            gauge_.ClearCommands();
            loggedCommands_ = 0;
        }
    }

    // Sleeps until the gauge's next event, at most a few milliseconds (the
    // line settings are looked at between). False when standard input ended.
    bool Wait(bool watchInput) {
        double waitMs = 5.0;
        const double next = gauge_.NextWakeMs();
        if (next != SimGauge::Never)
            waitMs = std::max(0.0, std::min(waitMs, next - NowMs()));
        if (!unsent_.empty())
            waitMs = std::min(waitMs, 1.0);
        if (!replyLog_.empty())
            waitMs = std::min(waitMs, 10.0);
        // While unplugged there is no line to look at (poll leaves out a
        // descriptor of -1).
        pollfd fds[2] = {{adapter_.Master(), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
#if defined(__linux__)
        const timespec timeout{0, static_cast<long>(waitMs * 1e6)};
        const int ready = ::ppoll(fds, watchInput ? 2 : 1, &timeout, nullptr);
#else
        const int ready = ::poll(fds, watchInput ? 2 : 1, static_cast<int>(std::ceil(waitMs)));
#endif
        if (ready > 0 && watchInput && (fds[1].revents & (POLLIN | POLLHUP)) != 0) {
            char buffer[256];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n == 0) {
                Log("end of standard input");
                return false;
            }
        }
        if (ready > 0 && (fds[0].revents & POLLHUP) != 0 && (fds[0].revents & POLLIN) == 0) {
            // Nobody has the terminal open: do not spin on the hang-up.
            ::usleep(static_cast<useconds_t>(std::max(waitMs, 0.2) * 1000.0));
        }
        return true;
    }

    SimGauge& gauge_;
    std::FILE* log_;
    PtyAdapter adapter_;
    double lastReceivedMs_ = -1e9;
    double lastSentMs_ = 0.0;
    std::string unsent_;
    std::string replyLog_;
    std::size_t loggedCommands_ = 0;
};

} // namespace

int Serve(SimGauge& gauge, std::FILE* log, const std::string& linkPath) {
    return Server(gauge, log, linkPath).Run();
}

} // namespace PtyGaugeServer

#endif
