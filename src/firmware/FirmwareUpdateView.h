#pragma once

// What the firmware update shows, without any widget: the version strip,
// the gauge picture, the seven step rows with the running one, the progress
// bar and its label, and the result panel. The update sequence keeps this
// state and tells its view what changed; the work area mirrors it in its
// widgets, a test or a benchmark may just read it.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace Firmware {

// The step rows, top to bottom.
enum StepRow : int {
    ConnectionRow,   // "Establish connection..."
    FileRow,         // "Loading firmware file..."
    LoaderRow,       // "Firmware update being initialized"
    HandshakeRow,    // "Initializing Axo Tessra2" + the model
    OpeningRow,      // "Transfer being prepared"
    TransferRow,     // "Transfer in progress!"
    VerificationRow, // "Checking firmware..."
};
constexpr int StepRowCount = 7;
constexpr int NoRow = -1;

enum class Mark { None, Success, Failure };

struct RowState {
    QString title;
    int titleTextId = 0; // the title's text id when it is one text alone, else 0
    QString text;
    Mark mark = Mark::None;
};

enum class GaugePicture { Tessra2S, Tessra2_400, Tessra2_200 };

struct UpdateState {
    std::array<RowState, StepRowCount> rows;
    int currentRow = NoRow; // the running step's row; none before the first update
    bool blinking = false;  // the running step's row blinks
    bool cancelEnabled = false;
    bool running = false; // a procedure is under way
    bool busy = false;    // hourglass cursor

    // Version strip: text 130 and what the gauge reported (empty: unknown),
    // then the version the chosen file announces.
    QString gaugeVersion;
    QString expectedVersion;
    GaugePicture picture = GaugePicture::Tessra2_400;

    std::int64_t progressMaximum = 0;
    std::int64_t progressPosition = 0;
    QString progressLabel = QStringLiteral("0 / 0");

    bool resultShown = false;
    bool resultSuccess = false;
    // Text 173 or 174, CR LF, the detail and any notes, each on its own line.
    QString resultText;
    // Its parts: text 173 or 174, CR LF, the detail; then the lines after the
    // detail (the backup, and the causes the procedure found).
    QString resultLine;
    QStringList resultNotes;

    // The configuration backup of the last update: the file written (empty
    // when none was) and, when it failed, why.
    QString backupFile;
    QString backupFailure;
};

// The version strip's text: "Version: V1.31.0", "Version: UNKOWN", with
// " -> " and the file's version once a file announcing one was chosen.
QString VersionCaption(const UpdateState& state);

class FirmwareUpdateView {
public:
    virtual ~FirmwareUpdateView() = default;
    // The version strip or the picture changed.
    virtual void AreaShown() {}
    // Every row emptied, the result hidden, the progress at its minimum.
    virtual void ViewReset() {}
    // A step began: previous (NoRow for none) is visible again, the new
    // current row has its title.
    virtual void RowBegun(int /*previous*/, int /*row*/) {}
    // A row's title, text or mark changed.
    virtual void RowChanged(int /*row*/) {}
    // The running step's row stops or starts blinking.
    virtual void BlinkingChanged() {}
    // The current row is made visible (it may have been hidden by a blink).
    virtual void CurrentRowShown() {}
    // The progress bar or its label moved; during a transfer with every
    // block, so a view draws it at its own pace (Repaint draws it at once).
    virtual void ProgressChanged() {}
    virtual void ResultShown() {}
    virtual void CancelEnabledChanged() {}
    virtual void BusyChanged() {}
    // A procedure starts or has ended.
    virtual void RunningChanged() {}
    // Draw what changed now: the procedure does not return to the event loop.
    virtual void Repaint() {}
    virtual void BringToFront() {}
    // A line for the main window's status bar (empty clears it).
    virtual void StatusText(const QString& /*text*/) {}
};

} // namespace Firmware
