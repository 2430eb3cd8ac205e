#include "app/StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>

StartupProbe::StartupProbe(QWidget& window, const QElapsedTimer& sinceStart)
    : window_(window), sinceStart_(sinceStart) {
    window_.installEventFilter(this);
}

bool StartupProbe::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Paint && !reported_) {
        reported_ = true;
        // Once this first paint is done.
        QTimer::singleShot(0, this, [this] {
            std::printf("startup %.1f ms\n", static_cast<double>(sinceStart_.nsecsElapsed()) / 1e6);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    }
    return QObject::eventFilter(watched, event);
}
