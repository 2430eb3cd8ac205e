#pragma once

// Firmware update work area: the gauge picture, the version strip, seven
// step rows (the running one blinks), the progress bar with its label, the
// result panel and the start and cancel buttons. The procedure itself is
// FirmwareUpdateSequence; the frame builds the widgets, lays them out,
// mirrors what the sequence reports and forwards the clicks.

#include "firmware/FirmwareUpdateView.h"
#include "ui/WorkArea.h"

#include <QFrame>
#include <QTimer>
#include <array>
#include <memory>
#include <vector>

class QLabel;
class QProgressBar;
class QStatusBar;
class ImageControl;
class TAXO_TTNTPanelButton;
class TAXO_TTNTStatusPanel;
class TSDIHandler;

namespace Firmware {
class FirmwareUpdateSequence;
class UpdateInputGuard;
} // namespace Firmware

class TFirmwareupdateFrame : public QFrame, public WorkArea, public Firmware::FirmwareUpdateView {
    Q_OBJECT
public:
    // statusBar: the main window's status bar, whose text the area sets (may be null).
    TFirmwareupdateFrame(TSDIHandler& gauge, QStatusBar* statusBar, QWidget* parent = nullptr);
    ~TFirmwareupdateFrame() override;

    // The user opened the area for a gauge of model (GetModel's result).
    void ShowFirmwareArea(int model);
    void TranslateFirmwareArea();
    // The model the area was last opened for.
    int ShownModel() const;

    // WorkArea
    void ShowArea(int model) override { ShowFirmwareArea(model); }
    void TranslateArea() override { TranslateFirmwareArea(); }
    QWidget* AreaWidget() override { return this; }

    // FwStartButton and FwCancelButton.
    void StartFirmwareUpdate();
    void FwCancelButtonClick();
    // Every 1000 ms while a step runs: its row blinks.
    void BlinktimerTimer();

    Firmware::FirmwareUpdateSequence& Sequence() { return *sequence_; }
    const Firmware::UpdateState& State() const;

    // Components, named as in the program's other areas.
    QFrame* PicturePanel = nullptr;
    ImageControl* TessraImage = nullptr;
    QFrame* PictureStrip = nullptr;
    QFrame* VersionPanel = nullptr;
    QLabel* FWVersionLabel = nullptr;
    QFrame* StepPanel = nullptr;
    std::array<TAXO_TTNTStatusPanel*, Firmware::StepRowCount> StepRows{};
    QProgressBar* UpdateProgressBar = nullptr;
    QLabel* UpdateLabel = nullptr;
    QFrame* ResultPanel = nullptr;
    QLabel* ResultLabel = nullptr;
    ImageControl* ResultImage = nullptr;
    QLabel* ResultNotesLabel = nullptr;
    QFrame* ButtonPanel = nullptr;
    TAXO_TTNTPanelButton* FwStartButton = nullptr;
    TAXO_TTNTPanelButton* FwCancelButton = nullptr;
    QTimer Blinktimer;
    // Draws the progress bar and label as they are last, a few times a
    // second while a transfer moves them with every block.
    QTimer ProgressTimer;
    static constexpr double ProgressIntervalMs = 250;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // FirmwareUpdateView
    void AreaShown() override;
    void ViewReset() override;
    void RowBegun(int previous, int row) override;
    void RowChanged(int row) override;
    void BlinkingChanged() override;
    void CurrentRowShown() override;
    void ProgressChanged() override;
    void ResultShown() override;
    void CancelEnabledChanged() override;
    void BusyChanged() override;
    void RunningChanged() override;
    void Repaint() override;
    void BringToFront() override;
    void StatusText(const QString& text) override;

    void BuildWidgets();
    void LayoutArea();   // FirmwareupdateFrameLayout.cpp
    void LayoutResult(); // FirmwareupdateFrameLayout.cpp
    void SyncRow(int row);
    // The progress bar and label from the state, now.
    void ShowProgress();
    void SetButtonEnabled(TAXO_TTNTPanelButton* button, bool enabled);
    void Dirty(QWidget* widget);

    TSDIHandler& gauge_;
    QStatusBar* statusBar_;
    std::unique_ptr<Firmware::FirmwareUpdateSequence> sequence_;
    std::unique_ptr<Firmware::UpdateInputGuard> inputGuard_;
    std::vector<QWidget*> dirty_;
    double progressShownAt_ = -1e9;
};
