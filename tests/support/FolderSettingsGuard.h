#pragma once

// Keeps the process-wide folder settings and the current folder as they
// were: a test that changes them (an export makes the chosen folder the
// current one) leaves nothing behind for the next test.

#include "ui/FolderSettings.h"

#include <QDir>
#include <QString>

class FolderSettingsGuard {
public:
    FolderSettingsGuard()
        : firmware_(FirmwarePath), value_(ValuePath), param_(ParamPath), report_(ReportPath),
          current_(QDir::currentPath()) {}
    ~FolderSettingsGuard() {
        FirmwarePath = firmware_;
        ValuePath = value_;
        ParamPath = param_;
        ReportPath = report_;
        QDir::setCurrent(current_);
    }
    FolderSettingsGuard(const FolderSettingsGuard&) = delete;
    FolderSettingsGuard& operator=(const FolderSettingsGuard&) = delete;

private:
    QString firmware_;
    QString value_;
    QString param_;
    QString report_;
    QString current_;
};
