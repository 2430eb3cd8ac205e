#include "link/SerialBackendPlatform.h"

#if defined(Q_OS_WIN)

namespace SerialBackendPlatform {

// On Windows a vanished adapter shows as a resource error of QSerialPort,
// and reading and writing go through it.
LineState PollLine(qintptr) {
    return {};
}

qint64 WriteNow(qintptr, const char*, qint64, int) {
    return WriteUnavailable;
}

} // namespace SerialBackendPlatform

#endif
