#include "terminal/TerminalFrame.h"

#include "ui/WideLanguageHandler.h"

TTerminalFrame::TTerminalFrame(TSDIHandler& gauge, QStatusBar* statusBar, QWidget* parent)
    : QFrame(parent), gauge_(gauge), statusBar_(statusBar) {
    setObjectName(QStringLiteral("TerminalFrame"));
    setStyleSheet(QStringLiteral("#TerminalFrame { background: white; }"));
}

void TTerminalFrame::TranslateTerminalArea() {
    TranslateComponents(this);
}
