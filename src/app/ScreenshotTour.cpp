#include "app/ScreenshotTour.h"

#include "app/Main.h"
#include "sim/SimBackend.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <memory>

bool TourContext::Save(const QString& name, QWidget* widget) {
    if (widget == nullptr)
        return false;
    QCoreApplication::processEvents();
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!widget->grab().save(path, "PNG"))
        return false;
    saved.append(path);
    std::printf("%s\n", qPrintable(path));
    std::fflush(stdout);
    return true;
}

bool TourContext::WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void TourContext::Settle(int ms) {
    WaitUntil([] { return false; }, ms);
}

int TourContext::SimulatedAdapterOfModel(int model) const {
    if (simulation == nullptr)
        return -1;
    for (std::size_t i = 0; i < simulation->GaugeCount(); ++i)
        if (simulation->Gauge(i).Config().model == model)
            return static_cast<int>(i);
    return -1;
}

void StartScreenshotTour(TTessra2ParamMainForm& window, SimBackend* simulation,
                         const QString& folder, std::vector<TourStep> steps) {
    QDir().mkpath(folder);
    QTimer::singleShot(0, &window, [&window, simulation, folder, steps = std::move(steps)] {
        TourContext context(window, simulation, QDir(folder));
        // The pointer away from the window, so that no row shows its hover colour.
        QCursor::setPos(0, 0);
        bool allDone = true;
        for (const TourStep& step : steps) {
            if (!step.run(context)) {
                std::fprintf(stderr, "screenshot step failed: %s\n", qPrintable(step.name));
                allDone = false;
            }
        }
        QCoreApplication::exit(allDone ? 0 : 1);
    });
}
