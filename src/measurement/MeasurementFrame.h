#pragma once

// Measurement work area: single and continuous measurements of the twelve
// values with the decoded status word. The main window creates it once and
// calls the operations below; the area itself is still to be built.

#include "ui/WorkArea.h"

#include <QFrame>

class QStatusBar;
class TSDIHandler;

class TMeasurementFrame : public QFrame, public WorkArea {
    Q_OBJECT
public:
    // statusBar: the main window's status bar, whose text the area sets.
    TMeasurementFrame(TSDIHandler& gauge, int model, QStatusBar* statusBar,
                      QWidget* parent = nullptr);

    void ShowMeasurementArea(int model);
    void ResetMeasurementArea();
    void TranslateMeasurementArea();

    // WorkArea
    void ShowArea(int model) override { ShowMeasurementArea(model); }
    void ResetArea() override { ResetMeasurementArea(); }
    void TranslateArea() override { TranslateMeasurementArea(); }
    QWidget* AreaWidget() override { return this; }

private:
    [[maybe_unused]] TSDIHandler& gauge_;
    [[maybe_unused]] QStatusBar* statusBar_;
    int model_;
};
