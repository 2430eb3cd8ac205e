#include "link/SerialBackendPlatform.h"

#if defined(Q_OS_UNIX)

#include <poll.h>

namespace SerialBackendPlatform {

bool HungUp(qintptr handle) {
    if (handle < 0)
        return true;
    pollfd line{static_cast<int>(handle), POLLIN, 0};
    if (::poll(&line, 1, 0) < 0)
        return false; // interrupted: ask again next time
    return (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

} // namespace SerialBackendPlatform

#endif
