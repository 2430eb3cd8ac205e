#pragma once

// The firmware update against the in-process simulated gauge on the manual
// clock: English texts, scripted dialogs (the confirmation and the file
// choice), the firmware folder, the backups and the images in a temporary
// folder, a view that records what the procedure reports and lets a test
// act at a given step (as the user would, with the cancel button).

#include "firmware/FirmwareUpdateSequence.h"
#include "firmware/FirmwareUpdateView.h"
#include "firmware/UpdateCancelled.h"
#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "sim/SimBackend.h"
#include "support/ConnectedSimGauge.h"
#include "support/FolderSettingsGuard.h"
#include "support/LanguageScope.h"
#include "support/LinkStateGuard.h"
#include "support/ScriptedDialogs.h"
#include "ui/FolderSettings.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using Commands = std::vector<std::string>;

struct RecordingView : Firmware::FirmwareUpdateView {
    std::vector<int> begun; // rows, in the order their steps began
    QStringList statusTexts;
    int results = 0;
    std::function<void(int row)> onRowBegun;
    std::function<void()> onProgress;
    std::function<void(const QString&)> onStatus;

    void RowBegun(int, int row) override {
        begun.push_back(row);
        if (onRowBegun)
            onRowBegun(row);
    }
    void ProgressChanged() override {
        if (onProgress)
            onProgress();
    }
    void ResultShown() override { ++results; }
    void StatusText(const QString& text) override {
        statusTexts << text;
        if (onStatus)
            onStatus(text);
    }
};

// The time of every update in these tests, as the gauge records it.
inline const QDateTime UpdateTime(QDate(2024, 5, 6), QTime(7, 8, 9));
inline const std::string UpdateStamp = "2024-05-06T07:08:09";

// An image file's bytes: identification and version in the 48-byte header,
// then a pattern up to size bytes.
inline QByteArray ImageBytes(const QByteArray& identification, const QByteArray& version,
                             qint64 size) {
    QByteArray image(size, '\0');
    for (qint64 i = 48; i < size; ++i)
        image[i] = static_cast<char>((i * 13 + i / 128) & 0xFF);
    image.replace(0, std::min<qint64>(identification.size(), size), identification.left(size));
    if (size > 16)
        image.replace(16, std::min<qint64>(version.size(), size - 16), version.left(size - 16));
    return image.left(size);
}

// The gauge, the link, the dialogs and the files of an update, without the
// area that runs it.
class FirmwareOnSim : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        UpdateCancelled = false;
        FirmwarePath = dir.path() + QLatin1Char('/');
    }
    void TearDown() override { UpdateCancelled = false; }
    // The backups and the clock of the procedure go to the test.
    void Prepare(Firmware::FirmwareUpdateSequence& sequence) {
        sequence.SetBackupFolder(dir.filePath(QStringLiteral("backups")));
        sequence.SetNow([] { return UpdateTime; });
    }

    // A connected gauge of model whose clock does not follow the PC's.
    SimGauge& ConnectedGauge(int model) {
        SimGauge& gauge = ConnectSimGauge(backend, handler, model);
        gauge.PinClock(UpdateTime.addSecs(-60), clock.Peek());
        model_ = model;
        return gauge;
    }

    QString WriteFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return path;
    }
    // A 1 KiB image of the kind models 1 and 2 take, announcing version.
    QString Image(const QByteArray& version, const QString& name = QStringLiteral("fw.bin")) {
        return WriteFile(name, ImageBytes("TESSRA2 S", version, 1024));
    }

    // The user's answers: the confirmation, then the file.
    void Answer(const QString& path, MsgResult answer = MsgResult::Yes) {
        dialogs.QueueMessageAnswer(answer);
        dialogs.QueueFileAnswer(path);
    }
    // The gauge answers at its SDI-12 settings, as after the final step.
    bool AnswersAgain(SimGauge& gauge) {
        return handler.Connected && !gauge.InLoader() && gauge.ProgramLine().baud == 1200 &&
               !handler.QueryAddress().empty();
    }
    static bool Sent(const SimGauge& gauge, const std::string& command) {
        for (const std::string& each : gauge.Commands())
            if (each == command)
                return true;
        return false;
    }

    ManualClock clock;
    ScopedClock scopedClock{clock};
    SimBackend backend;
    LinkStateGuard link{&backend};
    TSDIHandler handler;
    ScriptedDialogs dialogs;
    FolderSettingsGuard folders;
    LanguageScope english{OffsetEnglish};
    QTemporaryDir dir;
    int model_ = 0;
};

// The procedure alone, reporting to a recording view.
class FirmwareUpdateTest : public FirmwareOnSim {
protected:
    void SetUp() override {
        FirmwareOnSim::SetUp();
        Prepare(sequence);
    }
    // The user opens the area, confirms with answer and chooses path.
    void Run(const QString& path, MsgResult answer = MsgResult::Yes) {
        Answer(path, answer);
        sequence.ShowArea(model_);
        sequence.StartFirmwareUpdate();
    }
    const Firmware::UpdateState& State() const { return sequence.State(); }
    const Firmware::RowState& Row(int row) const {
        return State().rows[static_cast<std::size_t>(row)];
    }
    QString Result() const { return State().resultText; }

    RecordingView view;
    Firmware::FirmwareUpdateSequence sequence{handler, view};
};
