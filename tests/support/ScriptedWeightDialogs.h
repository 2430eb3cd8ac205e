#pragma once

// Scripted wait and weight windows of the guided precision test.
//
//     ManualClock clock;
//     ScriptedWeightDialogs weights{clock};   // installed until it goes out of scope
//     weights.QueueEntry({1000, 0});          // the technician types 1000 gram
//     sequence.ContinueButtonClick();         // step 6: asks, then waits
//
// The wait runs the real countdown of the wait dialog against the gauge,
// one tick per second of the manual clock, so its readings come from the
// (simulated) gauge at the times the real dialog would take them. A wait
// can instead be answered with a fixed result (QueueWaitResult). A weight
// request takes the next queued entry; with none queued the window counts
// as closed without OK (weight 0, gram). Every request is recorded.

#include "app/WaitForm.h"
#include "link/Clock.h"
#include "ui/WeightDialogs.h"

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

class ScriptedWeightDialogs : public WeightDialogProvider {
public:
    struct WaitRecord {
        int durationSeconds;
        int tickMs;
        QString text;
        float result;
        int readings;       // good readings the countdown collected
        int remainingAtEnd; // seconds left when it closed
        bool gaugeLost = false;
    };
    struct EntryRecord {
        QString title;
        QString prompt;
        int proposedUnit;
        WeightEntry answer;
    };

    explicit ScriptedWeightDialogs(ManualClock& clock)
        : clock_(clock), previous_(InstalledWeightDialogs()) {
        InstallWeightDialogs(this);
    }
    ~ScriptedWeightDialogs() override { InstallWeightDialogs(previous_); }
    ScriptedWeightDialogs(const ScriptedWeightDialogs&) = delete;
    ScriptedWeightDialogs& operator=(const ScriptedWeightDialogs&) = delete;

    void QueueEntry(WeightEntry entry) { entries_.push_back(entry); }
    void QueueWaitResult(float result) { waitResults_.push_back(result); }

    const std::vector<WaitRecord>& Waits() const { return waits_; }
    const std::vector<EntryRecord>& Entries() const { return entryRecords_; }

    // Called before each tick of a real countdown with the seconds left
    // (e.g. to unplug the adapter at a given moment).
    void BeforeTick(std::function<void(int)> hook) { beforeTick_ = std::move(hook); }

    WaitResult WaitForWeight(TSDIHandler& gauge, int durationSeconds, int tickMs,
                             const QString& text) override {
        if (!waitResults_.empty()) {
            const float result = waitResults_.front();
            waitResults_.pop_front();
            waits_.push_back({durationSeconds, tickMs, text, result, 0, 0});
            return {result, false};
        }
        WaitFormView silent;
        TWaitCountdown countdown(gauge, silent);
        countdown.StartWait(durationSeconds, tickMs, text);
        // A guard against a countdown that never ends.
        for (int tick = 0; !countdown.Finished && tick < 10 * durationSeconds + 10; ++tick) {
            if (beforeTick_)
                beforeTick_(countdown.Remaining);
            clock_.Advance(tickMs);
            countdown.Timer1Timer();
        }
        waits_.push_back({durationSeconds, tickMs, text, countdown.Result, countdown.ReadingCount,
                          countdown.Remaining, countdown.GaugeLost});
        return {countdown.Result, countdown.GaugeLost};
    }

    WeightEntry RequestWeight(const QString& title, const QString& prompt, int unit) override {
        WeightEntry answer;
        if (!entries_.empty()) {
            answer = entries_.front();
            entries_.pop_front();
        }
        entryRecords_.push_back({title, prompt, unit, answer});
        return answer;
    }

private:
    ManualClock& clock_;
    WeightDialogProvider* previous_;
    std::deque<WeightEntry> entries_;
    std::deque<float> waitResults_;
    std::vector<WaitRecord> waits_;
    std::vector<EntryRecord> entryRecords_;
    std::function<void(int)> beforeTick_;
};
