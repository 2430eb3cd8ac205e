#pragma once

// What the XModem sender does between two polls of the adapter that found
// nothing: it processes the pending window messages and, in real time, then
// waits for the next event (at most maxMs) instead of spinning. An adapter
// on a serial line reports arriving bytes as such an event, so the sender
// still reacts at once, while the processor stays free for the receiver at
// the other end and for the rest of the machine: a busy loop keeps a
// processor to itself and, on a loaded machine, is scheduled behind every
// process that waits properly.
//
// With another clock (the manual clock of the tests, whose time moves only
// when read) this is the clock's ProcessMessages.

class Clock;

void AwaitLineOrMessages(Clock& clock, double maxMs);
