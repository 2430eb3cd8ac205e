#include "precision/GuidedPrecisionTestFrame.h"

#include "ui/WideLanguageHandler.h"

TGuidedPrecisionTestFrame::TGuidedPrecisionTestFrame(TSDIHandler& gauge, QWidget* parent)
    : QFrame(parent), gauge_(gauge) {
    setObjectName(QStringLiteral("GuidedPrecisionTestFrame"));
    setStyleSheet(QStringLiteral("#GuidedPrecisionTestFrame { background: white; }"));
}

void TGuidedPrecisionTestFrame::StartPrecisionTest(int model) {
    model_ = model;
}

void TGuidedPrecisionTestFrame::TranslatePrecisionTest() {
    TranslateComponents(this);
}
