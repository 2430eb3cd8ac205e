#pragma once

// The firmware update procedure without any widget: from the confirmation
// through the file choice, a configuration backup, the loader switch, the
// XModem handshake and transfer, the wait for the new application and the
// check of the version it reports, to the record of the update date and
// the final reconnection that leaves the gauge at its SDI-12 settings
// whatever happened. Every step is reported to the view through the state
// it keeps (FirmwareUpdateView.h); the work area forwards its clicks here.
//
// Waits and pauses go through the installed clock and let the window
// process its messages, so the cancel button works while the procedure
// runs; a cancel takes effect at the next cancel test. During the transfer
// the adapter runs with its lowest receive latency, given back on every path.

#include "firmware/FirmwareUpdateView.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

class TSDIHandler;
class TUSBXModem;

namespace Firmware {

class FirmwareUpdateSequence {
public:
    FirmwareUpdateSequence(TSDIHandler& gauge, FirmwareUpdateView& view);
    ~FirmwareUpdateSequence();
    FirmwareUpdateSequence(const FirmwareUpdateSequence&) = delete;
    FirmwareUpdateSequence& operator=(const FirmwareUpdateSequence&) = delete;

    // The area opened for model: version strip and picture from the gauge.
    // Ignored while a procedure runs (its gauge traffic would disturb it).
    void ShowArea(int model);
    // Every row emptied, the result hidden, the progress at its minimum, the
    // cancel button disabled.
    void ResetView();
    // The procedure, from one click to its end. A click while it runs is ignored.
    void StartFirmwareUpdate();
    // The cancel button: the procedure stops at its next cancel test.
    void Cancel();
    // The language changed: titles that are one text alone follow it.
    void TranslateTexts();

    // Waits until "APPLICATION DONE" (models 1 and 2) or 8 s (model 0),
    // connects again and reads the version: true when it is the expected
    // one (models 1 and 2; an image without a version can never be
    // confirmed) or any version at all (model 0).
    bool VerifyNewFirmware(const QString& expectedVersion);

    const UpdateState& State() const { return state_; }
    int Model() const { return model_; }
    // Where configuration backups are saved (default: DefaultBackupFolder()).
    void SetBackupFolder(const QString& folder) { backupFolder_ = folder; }
    // The time used for the backup's name and the update date (default: now).
    void SetNow(std::function<QDateTime()> now) { now_ = std::move(now); }
    // Called once the transfer object exists, before the handshake (tests
    // and benchmarks watch the sender's log through it).
    void SetSenderHook(std::function<void(TUSBXModem&)> hook) { senderHook_ = std::move(hook); }

    // Longest wait for the new application, even while the loader keeps
    // printing dots (each of which renews the 15 s budget).
    static constexpr double LongestVerificationMs = 300000.0;

private:
    class Progress;
    // What one update carries from step to step.
    struct Run;
    // A step: its row, the row's title, what it does.
    struct Step;
    // How a step failed: what its row and the result panel then say.
    struct Failure;
    // Nothing when the step succeeded and the next one follows.
    using StepResult = std::optional<Failure>;

    // Steps 4 to 11, one row each; ends at the first failure (the caller
    // cleans up). True when every step succeeded.
    bool RunSteps(TUSBXModem& sender);
    StepResult Connection(Run& run);
    StepResult FileChoice(Run& run);
    StepResult LoaderSwitch(Run& run);
    StepResult Handshake(Run& run);
    StepResult Opening(Run& run);
    StepResult Transfer(Run& run);
    // Verification and closing.
    StepResult Verification(Run& run);
    // The one way out of a failed step.
    void Fail(const Failure& failure);
    // The cancel test's failure: "Cancelled by user!".
    Failure Cancelled() const;
    void BackUpConfiguration();
    // Step 13.
    void Final();

    void BeginRow(const Step& step);
    void SetRowTitle(int row, int titleTextId);
    void SetRowText(int row, const QString& text);
    void MarkCurrent(bool success);
    void SetBlinking(bool on);
    void ShowCurrentRow();
    void SetBusy(bool busy);
    // Result panel: text 173 or 174, CR LF, detail, then the notes so far.
    void ShowUpdateResult(bool success, const QString& detail);
    // A line added below the result's detail (the backup, a cause found).
    void AddNote(const QString& note);
    // A pause that keeps the window alive.
    void Pause(double ms);
    QDateTime Now() const;

    TSDIHandler& gauge_;
    FirmwareUpdateView& view_;
    UpdateState state_;
    int model_ = 0;
    QString fileName_;
    QString resultDetail_;
    QStringList notes_;
    bool loaderEntered_ = false;
    bool gaugeFound_ = false; // the connection step found a gauge
    std::string reportedVersion_;
    QString backupFolder_;
    std::function<QDateTime()> now_;
    std::function<void(TUSBXModem&)> senderHook_;
};

} // namespace Firmware
