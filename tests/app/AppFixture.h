#pragma once

// Fixture for the program's windows against the in-process simulated gauge
// on the manual clock: the link's module state is reset around every test,
// dialogs are scripted, the language is kept in a settings scope of the
// test's own (a private organisation name) and settings.ini in a
// temporary folder. Pending window messages are processed whenever the
// code under test asks for it through the clock.

#include "app/ConnectionFrame.h"
#include "app/Main.h"
#include "app/ProgramSettings.h"
#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "sim/SimBackend.h"
#include "support/FakeSystemTree.h"
#include "support/FolderSettingsGuard.h"
#include "support/LanguageScope.h"
#include "support/LinkStateGuard.h"
#include "support/ScriptedDialogs.h"
#include "ui/FolderSettings.h"
#include "ui/WideLanguageHandler.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using Commands = std::vector<std::string>;

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline bool Contains(const Commands& commands, const std::string& command) {
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

// A language store no real user has, removed again at the end.
class TestLanguageStore {
public:
    TestLanguageStore()
        : organisation_(QStringLiteral("Tessra2Tests-%1-%2")
                            .arg(QCoreApplication::applicationPid())
                            .arg(++counter_)),
          store_(organisation_, QStringLiteral("Tessra2Bediensoftware")) {}
    ~TestLanguageStore() {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, organisation_,
                           QStringLiteral("Tessra2Bediensoftware"));
        const QString file = settings.fileName();
        settings.clear();
        settings.sync();
        QFile::remove(file);
        QDir().rmdir(QFileInfo(file).absolutePath());
    }
    const LanguageStore& Store() const { return store_; }
    // Stores any value under the language's name (e.g. one that is no number).
    void WriteRaw(const QVariant& value) const {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, organisation_,
                           QStringLiteral("Tessra2Bediensoftware"));
        settings.setValue(QStringLiteral("Language/Offset"), value);
    }

private:
    static inline int counter_ = 0;
    QString organisation_;
    LanguageStore store_;
};

class AppOnSim : public ::testing::Test {
protected:
    void SetUp() override {
        clock.SetPollStepMs(0.05);
        clock.SetMessageHook([](void*) { QCoreApplication::processEvents(); }, nullptr);
        InstallGaugeTextSource();
    }
    void TearDown() override {
        window.reset();
        TSDIHandler::SetTextSource(nullptr);
    }

    SimGauge& AddGauge(int model) {
        SimGauge::Settings settings;
        settings.model = model;
        return backend.AddGauge(settings);
    }

    TTessra2ParamMainForm::Environment Environment() {
        TTessra2ParamMainForm::Environment environment{language.Store(),
                                                       chooseLanguage,
                                                       {SettingsPath(), SettingsPath()},
                                                       folder.path() + QLatin1Char('/')};
        return environment;
    }

    // The main window in English (stored before, so no selection window).
    TTessra2ParamMainForm& MakeWindow(int storedOffset = OffsetEnglish) {
        language.Store().Write(storedOffset);
        window = std::make_unique<TTessra2ParamMainForm>(Environment());
        window->show();
        return *window;
    }

    TAXO_TTNTPanel* Tile(int index) const { return window->Tile(index); }

    // A click on the connect tile, then the delayed read as its timer would run it.
    void ConnectAndRead() {
        window->Navigate(Tile(TTessra2ParamMainForm::ConnectTile));
        window->ConnectionArea->ReadTimer.stop();
        window->ConnectionArea->ReadTimerTimer();
    }

    QString SettingsPath() const { return folder.filePath(QStringLiteral("settings.ini")); }

    ManualClock clock;
    ScopedClock scopedClock{clock};
    FolderSettingsGuard folders;
    SimBackend backend;
    LinkStateGuard link{&backend};
    ScriptedDialogs dialogs;
    QTemporaryDir folder;
    TestLanguageStore language;
    std::function<int()> chooseLanguage;
    std::unique_ptr<TTessra2ParamMainForm> window;
    LanguageScope languageScope{LanguageOffset}; // the window changes it
};
