#include "measurement/MeasurementFrame.h"

#include "ui/WideLanguageHandler.h"

TMeasurementFrame::TMeasurementFrame(TSDIHandler& gauge, int model, QStatusBar* statusBar,
                                     QWidget* parent)
    : QFrame(parent), gauge_(gauge), statusBar_(statusBar), model_(model) {
    setObjectName(QStringLiteral("MeasurementFrame"));
    setStyleSheet(QStringLiteral("#MeasurementFrame { background: white; }"));
}

void TMeasurementFrame::ShowMeasurementArea(int model) {
    model_ = model;
}

void TMeasurementFrame::ResetMeasurementArea() {
    model_ = -5;
}

void TMeasurementFrame::TranslateMeasurementArea() {
    TranslateComponents(this);
}
