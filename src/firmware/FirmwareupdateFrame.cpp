#include "firmware/FirmwareupdateFrame.h"

#include "ui/WideLanguageHandler.h"

TFirmwareupdateFrame::TFirmwareupdateFrame(TSDIHandler& gauge, QStatusBar* statusBar,
                                           QWidget* parent)
    : QFrame(parent), gauge_(gauge), statusBar_(statusBar) {
    setObjectName(QStringLiteral("FirmwareupdateFrame"));
    setStyleSheet(QStringLiteral("#FirmwareupdateFrame { background: white; }"));
}

void TFirmwareupdateFrame::ShowFirmwareArea(int model) {
    model_ = model;
}

void TFirmwareupdateFrame::TranslateFirmwareArea() {
    TranslateComponents(this);
}
