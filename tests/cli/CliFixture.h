#pragma once

// The command line run in-process against the simulated gauge on the manual
// clock: its output and messages are collected, the link's state, the
// folders and the language are restored after each test.

#include "cli/CliRun.h"
#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "logbook/TeamServerAddress.h"
#include "sim/SimBackend.h"
#include "support/FolderSettingsGuard.h"
#include "support/LanguageScope.h"
#include "support/LinkStateGuard.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

class CliOnSim : public ::testing::Test {
protected:
    // One simulated gauge of model behind the adapters the command line uses.
    SimGauge& AddGauge(int model = 1) {
        SimGauge::Settings settings;
        settings.model = model;
        return backend.AddGauge(settings);
    }

    // Runs tessra2-cli with arguments; Out() and Err() hold what it wrote.
    int Run(const QStringList& arguments, const QString& input = QString(),
            bool inputIsTerminal = false) {
        out.clear();
        err.clear();
        QString inputText = input;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        QTextStream inStream(&inputText);
        CliIo io{outStream, errStream};
        io.in = &inStream;
        io.inIsTerminal = inputIsTerminal;
        io.installedAdapters = &backend;
        io.backupFolder = folder.filePath(QStringLiteral("backups"));
        io.teamServerSetting = &teamServer;
        return RunCli(QStringList{QStringLiteral("tessra2-cli")} + arguments, io);
    }
    QStringList OutLines() const { return out.split(u'\n', Qt::SkipEmptyParts); }
    QString PathOf(const QString& name) const { return folder.filePath(name); }

    ManualClock clock{0.25};
    ScopedClock scopedClock{clock};
    FolderSettingsGuard folders;
    SimBackend backend;
    LinkStateGuard link{&backend};
    LanguageScope language{OffsetGerman};
    QTemporaryDir folder;
    // The team logbook's address is kept where the user's is not touched.
    struct TestTeamServer : TeamServerSetting {
        TestTeamServer()
            : TeamServerSetting(
                  QStringLiteral("Tessra2Tests"),
                  QStringLiteral("CliTeamServer%1").arg(QCoreApplication::applicationPid())) {
            Clear();
        }
        ~TestTeamServer() { Clear(); }
    } teamServer;
    QString out;
    QString err;
};
