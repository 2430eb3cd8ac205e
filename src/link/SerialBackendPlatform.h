#pragma once

// Platform parts of the serial backend.

#include <QtGlobal>

namespace SerialBackendPlatform {

// What the system says about the line behind an open port handle, asked
// without waiting.
struct LineState {
    bool known = false;    // false where the platform cannot tell: ask Qt
    bool readable = false; // received bytes wait to be read
    bool hungUp = false;   // the adapter was unplugged, or the other side
                           // of a pseudo-terminal was closed
};
LineState PollLine(qintptr handle);

// Results of WriteNow besides a count of bytes written.
constexpr qint64 WriteUnavailable = -2; // the platform has no direct write: use Qt's
constexpr qint64 WriteFailed = -1;      // the line is gone

// Writes count bytes straight to the line (no event-loop round trip),
// waiting at most boundMs for room in the system's buffer; the number of
// bytes written, WriteFailed or WriteUnavailable.
qint64 WriteNow(qintptr handle, const char* data, qint64 count, int boundMs);

} // namespace SerialBackendPlatform
