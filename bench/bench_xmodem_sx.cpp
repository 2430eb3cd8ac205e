// XModem-CRC sender against a peer: TUSBXModem and lrzsz sx each send the
// same image to lrzsz rx over the same kind of pseudo-terminal pair, and the
// program prints the times and the ratio ours / sx (medians of several runs,
// the two senders taking turns), and the transfer phase alone per block,
// without the handshake that dominates the totals (median and best run, as
// a shared machine disturbs single runs).
//
//   bench_xmodem_sx [runs] [KiB]        (default: 9 runs of a 256 KiB image)
//
// Each run is timed from the sender's start until rx has finished (its end
// of the connection closes when it exits). Also printed, as seen at the
// device side: the transfer phase, from the first byte of the first block
// to the end of transmission (without rx's start and its one-second wait
// after the end of transmission, which both senders pay alike), and the
// turnarounds per block of the sender (an answer of rx to the next block)
// and of rx (a block to its answer).
//
// The sender opens the terminal's slave side: ours through the serial
// backend, sx as its standard input and output. rx sits on the master side
// behind a relay process over a socket pair: rx discards its terminal's
// input right after every acknowledgement, which on a pseudo-terminal (no
// wire time) would now and then destroy the next block of a quick sender
// and cost a 5 s timeout; on a socket those flushes do nothing. The relay is
// a process of its own so that neither sender shares a process with it.

#if defined(__unix__)

#include "firmware/USBXModemUnit.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "link/SerialBackend.h"
#include "sim/PseudoTerminal_posix.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void CloseOnExec(int fd) {
    ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd out{fd, POLLOUT, 0};
            ::poll(&out, 1, 100);
            continue;
        }
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Starts a program (found on the path before the fork) with in and out as its
// standard input and output.
pid_t Spawn(std::vector<std::string> argv, int in, int out, const std::string& folder) {
    if (argv[0].find('/') == std::string::npos)
        argv[0] = QStandardPaths::findExecutable(QString::fromStdString(argv[0])).toStdString();
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!folder.empty() && ::chdir(folder.c_str()) != 0)
            ::_exit(126);
        ::dup2(in, STDIN_FILENO);
        ::dup2(out, STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDERR_FILENO);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    return pid;
}

// Processor time (user and system) in a resource record, in milliseconds.
double CpuMs(const rusage& usage) {
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

double OwnCpuMs() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return CpuMs(usage);
}

