#pragma once

// Fixture for the configuration and service areas against the in-process
// simulated gauge on the manual clock: the link's module state is reset
// around every test, texts are English, dialogs are scripted.

#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "sim/SimBackend.h"
#include "support/ConnectedSimGauge.h"
#include "support/FolderSettingsGuard.h"
#include "support/LanguageScope.h"
#include "support/LinkStateGuard.h"
#include "support/ScriptedDialogs.h"
#include "ui/FolderSettings.h"
#include "ui/WideLanguageHandler.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <string>
#include <vector>

using Commands = std::vector<std::string>;

class ConfigOnSim : public ::testing::Test {
protected:
    void SetUp() override {
        ParamPath = folder.path() + QLatin1Char('/');
    }
    // One gauge of model, connected, its address known, its command record empty.
    SimGauge& ConnectedGauge(int model) { return ConnectSimGauge(backend, handler, model); }

    QString PathOf(const QString& name) const { return folder.filePath(name); }

    ManualClock clock;
    ScopedClock scopedClock{clock};
    FolderSettingsGuard folders;
    SimBackend backend;
    LinkStateGuard link{&backend};
    TSDIHandler handler;
    ScriptedDialogs dialogs;
    QTemporaryDir folder;
    LanguageScope english{OffsetEnglish};
};

// The commands with the date and time of "ODC" (now, on the PC) replaced by "*".
inline Commands Masked(const Commands& commands) {
    static const QRegularExpression stamp(QStringLiteral("^(0ODC).*(!)$"));
    Commands masked;
    for (const std::string& command : commands)
        masked.push_back(QString::fromStdString(command)
                             .replace(stamp, QStringLiteral("\\1*\\2"))
                             .toStdString());
    return masked;
}

// A setting written inside the configuration-write bracket.
inline Commands Bracketed(const std::string& command) {
    return {"0OOE0!", "0" + command, "0OOE1!"};
}

inline Commands& operator+=(Commands& commands, const Commands& more) {
    commands.insert(commands.end(), more.begin(), more.end());
    return commands;
}
