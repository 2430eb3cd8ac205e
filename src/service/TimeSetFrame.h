#pragma once

// Clock panel: shows the gauge's clock running and sets it to a chosen
// date and time or to the PC's time. The connection area creates it once,
// sizes it to 500 x 180, centres it and calls InitalizeFrame each time the
// technician opens it; the panel hides itself when closed.

#include "service/DeviceClock.h"

#include <QDateTime>
#include <QFrame>
#include <QTimer>
#include <array>
#include <functional>

class QDateEdit;
class QLabel;
class QTimeEdit;
class TAXO_TTNTPanelButton;
class TSDIHandler;

class TTimeSetFrame : public QFrame {
    Q_OBJECT
public:
    static constexpr int PanelWidth = 500;
    static constexpr int PanelHeight = 180;

    // gauge may be null: reading then shows nothing new and writing fails.
    explicit TTimeSetFrame(TSDIHandler* gauge, QWidget* parent = nullptr);

    // Every opening: stops the clock, reads the gauge clock, sets the time to
    // set to the PC's time, creates the buttons once, styles and translates.
    void InitalizeFrame();
    void RefreshClockTexts();

    // 0 read, 1 write, 2 sync with the PC's time.
    void ActionButtonClick(int button);
    void ReadDeviceClock();
    // synchronised: to the computer's time, else to the chosen one.
    void WriteDeviceClock(bool synchronised = false);
    void CloseLabelClick();
    void ControlPanelClick();
    void ClockTickTimer();

    // The PC's local date and time (replaceable for tests).
    void SetWallClock(std::function<QDateTime()> now) { now_ = std::move(now); }

    // Components.
    QFrame* TitlePanel;
    QLabel* TitleLabel;
    QLabel* CloseLabel;
    QFrame* CurrentTimePanel;
    QLabel* Tessra2TimeLabel;
    QDateEdit* ReadDatePicker;
    QTimeEdit* ReadTimePicker;
    QFrame* NewTimePanel;
    QLabel* SetTimeLabel;
    QDateEdit* WriteDatePicker;
    QTimeEdit* WriteTimePicker;
    QFrame* ControlPanel;
    QTimer ClockTick;

    // The three action buttons, null until the first InitalizeFrame.
    TAXO_TTNTPanelButton* ActionButton(int index) const;
    // Date and time the gauge-clock pickers show.
    QDateTime ShownDeviceClock() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActionButtons();
    void StyleControls();
    void ShowDeviceClock(const QDateTime& when);
    void SetTimeToSet(const QDateTime& when);
    void Relayout();
    void LayoutHalf(QFrame* half, QLabel* label, QWidget* datePicker, QWidget* timePicker);

    DeviceClock clock_;
    std::function<QDateTime()> now_;
    std::array<TAXO_TTNTPanelButton*, 3> buttons_{};
};