// Waits for pid's end; its exit code, and in cpuMs (when given) the
// processor time it used.
int WaitExit(pid_t pid, int timeoutMs, double* cpuMs = nullptr) {
    const double end = NowMs() + timeoutMs;
    for (;;) {
        int status = 0;
        rusage usage{};
        if (::wait4(pid, &status, WNOHANG, &usage) == pid) {
            if (cpuMs != nullptr)
                *cpuMs = CpuMs(usage);
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (NowMs() > end) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        ::poll(nullptr, 0, 2);
    }
}

// What the relay saw, in memory shared with it.
struct PeerTimes {
    double firstFromSender = -1; // first byte from the sender
    double lastFromSender = -1;  // last byte from the sender before rx finished
    double rxDone = -1;          // rx closed its end: it has finished
    int rxExit = -1;
    // Turnarounds summed over the transfer: the sender's, from an answer of
    // rx to the sender's next bytes, and rx's, from the sender's bytes to its answer.
    double senderTurnaroundMs = 0;
    double rxTurnaroundMs = 0;
    int answers = 0;
};

// The device side: the pseudo-terminal's master, relayed to rx on a socket
// pair by a process of its own (so that neither sender shares a process
// with it).
class RxPeer {
public:
    explicit RxPeer(const std::string& folder) {
        if (!OpenRawPseudoTerminal(master_, slave_, slavePath_))
            return;
        // The relay reads the master blocking.
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) & ~O_NONBLOCK);
        CloseOnExec(master_);
        CloseOnExec(slave_);
        void* shared = ::mmap(nullptr, sizeof(PeerTimes), PROT_READ | PROT_WRITE,
                              MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (shared == MAP_FAILED || ::pipe(control_) != 0)
            return;
        times_ = new (shared) PeerTimes;
        CloseOnExec(control_[0]);
        CloseOnExec(control_[1]);
        const std::string rx = QStandardPaths::findExecutable("rx").toStdString();
        relay_ = ::fork();
        if (relay_ == 0) {
            ::close(control_[1]);
            RelayMain(rx, folder);
            ::_exit(0);
        }
        ::close(control_[0]);
        control_[0] = -1;
    }
    ~RxPeer() {
        if (relay_ > 0)
            WaitExit(relay_, 1000);
        for (int fd : {master_, slave_, control_[0], control_[1]})
            if (fd >= 0)
                ::close(fd);
        if (times_ != nullptr)
            ::munmap(times_, sizeof(PeerTimes));
    }

    bool Ok() const { return relay_ > 0; }
    const std::string& SlavePath() const { return slavePath_; }
    void StartRx() {
        if (::write(control_[1], "s", 1) != 1)
            std::printf("cannot start rx\n");
    }
    // Waits until the relay has seen rx finish; rx's exit code, or -1.
    int WaitForRx(int timeoutMs) {
        const int relayExit = WaitExit(relay_, timeoutMs);
        relay_ = -1;
        return relayExit == 0 ? times_->rxExit : -1;
    }
    const PeerTimes& Times() const { return *times_; }

private:
    // In the relay process: waits for the start, runs rx, relays until rx ends.
    void RelayMain(const std::string& rx, const std::string& folder) {
        pollfd start{control_[0], POLLIN, 0};
        char byte = 0;
        if (::poll(&start, 1, 60000) <= 0 || ::read(control_[0], &byte, 1) != 1)
            return;
        int pair[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0)
            return;
        const pid_t child = Spawn({rx, "-q", "-c", "received.bin"}, pair[1], pair[1], folder);
        ::close(pair[1]);
        char buffer[4096];
        const double end = NowMs() + 120000;
        double answeredAt = -1;
        double senderAt = -1;
        double lastRxTurnaround = 0;
        while (NowMs() < end) {
            pollfd fds[2] = {{master_, POLLIN, 0}, {pair[0], POLLIN, 0}};
            if (::poll(fds, 2, 100) <= 0)
                continue;
            if ((fds[0].revents & POLLIN) != 0) {
                const ssize_t n = ::read(master_, buffer, sizeof buffer);
                if (n > 0) {
                    const double now = NowMs();
                    if (times_->firstFromSender < 0)
                        times_->firstFromSender = now;
                    times_->lastFromSender = now;
                    if (answeredAt >= 0)
                        times_->senderTurnaroundMs += now - answeredAt;
                    answeredAt = -1;
                    senderAt = now;
                    WriteAll(pair[0], buffer, static_cast<std::size_t>(n));
                }
            }
            if ((fds[1].revents & (POLLIN | POLLHUP)) != 0) {
                const ssize_t n = ::read(pair[0], buffer, sizeof buffer);
                if (n > 0) {
                    WriteAll(master_, buffer, static_cast<std::size_t>(n));
                    answeredAt = NowMs();
                    if (senderAt >= 0) {
                        lastRxTurnaround = answeredAt - senderAt;
                        times_->rxTurnaroundMs += lastRxTurnaround;
                        ++times_->answers;
                    }
                    senderAt = -1;
                } else if (n == 0) {
                    times_->rxDone = NowMs();
                    // The answer to the end of transmission (rx waits a second
                    // before it) is no block's turnaround.
                    times_->rxTurnaroundMs -= lastRxTurnaround;
                    --times_->answers;
                    break;
                }
            }
        }
        times_->rxExit = WaitExit(child, 5000);
    }

    int master_ = -1;
    int slave_ = -1;
    int control_[2] = {-1, -1};
    std::string slavePath_;
    pid_t relay_ = -1;
    PeerTimes* times_ = nullptr;
};

