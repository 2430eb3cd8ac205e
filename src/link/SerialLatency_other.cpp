#include "link/SerialLatency.h"

// Systems without a known way to lower a serial line's receive latency:
// every port keeps its setting.

#if !defined(__linux__) && !defined(Q_OS_WIN)

namespace SerialLatency {

Previous RequestLowest(qintptr, const std::string&) {
    return {};
}

void Restore(qintptr, const Previous&) {}

bool TakesEffectOnOpen() {
    return false;
}

} // namespace SerialLatency

#endif
