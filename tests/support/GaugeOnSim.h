#pragma once

// Fixture for a work area against the in-process simulated gauge on the
// manual clock: the link's module state is reset around every test, the
// folder settings and the current folder are restored, texts are English,
// dialogs are scripted, and the local date and time is pinned.
//
//     class MyAreaTest : public GaugeOnSim {};
//     TEST_F(MyAreaTest, ...) {
//         SimGauge& gauge = ConnectedGauge(1);
//         ...
//     }

#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "sim/SimBackend.h"
#include "support/ConnectedSimGauge.h"
#include "support/FolderSettingsGuard.h"
#include "support/LanguageScope.h"
#include "support/LinkStateGuard.h"
#include "support/ScriptedDialogs.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class GaugeOnSim : public ::testing::Test {
protected:
    // One gauge of model, connected, its address known, its command record empty.
    SimGauge& ConnectedGauge(int model, char address = '0') {
        return ConnectSimGauge(backend, handler, model, address);
    }
    // The pinned local date and time; tests move it with Now = ...
    std::function<QDateTime()> PinnedNow() {
        return [this] { return Now; };
    }
    QString PathOf(const QString& name) const { return folder.filePath(name); }

    // The gauge's wire is simulated to the millisecond; a coarser poll step
    // keeps the waits for service requests short in real time.
    ManualClock clock{0.25};
    ScopedClock scopedClock{clock};
    FolderSettingsGuard folders;
    SimBackend backend;
    LinkStateGuard link{&backend};
    TSDIHandler handler;
    ScriptedDialogs dialogs;
    QTemporaryDir folder;
    LanguageScope english{OffsetEnglish};
    QDateTime Now{QDate(2014, 3, 5), QTime(14, 7, 9, 123)};
};
