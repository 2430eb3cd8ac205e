#pragma once

// Throws away the keys typed while the window could not react: the events
// waiting in the queue are delivered with every key event swallowed, and
// mouse clicks are put back to be handled once the caller has returned.

void DiscardPendingKeystrokes();