struct Run {
    bool ok = false;
    double totalMs = 0;    // sender start -> rx finished
    double transferMs = 0; // first block byte -> end of transmission, at the device side
    double senderUs = 0;   // mean turnaround of the sender per answer, at the device side
    double cpuMs = 0;      // processor time of the sender (handshake and transfer)
    double rxUs = 0;       // mean turnaround of rx per block
};

bool SameAsImage(const QString& folder, const QByteArray& image) {
    QFile file(folder + "/received.bin");
    return file.open(QIODevice::ReadOnly) && file.readAll() == image;
}

Run Collect(RxPeer& peer, double start, bool sent, const QString& folder, const QByteArray& image) {
    Run run;
    const int rxExit = peer.WaitForRx(180000);
    const PeerTimes& times = peer.Times();
    run.ok = sent && rxExit == 0 && SameAsImage(folder, image);
    run.totalMs = times.rxDone - start;
    run.transferMs = times.lastFromSender - times.firstFromSender;
    if (times.answers > 0) {
        run.senderUs = 1000 * times.senderTurnaroundMs / times.answers;
        run.rxUs = 1000 * times.rxTurnaroundMs / times.answers;
    }
    return run;
}

Run RunOurs(const QString& imagePath, const QByteArray& image) {
    QTemporaryDir folder;
    RxPeer peer(folder.path().toStdString());
    if (!peer.Ok() || !folder.isValid())
        return {};
    SerialBackend backend;
    backend.SetListSystemPorts(false);
    const std::string serial = backend.AddPath(peer.SlavePath());
    D2XXDriver::InstallBackend(&backend);
    TUSBXModem sender;
    if (SDI12IO::OpenSdiPort(serial, 7, 2, 0) == -1 || !sender.OpenFirmwareFile(imagePath))
        return {};
    SDI12IO::ReopenPort(115200, 0, 0, 8);

    // rx starts at the first message processing, right after the handshake's
    // purge: a loader that starts while the program already waits for it.
    QTimer::singleShot(0, [&peer] { peer.StartRx(); });
    const double start = NowMs();
    const double cpuBefore = OwnCpuMs();
    const bool sent = sender.SynchronizeReceiver() && sender.SendFirmwareFile(nullptr);
    const double cpuMs = OwnCpuMs() - cpuBefore;
    Run run = Collect(peer, start, sent, folder.path(), image);
    run.cpuMs = cpuMs;
    SDI12IO::CloseSdiPort();
    D2XXDriver::InstallBackend(nullptr);
    return run;
}

