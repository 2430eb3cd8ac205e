#include "link/Clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>

double RealClock::NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void RealClock::SleepMs(double ms) {
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
}

void RealClock::ProcessMessages() {
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::processEvents();
}

void RealClock::AwaitMessages(double maxMs) {
    if (QCoreApplication::instance() == nullptr || maxMs < 1.0) {
        ProcessMessages();
        return;
    }
    // The timer bounds the wait; the serial port's read notification, a
    // window event or a posted event ends it earlier.
    QTimer bound;
    bound.setSingleShot(true);
    bound.setTimerType(Qt::PreciseTimer);
    bound.start(static_cast<int>(maxMs));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

double ManualClock::NowMs() {
    now_ += step_;
    return now_;
}

void ManualClock::ProcessMessages() {
    now_ += messageStep_;
    if (hook_ != nullptr)
        hook_(hookContext_);
}

namespace {
RealClock realClock;
Clock* installed = nullptr;
} // namespace

Clock& TheClock() { return installed != nullptr ? *installed : realClock; }

void InstallClock(Clock* clock) { installed = clock; }
