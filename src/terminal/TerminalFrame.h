#pragma once

// SDI-12 terminal work area: free commands with history and log. The main
// window creates it once; the area itself is still to be built.

#include "ui/WorkArea.h"

#include <QFrame>

class QStatusBar;
class TSDIHandler;

class TTerminalFrame : public QFrame, public WorkArea {
    Q_OBJECT
public:
    // statusBar: the main window's status bar, whose text the area sets.
    TTerminalFrame(TSDIHandler& gauge, QStatusBar* statusBar, QWidget* parent = nullptr);

    void TranslateTerminalArea();

    // WorkArea: opening the terminal sends nothing.
    void ShowArea(int) override {}
    void TranslateArea() override { TranslateTerminalArea(); }
    QWidget* AreaWidget() override { return this; }

private:
    [[maybe_unused]] TSDIHandler& gauge_;
    [[maybe_unused]] QStatusBar* statusBar_;
};
