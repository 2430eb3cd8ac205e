#pragma once

// The wait dialog: a small modal window that counts a waiting time down in
// whole seconds and, in the second part of the countdown, reads the
// gauge's bucket every six seconds until five good readings are collected;
// it then closes and hands their mean to its caller.
//
// TWaitCountdown is the countdown without any widget (the window's Timer1
// tick is its Timer1Timer); TWaitForm is the window around it.

#include "ui/WeightDialogs.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTimer>

class QLabel;
class QProgressBar;
class TSDIHandler;

// What the countdown tells its window.
class WaitFormView {
public:
    virtual ~WaitFormView() = default;
    virtual void StopTimer() {}
    virtual void StartTimer(int /*intervalMs*/) {}
    virtual void ShowCaption(const QString& /*windowCaption*/, const QString& /*waitText*/) {}
    virtual void ShowRemaining(const QString& /*text*/) {}
    virtual void ShowProgress(int /*position*/, int /*maximum*/) {}
    virtual void ShowReadingMarks(const QString& /*marks*/) {}
    virtual void Repaint() {}
    virtual void CloseWindow() {}
};

class TWaitCountdown {
public:
    // Readings are taken below this many seconds left, on multiples of six.
    static constexpr int MeasuringBelow = 90;
    static constexpr int ReadingEverySeconds = 6;
    static constexpr int GoodReadingsWanted = 5;

    TWaitCountdown(TSDIHandler& gauge, WaitFormView& view) : gauge_(gauge), view_(view) {}

    // Prepares a countdown of durationSeconds with one tick every tickMs.
    void StartWait(int durationSeconds, int tickMs, const QString& text);
    // One tick of Timer1.
    void Timer1Timer();

    int Remaining = 0;
    float ReadingSum = 0;
    int ReadingCount = 0;
    bool LastReadingFailed = false;
    // Messages of the most recent reading.
    QStringList Messages;
    // Mean of the good readings, or 0 after a failed last reading; valid
    // once Finished.
    float Result = 0;
    bool Finished = false;
    // The gauge's adapter went away: the wait ended at once, without a result.
    bool GaugeLost = false;
    // What the window shows: one " . " per good reading.
    QString ReadingMarks;

private:
    // One bucket reading; true when it was good (its value is then added).
    bool TakeReading();
    void Finish();
    void FinishLost();

    TSDIHandler& gauge_;
    WaitFormView& view_;
    int duration_ = 0;
    int tickMs_ = 1000;
};

class TWaitForm : public QDialog, private WaitFormView {
    Q_OBJECT
public:
    static constexpr int FormWidth = 400;
    static constexpr int FormHeight = 220;

    TWaitForm(TSDIHandler& gauge, QWidget* owner);

    // Sets the countdown up; the caller then shows the window modally
    // (exec) and reads Result afterwards.
    void StartWait(int durationSeconds, int tickMs, const QString& text);
    void Timer1Timer() { countdown_.Timer1Timer(); }
    float Result() const { return countdown_.Result; }
    WaitResult Outcome() const { return {countdown_.Result, countdown_.GaugeLost}; }
    TWaitCountdown& Countdown() { return countdown_; }

    // The whole use: set up, show modally, return the result.
    static WaitResult Run(TSDIHandler& gauge, QWidget* owner, int durationSeconds, int tickMs,
                     const QString& text);

    QLabel* WaitPanel = nullptr;
    QLabel* RestWaitTimePanel = nullptr;
    QProgressBar* WaitProgressBar = nullptr;
    QLabel* ProgressLabel = nullptr;
    QTimer Timer1;

protected:
    // The countdown decides when the window closes: Escape and the
    // window's close command are ignored.
    void reject() override {}
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void StopTimer() override;
    void StartTimer(int intervalMs) override;
    void ShowCaption(const QString& windowCaption, const QString& waitText) override;
    void ShowRemaining(const QString& text) override;
    void ShowProgress(int position, int maximum) override;
    void ShowReadingMarks(const QString& marks) override;
    void Repaint() override;
    void CloseWindow() override;

    TWaitCountdown countdown_;
    bool closing_ = false;
};
