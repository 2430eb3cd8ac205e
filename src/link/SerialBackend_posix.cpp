#include "link/SerialBackendPlatform.h"

#if defined(Q_OS_UNIX)

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <unistd.h>

namespace SerialBackendPlatform {

LineState PollLine(qintptr handle) {
    LineState state;
    if (handle < 0) {
        state.known = true;
        state.hungUp = true;
        return state;
    }
    pollfd line{static_cast<int>(handle), POLLIN, 0};
    if (::poll(&line, 1, 0) < 0)
        return state; // interrupted: let Qt ask
    state.known = true;
    state.readable = (line.revents & POLLIN) != 0;
    state.hungUp = (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    return state;
}

qint64 WriteNow(qintptr handle, const char* data, qint64 count, int boundMs) {
    if (handle < 0)
        return WriteFailed;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(boundMs);
    qint64 written = 0;
    while (written < count) {
        const ssize_t n = ::write(static_cast<int>(handle), data + written,
                                  static_cast<std::size_t>(count - written));
        if (n > 0) {
            written += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return written > 0 ? written : WriteFailed;
        // The system's buffer is full: wait for room, within the bound.
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd line{static_cast<int>(handle), POLLOUT, 0};
        if (::poll(&line, 1, static_cast<int>(left)) <= 0 ||
            (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
            break;
    }
    return written;
}

} // namespace SerialBackendPlatform

#endif
