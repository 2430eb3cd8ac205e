#pragma once

#include <cstdint>

// Time seam of the program. Every wait in the link, the gauge handler, the
// XModem sender and the work-area sequences goes through the installed
// clock, so tests can replace real time by a manual clock that advances on
// every poll and run long waits in microseconds, deterministically.
class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic time in milliseconds (fractional).
    virtual double NowMs() = 0;
    // Plain sleep; the window does not respond meanwhile.
    virtual void SleepMs(double ms) = 0;
    // Let the window system process pending messages.
    virtual void ProcessMessages() = 0;
    // Between two polls that found nothing: process the pending messages and,
    // in real time, wait for the next event (at most maxMs) instead of
    // spinning. An adapter on a serial line reports arriving bytes as such an
    // event, so a poller still reacts at once while the processor stays free
    // for the rest of the machine. Other clocks just process the messages.
    virtual void AwaitMessages(double maxMs) {
        (void)maxMs;
        ProcessMessages();
    }
};

// steady_clock and QCoreApplication::processEvents.
class RealClock final : public Clock {
public:
    double NowMs() override;
    void SleepMs(double ms) override;
    void ProcessMessages() override;
    void AwaitMessages(double maxMs) override;
};

// Manual clock for tests and simulated benchmarks: time moves only when it
// is read (by PollStepMs each time), slept or told to advance. Pending window
// messages are processed only when a hook is installed.
class ManualClock final : public Clock {
public:
    explicit ManualClock(double pollStepMs = 0.01) : step_(pollStepMs) {}
    double NowMs() override;
    void SleepMs(double ms) override { now_ += ms; }
    void ProcessMessages() override;
    void Advance(double ms) { now_ += ms; }
    double Peek() const { return now_; }
    void SetPollStepMs(double ms) { step_ = ms; }
    // Called from ProcessMessages (for example to run Qt's event loop once).
    void SetMessageHook(void (*hook)(void*), void* context) {
        hook_ = hook;
        hookContext_ = context;
    }
    // Time added by each ProcessMessages call.
    void SetMessageStepMs(double ms) { messageStep_ = ms; }

private:
    double now_ = 0.0;
    double step_;
    double messageStep_ = 0.01;
    void (*hook_)(void*) = nullptr;
    void* hookContext_ = nullptr;
};

// The installed clock (a RealClock unless a test installs another one).
Clock& TheClock();
// Installs clock (not owned); nullptr restores the real clock.
void InstallClock(Clock* clock);

// Installs a clock for the lifetime of the guard.
class ScopedClock {
public:
    explicit ScopedClock(Clock& clock) { InstallClock(&clock); }
    ~ScopedClock() { InstallClock(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};
