#pragma once

// Process-wide request to stop a firmware update: cleared when an update
// starts, set by its cancel button. The XModem sender tests it during the
// handshake, before every block and after every unacknowledged attempt, so
// the transfer stops at the next test without sending the end of
// transmission. GUI thread only.
extern bool UpdateCancelled;
