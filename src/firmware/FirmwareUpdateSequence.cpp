#include "firmware/FirmwareUpdateSequence.h"

#include "firmware/ConfigurationBackup.h"
#include "firmware/FirmwareImage.h"
#include "firmware/USBXModemUnit.h"
#include "firmware/UpdateCancelled.h"
#include "firmware/XModemProgress.h"
#include "gauge/SDIHandler.h"
#include "link/ByteText.h"
#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "logbook/KnownGauge.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookEvents.h"
#include "ui/Dialogs.h"
#include "ui/FolderSettings.h"
#include "ui/GaugeVocabulary.h"
#include "ui/WideLanguageHandler.h"

#include <QFileInfo>
#include <algorithm>
#include <optional>

namespace Firmware {

namespace {

// Texts of the procedure.
constexpr int EstablishConnectionText = 11;
constexpr int ConnectedText = 12;
constexpr int VersionText = 130;
constexpr int LoaderTitleText = 162;
constexpr int InitializingText = 163;
constexpr int CancelledText = 164;
constexpr int InitializedText = 165;
constexpr int DirectUpdateText = 166;
constexpr int PreparingText = 167;
constexpr int SynchronizedText = 170;
constexpr int FileNotOpenedText = 171;
constexpr int SucceededText = 173;
constexpr int FailedText = 174;
constexpr int TransferText = 175;
constexpr int ConfirmText = 177;
constexpr int OkText = 191;
constexpr int NoHandshakeText = 211;
constexpr int LoadingFileText = 559;
constexpr int UploadFinishedText = 620;
constexpr int CheckingText = 621;
constexpr int ClosingText = 622;
// Texts of the backup and of the causes the procedure finds.
constexpr int BackupReadingText = 740;
constexpr int BackupSavedText = 741;
constexpr int BackupFailedText = 742;
constexpr int TooLargeText = 746;
constexpr int EmptyImageText = 747;
constexpr int ReportedVersionText = 748;
constexpr int NoIdentificationText = 749;
constexpr int DateNotRecordedText = 750;
constexpr int NotAnsweringText = 751;
constexpr int AdapterLostText = 752;

constexpr double FileChosenPauseMs = 500;
constexpr int LoaderStartPasses = 501;
constexpr double LoaderStartPassMs = 10;
constexpr double StepPauseMs = 1000;
constexpr double VersionShownPauseMs = 3000;
constexpr double ClosingPauseMs = 1500;
constexpr double VerifyPassMs = 100;
constexpr double DotBudgetMs = 15000;
constexpr int Model0VerifyPasses = 80;
constexpr std::uint32_t Model0Speed = 4800;
constexpr std::uint32_t FastSpeed = 115200;
// What the verification keeps of the loader's output: enough to find the
// greeting across two passes, without growing while the loader babbles.
constexpr std::size_t CollectedTail = 4096;
const std::string ApplicationDone = "APPLICATION DONE";

const QString FileFilter = QStringLiteral("Firmware files (*.bin *.BIN)");

// The request for the lowest receive latency, ended on every path.
class LowLatencyScope {
public:
    LowLatencyScope() { D2XXDriver::RequestLowLatency(true); }
    ~LowLatencyScope() { D2XXDriver::RequestLowLatency(false); }
    LowLatencyScope(const LowLatencyScope&) = delete;
    LowLatencyScope& operator=(const LowLatencyScope&) = delete;
};

} // namespace

QString VersionCaption(const UpdateState& state) {
    QString caption =
        GetText(VersionText) + u' ' +
        (state.gaugeVersion.isEmpty() ? QStringLiteral("UNKOWN") : state.gaugeVersion);
    if (!state.expectedVersion.isEmpty())
        caption += QStringLiteral(" -> ") + state.expectedVersion;
    return caption;
}

// The progress bar and label as the XModem sender moves them.
class FirmwareUpdateSequence::Progress final : public XModemProgress {
public:
    explicit Progress(FirmwareUpdateSequence& owner) : owner_(owner) {}
    void SetMaximum(std::int64_t maximum) override {
        owner_.state_.progressMaximum = maximum;
        owner_.view_.ProgressChanged();
    }
    void SetPosition(std::int64_t position) override {
        owner_.state_.progressPosition = position;
        owner_.view_.ProgressChanged();
    }
    void SetLabel(const QString& text) override {
        owner_.state_.progressLabel = text;
        owner_.view_.ProgressChanged();
    }
    // Asked for after every block: the view draws the progress on its own,
    // as the sender lets the window process its messages in every wait.
    // Drawing here would put the drawing between an acknowledgement and
    // the next block.
    void Repaint() override {}

private:
    FirmwareUpdateSequence& owner_;
};

struct FirmwareUpdateSequence::Run {
    explicit Run(TUSBXModem& transfer) : sender(transfer) {}
    TUSBXModem& sender;
    std::uint32_t speed = 0; // of the loader and the transfer
    std::int64_t imageBytes = 0;
    // From the loader switch until the transfer ends the adapter hands on
    // every byte at once.
    std::optional<LowLatencyScope> lowLatency;
};

struct FirmwareUpdateSequence::Step {
    StepRow row;
    int titleText;
    bool withModel;    // the title goes on with the model's name
    bool retranslated; // the title follows a change of language
    StepResult (FirmwareUpdateSequence::*run)(Run&);
};

struct FirmwareUpdateSequence::Failure {
    explicit Failure(QString text) : detail(std::move(text)) {}
    QString detail;         // the result panel's detail
    int rowTitle = 0;       // the failed row's new title (text id); 0: it keeps its own
    bool marked = true;     // the row gets the failure mark (a cancel is no failure of a step)
    bool dialog = false;    // the detail also in an error dialog, once the row says it
    bool pause = false;     // the failed row stays on screen for a moment before the result
    bool closeLink = false; // the adapter is closed (the final step opens it again)
    bool front = false;     // the area comes to the front for the result
};

FirmwareUpdateSequence::FirmwareUpdateSequence(TSDIHandler& gauge, FirmwareUpdateView& view)
    : gauge_(gauge), view_(view), backupFolder_(DefaultBackupFolder()) {}

FirmwareUpdateSequence::~FirmwareUpdateSequence() = default;

QDateTime FirmwareUpdateSequence::Now() const {
    return now_ ? now_() : QDateTime::currentDateTime();
}

void FirmwareUpdateSequence::ShowArea(int model) {
    if (state_.running)
        return;
    TheClock().ProcessMessages();
    model_ = model;
    // The version the gauge reports; the last file's belongs to the update that is over.
    state_.expectedVersion.clear();
    state_.gaugeVersion = QString::fromLatin1(gauge_.GetFirmwareVersion());
    if (model == ModelTessra2S)
        state_.picture = GaugePicture::Tessra2S;
    else
        state_.picture =
            gauge_.GetGaugeType() != 0 ? GaugePicture::Tessra2_400 : GaugePicture::Tessra2_200;
    view_.AreaShown();
}

void FirmwareUpdateSequence::ResetView() {
    state_.cancelEnabled = false;
    for (RowState& row : state_.rows)
        row = RowState{};
    state_.resultShown = false;
    state_.progressPosition = 0;
    view_.CancelEnabledChanged();
    view_.ViewReset();
}

void FirmwareUpdateSequence::Cancel() {
    UpdateCancelled = true;
    TheClock().ProcessMessages();
    state_.cancelEnabled = false;
    view_.CancelEnabledChanged();
}

void FirmwareUpdateSequence::TranslateTexts() {
    for (RowState& row : state_.rows)
        if (row.titleTextId > 0)
            row.title = GetText(row.titleTextId);
}

void FirmwareUpdateSequence::BeginRow(const Step& step) {
    SetBlinking(false);
    const int previous = state_.currentRow;
    const int row = step.row;
    state_.currentRow = row;
    RowState& shown = state_.rows[static_cast<std::size_t>(row)];
    shown.title = GetText(step.titleText);
    if (step.withModel)
        shown.title += u' ' + Vocabulary::ModelName(model_);
    shown.titleTextId = step.retranslated ? step.titleText : 0;
    view_.RowBegun(previous, row);
    SetBlinking(true);
    view_.Repaint();
}

void FirmwareUpdateSequence::SetRowTitle(int row, int titleTextId) {
    state_.rows[static_cast<std::size_t>(row)].title = GetText(titleTextId);
    state_.rows[static_cast<std::size_t>(row)].titleTextId = titleTextId;
    view_.RowChanged(row);
}

void FirmwareUpdateSequence::SetRowText(int row, const QString& text) {
    state_.rows[static_cast<std::size_t>(row)].text = text;
    view_.RowChanged(row);
}

void FirmwareUpdateSequence::MarkCurrent(bool success) {
    if (state_.currentRow == NoRow)
        return;
    state_.rows[static_cast<std::size_t>(state_.currentRow)].mark =
        success ? Mark::Success : Mark::Failure;
    view_.RowChanged(state_.currentRow);
}

void FirmwareUpdateSequence::SetBlinking(bool on) {
    if (state_.blinking == on)
        return;
    state_.blinking = on;
    view_.BlinkingChanged();
}

void FirmwareUpdateSequence::ShowCurrentRow() {
    if (state_.currentRow != NoRow)
        view_.CurrentRowShown();
}

void FirmwareUpdateSequence::SetBusy(bool busy) {
    if (state_.busy == busy)
        return;
    state_.busy = busy;
    view_.BusyChanged();
}

void FirmwareUpdateSequence::ShowUpdateResult(bool success, const QString& detail) {
    state_.resultShown = true;
    state_.resultSuccess = success;
    resultDetail_ = detail;
    state_.resultLine =
        GetText(success ? SucceededText : FailedText) + QStringLiteral("\r\n") + detail;
    state_.resultNotes = notes_;
    QString text = state_.resultLine;
    for (const QString& note : notes_)
        text += QStringLiteral("\r\n") + note;
    state_.resultText = text;
    view_.ResultShown();
}

void FirmwareUpdateSequence::AddNote(const QString& note) {
    notes_ << note;
    if (state_.resultShown)
        ShowUpdateResult(state_.resultSuccess, resultDetail_);
}

void FirmwareUpdateSequence::Pause(double ms) {
    Clock& clock = TheClock();
    const double end = clock.NowMs() + ms;
    for (;;) {
        clock.ProcessMessages();
        const double now = clock.NowMs();
        if (now >= end)
            return;
        clock.SleepMs(std::min(LoaderStartPassMs, end - now));
    }
}

void FirmwareUpdateSequence::StartFirmwareUpdate() {
    if (state_.running)
        return;
    // 1. A fresh view; the version strip and the picture read again.
    ResetView();
    state_.expectedVersion.clear();
    ShowArea(model_);
    state_.running = true;
    view_.RunningChanged();
    notes_.clear();
    fileName_.clear();
    state_.backupFile.clear();
    state_.backupFailure.clear();
    loaderEntered_ = false;
    gaugeFound_ = false;
    reportedVersion_.clear();
    UpdateCancelled = false;
    state_.cancelEnabled = true;
    view_.CancelEnabledChanged();
    SetBlinking(true);

    // 2. Confirmation.
    view_.BringToFront();
    if (ShowMessageDialog(GetText(ConfirmText), MsgKind::Warning, MsgButtons::YesNo) !=
        MsgResult::Yes) {
        ShowUpdateResult(false, GetText(CancelledText));
    } else {
        // 3. The transfer object of this update.
        SetBusy(true);
        const QString versionBefore = state_.gaugeVersion;
        bool updated = false;
        {
            TUSBXModem sender;
            updated = RunSteps(sender);
        }
        // 12. Clean-up.
        SetBusy(false);
        // An update that got as far as an image is kept in the logbook.
        if (!fileName_.isEmpty())
            ReportToLogbook(FirmwareUpdated(
                KnownGauge(gauge_),
                {fileName_, versionBefore, Latin1Text(reportedVersion_),
                 updated ? UpdateOutcome::Succeeded
                         : (UpdateCancelled ? UpdateOutcome::Cancelled : UpdateOutcome::Failed),
                 state_.backupFile}));
    }
    Final();
}

bool FirmwareUpdateSequence::RunSteps(TUSBXModem& sender) {
    using S = FirmwareUpdateSequence;
    static const Step steps[] = {
        {ConnectionRow, EstablishConnectionText, false, true, &S::Connection},
        {FileRow, LoadingFileText, false, true, &S::FileChoice},
        {LoaderRow, LoaderTitleText, false, true, &S::LoaderSwitch},
        {HandshakeRow, InitializingText, true, false, &S::Handshake},
        {OpeningRow, PreparingText, false, true, &S::Opening},
        {TransferRow, TransferText, false, true, &S::Transfer},
        {VerificationRow, CheckingText, false, false, &S::Verification},
    };
    Run run(sender);
    for (const Step& step : steps) {
        BeginRow(step);
        if (const StepResult failed = (this->*step.run)(run)) {
            Fail(*failed);
            return false;
        }
    }
    return true;
}

FirmwareUpdateSequence::Failure FirmwareUpdateSequence::Cancelled() const {
    Failure cancelled(GetText(CancelledText));
    cancelled.marked = false;
    return cancelled;
}

void FirmwareUpdateSequence::Fail(const Failure& failure) {
    if (failure.rowTitle > 0)
        SetRowTitle(state_.currentRow, failure.rowTitle);
    if (failure.marked)
        MarkCurrent(false);
    if (failure.dialog)
        ShowMessageDialog(failure.detail, MsgKind::Error, MsgButtons::Ok);
    if (failure.pause)
        Pause(StepPauseMs);
    if (failure.closeLink)
        gauge_.Disconnect();
    if (failure.front)
        view_.BringToFront();
    ShowUpdateResult(false, failure.detail);
}

// 4. Connection: the procedure goes on without a gauge as well.
FirmwareUpdateSequence::StepResult FirmwareUpdateSequence::Connection(Run&) {
    if (gauge_.Connected || SDI12IO::PortConnected) {
        SetRowText(ConnectionRow, GetText(ConnectedText));
        gaugeFound_ = true;
    } else if (gauge_.Connect()) {
        gauge_.QueryAddress();
        gaugeFound_ = true;
    }
    MarkCurrent(gaugeFound_);
    view_.Repaint();
    if (UpdateCancelled)
        return Cancelled();
    return {};
}

// 5. File choice, and the configuration backup before the gauge leaves its
// application (not for an update that was cancelled meanwhile).
FirmwareUpdateSequence::StepResult FirmwareUpdateSequence::FileChoice(Run& run) {
    FileDialogRequest request;
    request.filter = FileFilter;
    request.folder = FirmwarePath;
    const QString path = Dialogs().OpenFile(request);
    if (path.isEmpty()) {
        Failure notChosen = Cancelled();
        notChosen.rowTitle = FileNotOpenedText;
        notChosen.marked = true;
        return notChosen;
    }
    FirmwarePath = FolderOf(path);
    fileName_ = path;
    SetRowText(FileRow, ShownFileName(path));
    // Nothing that large is a gauge's image: refused before anything is sent.
    const QFileInfo file(path);
    if (file.exists() && IsTooLarge(file.size())) {
        Failure tooLarge(
            GetText(TooLargeText).arg(file.fileName()).arg(QString::number(file.size())));
        tooLarge.rowTitle = FileNotOpenedText;
        tooLarge.dialog = true;
        return tooLarge;
    }
    MarkCurrent(true);
    view_.Repaint();
    state_.expectedVersion = ReadFileVersion(path);
    if (!state_.expectedVersion.isEmpty())
        view_.AreaShown();
    Pause(FileChosenPauseMs);
    run.speed = model_ == ModelTessra2 ? Model0Speed : FastSpeed;
    if (!UpdateCancelled)
        BackUpConfiguration();
    return {};
}

// 6. Loader switch: without its confirmation the update is tried directly.
FirmwareUpdateSequence::StepResult FirmwareUpdateSequence::LoaderSwitch(Run& run) {
    if (UpdateCancelled)
        return Cancelled();
    loaderEntered_ = true;
    const bool switched = gauge_.SetTransferRate(run.speed);
    run.lowLatency.emplace();
    SetRowText(LoaderRow, GetText(switched ? InitializedText : DirectUpdateText));
    MarkCurrent(switched);
    if (UpdateCancelled)
        return Cancelled();
    return {};
}

// 7. Handshake. A cancel during the loader's start or the handshake ends
// the handshake; it is reported as the handshake that did not happen.
FirmwareUpdateSequence::StepResult FirmwareUpdateSequence::Handshake(Run& run) {
    Clock& clock = TheClock();
    clock.ProcessMessages();
    run.sender.OnLog = [this](const std::string& text) {
        SetRowText(state_.currentRow, QString::fromUtf8(text));
        view_.Repaint();
    };
    if (senderHook_)
        senderHook_(run.sender);
    // The loader starts.
    for (int pass = 0; pass < LoaderStartPasses && !UpdateCancelled; ++pass) {
        clock.SleepMs(LoaderStartPassMs);
        clock.ProcessMessages();
    }
    if (UpdateCancelled || !run.sender.SynchronizeReceiver()) {
        if (run.sender.PortLost() && gaugeFound_)
            AddNote(GetText(AdapterLostText));
        Failure noHandshake(GetText(NoHandshakeText));
        noHandshake.rowTitle = NoHandshakeText;
        noHandshake.pause = true;
        noHandshake.closeLink = true;
        noHandshake.front = true;
        return noHandshake;
    }
    SetRowText(HandshakeRow, GetText(SynchronizedText));
    MarkCurrent(true);
    view_.Repaint();
    Pause(StepPauseMs);
    return {};
}

// 8. Opening the file for the transfer.
FirmwareUpdateSequence::StepResult FirmwareUpdateSequence::Opening(Run& run) {
    if (UpdateCancelled)
        return Cancelled();
    if (!run.sender.OpenFirmwareFile(fileName_)) {
        Failure notOpened(GetText(FileNotOpenedText));
        notOpened.rowTitle = FileNotOpenedText;
        notOpened.pause = true;
        notOpened.closeLink = true;
        return notOpened;
    }
    run.imageBytes = run.sender.FileSize;
    SetRowText(OpeningRow, GetText(OkText));
    MarkCurrent(true);
    return {};
}

// 9. Transfer.
FirmwareUpdateSequence::StepResult FirmwareUpdateSequence::Transfer(Run& run) {
    if (UpdateCancelled)
        return Cancelled();
    Progress progress(*this);
    const bool sent = run.sender.SendFirmwareFile(&progress);
    run.lowLatency.reset();
    if (!sent) {
        Failure failed = UpdateCancelled ? Cancelled() : Failure(GetText(FailedText));
        failed.closeLink = true;
        failed.front = true;
        if (!UpdateCancelled && run.sender.PortLost())
            AddNote(GetText(AdapterLostText));
        return failed;
    }
    SetBlinking(false);
    MarkCurrent(true);
    SetRowText(TransferRow, GetText(UploadFinishedText));
    view_.Repaint();
    ShowCurrentRow();
    return {};
}

// 10 and 11. The image is in the gauge by now: the check tells what the
// gauge holds, and a confirmed version closes the procedure.
FirmwareUpdateSequence::StepResult FirmwareUpdateSequence::Verification(Run& run) {
    Clock& clock = TheClock();
    const QString expected = state_.expectedVersion;
    bool confirmed = VerifyNewFirmware(expected);
    // An empty image changed nothing, whatever the gauge reports afterwards.
    if (run.imageBytes == 0) {
        confirmed = false;
        AddNote(GetText(EmptyImageText));
    }
    if (!confirmed) {
        if (run.imageBytes > 0) {
            if (model_ != ModelTessra2 && expected.isEmpty())
                AddNote(GetText(NoIdentificationText));
            AddNote(GetText(ReportedVersionText)
                        .arg(reportedVersion_.empty() ? QStringLiteral("-")
                                                      : QString::fromLatin1(reportedVersion_)));
        }
        Failure notConfirmed(GetText(FailedText));
        notConfirmed.closeLink = true;
        notConfirmed.front = true;
        return notConfirmed;
    }
    SetBlinking(false);
    ShowCurrentRow();
    MarkCurrent(true);
    const QString shown = expected.isEmpty() ? QString::fromLatin1(reportedVersion_) : expected;
    SetRowText(VerificationRow, GetText(VersionText) + shown);
    clock.ProcessMessages();
    Pause(VersionShownPauseMs);
    view_.Repaint();
    SetRowText(VerificationRow, GetText(ClosingText));
    clock.ProcessMessages();
    if (!gauge_.SetLastFirmwareUpdateDate(Now()))
        AddNote(GetText(DateNotRecordedText));
    // The pause before the result keeps the adapter open, so the main
    // window's connection watch does not take it for a lost gauge.
    Pause(ClosingPauseMs);
    gauge_.Disconnect();
    ShowUpdateResult(true, QString());
    view_.Repaint();
    return {};
}

void FirmwareUpdateSequence::BackUpConfiguration() {
    state_.progressLabel = GetText(BackupReadingText);
    view_.ProgressChanged();
    view_.StatusText(state_.progressLabel);
    view_.Repaint();
    const BackupResult backup = SaveConfigurationBackup(gauge_, model_, backupFolder_, Now());
    QString line;
    if (backup.saved) {
        state_.backupFile = backup.file;
        line = GetText(BackupSavedText).arg(backup.file);
    } else {
        state_.backupFailure = backup.failure;
        line = GetText(BackupFailedText).arg(backup.failure);
    }
    state_.progressLabel = line;
    view_.ProgressChanged();
    view_.StatusText(line);
    view_.Repaint();
    AddNote(line);
}

// The image is in the gauge by now: a cancel cannot undo it, so the wait
// and the check run on and tell what the gauge holds.
bool FirmwareUpdateSequence::VerifyNewFirmware(const QString& expectedVersion) {
    Clock& clock = TheClock();
    const double start = clock.NowMs();
    if (model_ > ModelTessra2) {
        std::string collected;
        double budget = DotBudgetMs;
        for (;;) {
            clock.SleepMs(VerifyPassMs);
            clock.ProcessMessages();
            std::string fresh;
            gauge_.ReadPending(fresh);
            collected += fresh;
            if (collected.size() > CollectedTail)
                collected.erase(0, collected.size() - CollectedTail);
            if (UpperAscii(collected).find(ApplicationDone) != std::string::npos)
                break;
            budget -= VerifyPassMs;
            if (fresh.find('.') != std::string::npos)
                budget = DotBudgetMs;
            if (budget <= 0 || clock.NowMs() - start >= LongestVerificationMs)
                break;
        }
    } else {
        for (int pass = 0; pass < Model0VerifyPasses; ++pass) {
            clock.SleepMs(VerifyPassMs);
            clock.ProcessMessages();
        }
    }
    // The adapter just updated, with the SDI-12 settings again.
    gauge_.Reconnect();
    reportedVersion_ = gauge_.GetFirmwareVersion();
    if (model_ > ModelTessra2)
        return !expectedVersion.isEmpty() &&
               QString::fromLatin1(reportedVersion_) == expectedVersion;
    return !reportedVersion_.empty();
}

void FirmwareUpdateSequence::Final() {
    view_.Repaint();
    SetBlinking(false);
    ShowCurrentRow();
    SetBusy(false);
    gauge_.Disconnect();
    // The adapter this update used (when there was one), without asking again.
    const bool connected = gauge_.Reconnect();
    const bool answers = connected && !gauge_.QueryAddress().empty();
    if (!answers && loaderEntered_ && gaugeFound_)
        AddNote(GetText(NotAnsweringText));
    view_.StatusText(QString());
    state_.running = false;
    view_.RunningChanged();
}

} // namespace Firmware
