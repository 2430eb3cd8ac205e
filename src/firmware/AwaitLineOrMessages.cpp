#include "firmware/AwaitLineOrMessages.h"

#include "link/Clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

void AwaitLineOrMessages(Clock& clock, double maxMs) {
    if (dynamic_cast<RealClock*>(&clock) == nullptr || QCoreApplication::instance() == nullptr ||
        maxMs < 1.0) {
        clock.ProcessMessages();
        return;
    }
    // Processes what is pending, then waits for the next event. The timer
    // bounds the wait; the serial port's read notification, a window event
    // or a posted event ends it earlier.
    QTimer bound;
    bound.setSingleShot(true);
    bound.setTimerType(Qt::PreciseTimer);
    bound.start(static_cast<int>(maxMs));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
