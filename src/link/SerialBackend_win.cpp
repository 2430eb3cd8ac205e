#include "link/SerialBackendPlatform.h"

#if defined(Q_OS_WIN)

namespace SerialBackendPlatform {

// On Windows a vanished adapter shows as a resource error of QSerialPort.
bool HungUp(qintptr) {
    return false;
}

} // namespace SerialBackendPlatform

#endif
