#pragma once

// Platform parts of the serial backend.

#include <QtGlobal>

namespace SerialBackendPlatform {

// True when the line behind the open port handle has hung up: the adapter
// was unplugged, or the other side of a pseudo-terminal was closed.
bool HungUp(qintptr handle);

} // namespace SerialBackendPlatform
