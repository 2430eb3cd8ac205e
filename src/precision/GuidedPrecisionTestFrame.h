#pragma once

// Guided precision test work area. The main window creates it once and
// starts the test on each visit; the area itself is still to be built.

#include "ui/WorkArea.h"

#include <QFrame>

class TSDIHandler;

class TGuidedPrecisionTestFrame : public QFrame, public WorkArea {
    Q_OBJECT
public:
    explicit TGuidedPrecisionTestFrame(TSDIHandler& gauge, QWidget* parent = nullptr);

    void StartPrecisionTest(int model);
    void TranslatePrecisionTest();

    // WorkArea
    void ShowArea(int model) override { StartPrecisionTest(model); }
    void TranslateArea() override { TranslatePrecisionTest(); }
    QWidget* AreaWidget() override { return this; }

private:
    [[maybe_unused]] TSDIHandler& gauge_;
    int model_ = 0;
};
