// The wait dialog's countdown against the simulated gauge on the manual
// clock: one tick per second, readings below 90 s on multiples of six,
// closing after five good readings or at 0 s, and which readings count.

#include "app/WaitForm.h"
#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "sim/SimBackend.h"
#include "support/ConnectedSimGauge.h"
#include "support/LanguageScope.h"
#include "support/LinkStateGuard.h"
#include "support/ScriptedDialogs.h"
#include "ui/WideLanguageHandler.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <functional>

namespace {

const QString ErrorsOccured = QStringLiteral("Warning: During test the following errors occured: ");

class WaitOnSim : public ::testing::Test {
protected:
    void SetUp() override {
        InstallGaugeTextSource();
        gauge = &ConnectSimGauge(backend, handler, 1);
        gauge->Gauge().bucketContent = 10.0;
    }

    // Runs the 120 s countdown; before each tick, beforeTick(seconds left)
    // may change the gauge. Returns the seconds left at each reading.
    std::vector<int> Run(const std::function<void(int)>& beforeTick = {}) {
        countdown.StartWait(120, 1000, QStringLiteral("waiting"));
        std::vector<int> readings;
        for (int tick = 0; tick < 200 && !countdown.Finished; ++tick) {
            const int left = countdown.Remaining;
            if (beforeTick)
                beforeTick(left);
            const auto before =
                std::count(gauge->Commands().begin(), gauge->Commands().end(), "0M!");
            clock.Advance(1000);
            countdown.Timer1Timer();
            if (std::count(gauge->Commands().begin(), gauge->Commands().end(), "0M!") > before)
                readings.push_back(left);
        }
        return readings;
    }

    ManualClock clock;
    ScopedClock scopedClock{clock};
    SimBackend backend;
    LinkStateGuard link{&backend};
    TSDIHandler handler;
    ScriptedDialogs dialogs;
    LanguageScope english{OffsetEnglish};
    SimGauge* gauge = nullptr;
    WaitFormView silent;
    TWaitCountdown countdown{handler, silent};
};

} // namespace

TEST_F(WaitOnSim, FiveGoodReadingsCloseAtSixtySecondsLeft) {
    const std::vector<int> readings = Run([this](int left) {
        gauge->Gauge().bucketContent = left == 84 ? 10.0 : 20.0; // mean of 10, 20 x 4: 18
    });
    EXPECT_EQ(readings, (std::vector<int>{84, 78, 72, 66, 60}));
    EXPECT_TRUE(countdown.Finished);
    EXPECT_EQ(countdown.Remaining, 60);
    EXPECT_FLOAT_EQ(countdown.Result, 18.0f);
    EXPECT_EQ(countdown.ReadingMarks, " .  .  .  .  . ");
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST_F(WaitOnSim, EveryReadingFailing) {
    gauge->Faults().statusBits = 1024;
    const std::vector<int> readings = Run();
    std::vector<int> expected;
    for (int left = 84; left >= 0; left -= 6)
        expected.push_back(left);
    EXPECT_EQ(readings, expected);
    EXPECT_EQ(countdown.Remaining, 0);
    EXPECT_EQ(countdown.ReadingCount, 0);
    EXPECT_EQ(countdown.Result, 0.0f);
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].kind, MsgKind::Error);
    EXPECT_EQ(dialogs.Messages()[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(dialogs.Messages()[0].text,
              ErrorsOccured + "\r\nTessra main board not calibrated (Failure)");
}

TEST_F(WaitOnSim, MeanOfTheGoodReadingsWhenTheLastOneIsGood) {
    Run([this](int left) {
        const bool good = left == 84 || left == 78 || left == 0;
        gauge->Faults().statusBits = good ? 0 : 512;
        gauge->Gauge().bucketContent = left == 84 ? 10.0 : left == 78 ? 20.0 : 60.0;
    });
    EXPECT_EQ(countdown.Remaining, 0);
    EXPECT_EQ(countdown.ReadingCount, 3);
    EXPECT_FLOAT_EQ(countdown.Result, 30.0f); // (10 + 20 + 60) / 3
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST_F(WaitOnSim, NothingWhenTheLastReadingFails) {
    Run([this](int left) { gauge->Faults().statusBits = left == 84 ? 0 : 1536; });
    EXPECT_EQ(countdown.ReadingCount, 1);
    EXPECT_EQ(countdown.Result, 0.0f);
    ASSERT_EQ(dialogs.Messages().size(), 1);
    // Both failures of the last reading are listed.
    EXPECT_EQ(dialogs.Messages()[0].text, ErrorsOccured +
                                              "\r\nTessra main board not calibrated (Failure)"
                                              "\r\nWeight above maximum (Failure)");
}

TEST_F(WaitOnSim, FailedDataCollectionIsAFailedReading) {
    // Two values fewer than announced: the data never add up, the reading
    // comes back as -1 without a message.
    Run([this](int left) { gauge->Faults().valueCountDelta = left >= 78 ? -2 : 0; });
    EXPECT_EQ(countdown.ReadingCount, 5);
    EXPECT_EQ(countdown.Remaining, 48); // 84 and 78 failed; 72 ... 48 good
    EXPECT_FLOAT_EQ(countdown.Result, 10.0f);

    dialogs.Clear();
    Run([this](int) { gauge->Faults().valueCountDelta = -2; });
    EXPECT_EQ(countdown.ReadingCount, 0);
    EXPECT_EQ(countdown.Result, 0.0f);
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].text, ErrorsOccured + "\r\nNot all values could be recorded!");
}

TEST_F(WaitOnSim, WindowShowsCountdownReadingsAndCaption) {
    TWaitForm form(handler, nullptr);
    EXPECT_EQ(form.size(), QSize(400, 220));
    form.StartWait(120, 1000, QStringLiteral(" > The Axo Tessra2 now determines the base weight."));
    EXPECT_EQ(form.windowTitle(), "Measurement in progess, please wait...");
    EXPECT_EQ(form.WaitPanel->text(), " > The Axo Tessra2 now determines the base weight.");
    EXPECT_EQ(form.Timer1.interval(), 1000);
    EXPECT_TRUE(form.Timer1.isActive());
    clock.Advance(1000);
    form.Timer1Timer();
    EXPECT_EQ(form.RestWaitTimePanel->text(), "120");
    for (int i = 0; i < 36; ++i) {
        clock.Advance(1000);
        form.Timer1Timer();
    }
    // The tick at 84 s left took the first reading.
    EXPECT_EQ(form.RestWaitTimePanel->text(), "Measuring (0)");
    EXPECT_EQ(form.WaitProgressBar->maximum(), 120);
    EXPECT_EQ(form.WaitProgressBar->value(), 36);
    EXPECT_EQ(form.ProgressLabel->text(), " . ");
    EXPECT_TRUE(form.Timer1.isActive());
    form.Timer1.stop();
}
