#pragma once

// --startup-time: prints how many milliseconds passed from the start of
// main until the main window was first painted, then ends the program.

#include <QElapsedTimer>
#include <QObject>

class QWidget;

class StartupProbe : public QObject {
    Q_OBJECT
public:
    StartupProbe(QWidget& window, const QElapsedTimer& sinceStart);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    QElapsedTimer sinceStart_;
    bool reported_ = false;
};
