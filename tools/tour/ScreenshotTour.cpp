#include "ScreenshotTour.h"

#include "app/ConnectedDevicesForm.h"
#include "app/ConnectionFrame.h"
#include "app/Main.h"
#include "gauge/SDIHandler.h"
#include "sim/SimBackend.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <QTreeWidget>
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

SimGauge* TourContext::SimulatedGauge(int model) const {
    const int adapter = SimulatedAdapterOfModel(model);
    return adapter < 0 ? nullptr : &simulation->Gauge(static_cast<std::size_t>(adapter));
}

bool TourContext::ConnectToModel(int model, const QString& selectionShot) {
    constexpr int ReadTimeoutMs = 20000;
    const int row = SimulatedAdapterOfModel(model);
    if (row < 0)
        return false;
    bool shot = selectionShot.isEmpty();
    window.ConnectFormChooser().SetWhileShown([&](TConnectForm& form) {
        Settle(200);
        if (!selectionShot.isEmpty())
            shot = Save(selectionShot, &form);
        form.USBDevicesListView->setCurrentItem(form.USBDevicesListView->topLevelItem(row));
        form.StartButtonClick();
    });
    window.Navigate(window.Tile(TTessra2ParamMainForm::ConnectTile));
    window.ConnectFormChooser().SetWhileShown(nullptr);
    TConnectionFrame* area = window.ConnectionArea;
    const bool read = WaitUntil([area] { return area->InfosRead(); }, ReadTimeoutMs);
    Settle(300);
    return shot && read && window.ModelCode() == model;
}

void TourContext::Disconnect() {
    window.ConnectedTimer.stop();
    window.Gauge().Disconnect();
    window.ShowDisconnectedState();
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
