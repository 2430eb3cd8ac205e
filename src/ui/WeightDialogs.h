#pragma once

// The two modal windows of the guided precision test, as a seam: the wait
// dialog, which lets a weight settle and returns the mean of its bucket
// readings, and the weight entry, where the technician declares the test
// weight. The program installs the real windows at start; tests install a
// script that answers them (and may run the real countdown on the manual
// clock). Without an installed provider both behave as if the window had
// been closed at once: the wait yields 0, the entry weight 0 in gram.

#include <QString>

class TSDIHandler;

// What a wait for a weight yields.
struct WaitResult {
    float mean = 0;         // of the good readings; 0 after a failed last reading
    bool gaugeLost = false; // the gauge's adapter went away: no reading counts
};

struct WeightEntry {
    float weight = 0; // 0 unless the technician confirmed a valid number
    int unit = 0;     // 0 gram, 1 mm, 2 inch
};

class WeightDialogProvider {
public:
    virtual ~WeightDialogProvider() = default;
    // Counts down durationSeconds with one tick every tickMs, reads the
    // bucket of gauge in the second part of the countdown, and returns the
    // mean of the good readings (0 when the last reading failed, after the
    // error has been shown). A gauge lost on the way ends the wait at once
    // (after saying so). text is what the dialog says it is doing.
    virtual WaitResult WaitForWeight(TSDIHandler& gauge, int durationSeconds, int tickMs,
                                const QString& text) = 0;
    // Asks for a weight with the given title and prompt, proposing unit.
    virtual WeightEntry RequestWeight(const QString& title, const QString& prompt, int unit) = 0;
};

// The installed provider, or one that answers as described above.
WeightDialogProvider& WeightDialogs();
// Installs provider (not owned); nullptr removes it.
void InstallWeightDialogs(WeightDialogProvider* provider);
// The installed provider (null when none), for a guard that restores it.
WeightDialogProvider* InstalledWeightDialogs();
