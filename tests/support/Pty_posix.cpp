#include "support/Pty.h"

#if defined(__unix__) || defined(__APPLE__)
#include "sim/PseudoTerminal_posix.h"
#endif

#if defined(__unix__) || defined(__APPLE__)

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#if defined(__APPLE__)
#include <util.h>
#else
#include <pty.h>
#endif

namespace {

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

PtyPair::PtyPair() {
    OpenRawPseudoTerminal(master_, slave_, slavePath_);
}

PtyPair::~PtyPair() {
    StopProgram();
    CloseMaster();
}

bool PtyPair::Write(const std::string& bytes) {
    std::size_t done = 0;
    const double end = NowMs() + 2000.0;
    while (master_ >= 0 && done < bytes.size() && NowMs() < end) {
        pollfd out{master_, POLLOUT, 0};
        if (::poll(&out, 1, 10) <= 0)
            continue;
        const std::size_t chunk = std::min<std::size_t>(bytes.size() - done, 256);
        const ssize_t n = ::write(master_, bytes.data() + done, chunk);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
    }
    return done == bytes.size();
}

std::string PtyPair::Read(int timeoutMs) {
    std::string text;
    if (master_ < 0)
        return text;
    // Poll before every read: a program started on the device side may have
    // made the descriptor blocking.
    char buffer[4096];
    for (int wait = timeoutMs;; wait = 0) {
        pollfd in{master_, POLLIN, 0};
        if (::poll(&in, 1, wait) <= 0 || (in.revents & POLLIN) == 0)
            break;
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

std::string PtyPair::ReadUntil(const std::string& until, int timeoutMs) {
    std::string text;
    const double end = NowMs() + timeoutMs;
    while (text.find(until) == std::string::npos) {
        const double left = end - NowMs();
        if (left <= 0)
            break;
        text += Read(static_cast<int>(left) + 1);
    }
    return text;
}

std::uint32_t PtyPair::SlaveBaud() const {
    termios settings{};
    if (master_ < 0 || ::tcgetattr(master_, &settings) != 0)
        return 0;
    return BaudOfSpeed(::cfgetospeed(&settings));
}

void PtyPair::CloseMaster() {
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = slave_ = -1;
}

bool PtyPair::StartOnMaster(const std::vector<std::string>& argv) {
    if (master_ < 0 || argv.empty() || child_ > 0)
        return false;
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) & ~O_NONBLOCK);
        ::dup2(master_, STDIN_FILENO);
        ::dup2(master_, STDOUT_FILENO);
        ::close(master_);
        ::close(slave_);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    child_ = pid;
    return true;
}

bool PtyPair::WaitForProgram(int timeoutMs, int& exitCode) {
    if (child_ <= 0)
        return false;
    const double end = NowMs() + timeoutMs;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(child_, &status, WNOHANG);
        if (done == child_) {
            child_ = -1;
            exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return true;
        }
        if (NowMs() >= end)
            return false;
        pollfd none{-1, 0, 0};
        ::poll(&none, 0, 5); // a short bounded wait for the child, not a test pause
    }
}

void PtyPair::StopProgram() {
    if (child_ <= 0)
        return;
    ::kill(child_, SIGTERM);
    int exitCode = 0;
    if (!WaitForProgram(1000, exitCode)) {
        ::kill(child_, SIGKILL);
        WaitForProgram(1000, exitCode);
    }
    child_ = -1;
}

#endif