Run RunSx(const QString& imagePath, const QByteArray& image) {
    QTemporaryDir folder;
    RxPeer peer(folder.path().toStdString());
    if (!peer.Ok() || !folder.isValid())
        return {};
    const int line = ::open(peer.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (line < 0)
        return {};
    const double start = NowMs();
    const pid_t sx = Spawn({"sx", "-q", imagePath.toStdString()}, line, line, {});
    peer.StartRx();
    Run run = Collect(peer, start, true, folder.path(), image);
    ::kill(sx, SIGTERM); // sx may linger after the end of transmission
    WaitExit(sx, 2000, &run.cpuMs);
    ::close(line);
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const int kib = argc > 2 ? std::max(1, std::atoi(argv[2])) : 256;
    if (QStandardPaths::findExecutable("rx").isEmpty() ||
        QStandardPaths::findExecutable("sx").isEmpty()) {
        std::printf("lrzsz (rx, sx) is not installed\n");
        return 1;
    }
    ::signal(SIGPIPE, SIG_IGN);

    QTemporaryDir images;
    QByteArray image(kib * 1024, '\0');
    std::uint32_t seed = 12345;
    for (char& c : image) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 24);
    }
    const QString imagePath = images.filePath("image.bin");
    {
        QFile file(imagePath);
        if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size()) {
            std::printf("cannot write the image\n");
            return 1;
        }
    }

    std::printf("XModem-CRC, %d KiB (%d blocks) to lrzsz rx over a pseudo-terminal, %d runs each\n",
                kib, kib * 8, runs);
    std::vector<double> oursTotal, oursTransfer, sxTotal, sxTransfer, oursTurn, sxTurn, oursCpu,
        sxCpu, pairRatios;
    for (int i = 0; i < runs; ++i) {
        const Run ours = RunOurs(imagePath, image);
        const Run sx = RunSx(imagePath, image);
        std::printf("run %d: ours %7.1f ms (transfer %6.1f ms, turnaround %5.1f us, rx %5.1f us)%s"
                    "   sx %7.1f ms (transfer %6.1f ms, turnaround %5.1f us, rx %5.1f us)%s\n",
                    i + 1, ours.totalMs, ours.transferMs, ours.senderUs, ours.rxUs,
                    ours.ok ? "" : " FAILED", sx.totalMs, sx.transferMs, sx.senderUs, sx.rxUs,
                    sx.ok ? "" : " FAILED");
        if (!ours.ok || !sx.ok)
            return 1;
        oursTotal.push_back(ours.totalMs);
        oursTransfer.push_back(ours.transferMs);
        sxTotal.push_back(sx.totalMs);
        sxTransfer.push_back(sx.transferMs);
        oursTurn.push_back(ours.senderUs);
        sxTurn.push_back(sx.senderUs);
        oursCpu.push_back(ours.cpuMs);
        sxCpu.push_back(sx.cpuMs);
        pairRatios.push_back(ours.transferMs / sx.transferMs);
    }
    const double ot = Median(oursTotal), st = Median(sxTotal);
    const double ox = Median(oursTransfer), sxx = Median(sxTransfer);
    const double oxBest = *std::min_element(oursTransfer.begin(), oursTransfer.end());
    const double sxBest = *std::min_element(sxTransfer.begin(), sxTransfer.end());
    const double blocks = kib * 8;
    std::printf("whole transfer, handshake included: median ours %.1f ms, sx %.1f ms: "
                "ratio ours / sx = %.3f (goal <= 1.05)\n",
                ot, st, ot / st);
    std::printf("transfer phase alone, per block: median ours %.1f us, sx %.1f us: ratio %.3f; "
                "best run ours %.1f us, sx %.1f us: ratio %.3f (goal <= 1.0)\n",
                ox * 1000 / blocks, sxx * 1000 / blocks, ox / sxx, oxBest * 1000 / blocks,
                sxBest * 1000 / blocks, oxBest / sxBest);
    // Each pair of runs follows each other closely, so their ratio sees the
    // same load on the machine.
    std::printf("transfer phase, median of the ratios of the %d pairs of runs: %.3f "
                "(goal <= 1.0)\n",
                runs, Median(pairRatios));
    std::printf("processor time of the sender per block (handshake and transfer): median ours "
                "%.1f us, sx %.1f us: ratio %.3f\n",
                Median(oursCpu) * 1000 / blocks, Median(sxCpu) * 1000 / blocks,
                Median(oursCpu) / Median(sxCpu));
    double load[3] = {0, 0, 0};
    if (::getloadavg(load, 3) == 3)
        std::printf("load average of the machine: %.2f %.2f %.2f\n", load[0], load[1], load[2]);
    std::printf("sender turnaround (an answer of rx to the next block, at the device side): "
                "ours %.1f us, sx %.1f us\n",
                Median(oursTurn), Median(sxTurn));
    return 0;
}

#else

#include <cstdio>

int main() {
    std::printf("bench_xmodem_sx needs pseudo-terminals and lrzsz (a POSIX system)\n");
    return 1;
}

#endif
