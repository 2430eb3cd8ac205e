#pragma once

// Firmware update work area: loads a new firmware image into the gauge.
// The main window creates it once and calls the operations below; the area
// itself is still to be built.

#include "ui/WorkArea.h"

#include <QFrame>

class QStatusBar;
class TSDIHandler;

class TFirmwareupdateFrame : public QFrame, public WorkArea {
    Q_OBJECT
public:
    // statusBar: the main window's status bar, whose text the area sets.
    TFirmwareupdateFrame(TSDIHandler& gauge, QStatusBar* statusBar, QWidget* parent = nullptr);

    void ShowFirmwareArea(int model);
    void TranslateFirmwareArea();
    // The model the area was last opened for.
    int ShownModel() const { return model_; }

    // WorkArea
    void ShowArea(int model) override { ShowFirmwareArea(model); }
    void TranslateArea() override { TranslateFirmwareArea(); }
    QWidget* AreaWidget() override { return this; }

private:
    [[maybe_unused]] TSDIHandler& gauge_;
    [[maybe_unused]] QStatusBar* statusBar_;
    int model_ = 0;
};
