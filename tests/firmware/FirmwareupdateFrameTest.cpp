// The firmware update work area: what it shows for a gauge, the blinking
// step row, the result panel, the cancel button, its layout, and the window
// around it while an update runs.

#include "FirmwareUpdateFixture.h"

#include "firmware/FirmwareupdateFrame.h"
#include "ui/ImageControl.h"
#include "ui/Palette.h"
#include "ui/PanelButton.h"
#include "ui/Pictures.h"
#include "ui/TTNTStatusPanel.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

using namespace Firmware;

namespace {

bool SamePicture(const QPixmap& a, const QPixmap& b) {
    return !a.isNull() && a.toImage() == b.toImage();
}

} // namespace

class FrameOnSim : public FirmwareOnSim {
protected:
    void SetUp() override {
        FirmwareOnSim::SetUp();
        Pictures::DrawSuccessAndFailedImages();
        Prepare(frame.Sequence());
        frame.resize(1000, 700);
        frame.show();
    }
    void Open(int model) { frame.ShowFirmwareArea(model); }
    TAXO_TTNTStatusPanel* StepRow(int row) { return frame.StepRows[static_cast<std::size_t>(row)]; }

    TFirmwareupdateFrame frame{handler, nullptr};
};

TEST_F(FrameOnSim, OpenedForAGaugeShowsItsVersionAndPicture) {
    SimGauge& gauge = ConnectedGauge(2);
    Open(2);
    EXPECT_EQ(frame.FWVersionLabel->text(), "Version: V1.31.0");
    EXPECT_TRUE(SamePicture(frame.TessraImage->Picture(), Pictures::Tessra2SImage()));
    EXPECT_EQ(gauge.Commands(), (Commands{"0OOV!"})) << "the S model asks no gauge type";

    gauge.Gauge().gaugeType = 0; // "200 cm²"
    Open(1);
    EXPECT_TRUE(SamePicture(frame.TessraImage->Picture(), Pictures::Tessra2_200_Image()));
}

TEST_F(FrameOnSim, OpenedWithoutGaugeShowsTheUnknownVersion) {
    Open(0);
    EXPECT_EQ(frame.FWVersionLabel->text(), "Version: UNKOWN");
    EXPECT_TRUE(SamePicture(frame.TessraImage->Picture(), Pictures::Tessra2_400_Image()));
    EXPECT_FALSE(frame.FwCancelButton->isEnabled());
    EXPECT_TRUE(frame.ResultPanel->isHidden());
    EXPECT_EQ(frame.ShownModel(), 0);
}

TEST_F(FrameOnSim, ChosenImageAddsItsVersionToTheStrip) {
    ConnectedGauge(1);
    Open(1);
    Answer(WriteFile("fw.bin", ImageBytes("TESSRA2 S", "V2.05.1", 512)));
    frame.StartFirmwareUpdate();
    EXPECT_EQ(frame.FWVersionLabel->text(), "Version: V1.31.0 -> V2.05.1");
    // Opened again: the gauge's version alone.
    Open(1);
    EXPECT_EQ(frame.FWVersionLabel->text(), "Version: V2.05.1");

    // An image without a version for this gauge adds nothing, not the last one's.
    Answer(WriteFile("other.bin", ImageBytes("TESSRA2 L", "V2.06.0", 512)));
    frame.StartFirmwareUpdate();
    EXPECT_EQ(frame.FWVersionLabel->text(), "Version: V2.05.1");
}

TEST_F(FrameOnSim, RunningStepBlinksOncePerSecondAndStandsStillAtTheEnd) {
    ConnectedGauge(1);
    Open(1);
    const QString folderAsImage = dir.filePath("folder.bin");
    ASSERT_TRUE(QDir().mkpath(folderAsImage));
    Answer(folderAsImage);
    bool active = false;
    int interval = 0;
    bool hidden = false;
    bool shownAgain = false;
    // The error dialog of the transfer's file opening comes while row 4 runs.
    dialogs.OnMessage([&](const ScriptedDialogs::MessageRecord& message) {
        if (!message.text.startsWith("ERROR"))
            return;
        active = frame.Blinktimer.isActive();
        interval = frame.Blinktimer.interval();
        frame.BlinktimerTimer();
        hidden = StepRow(OpeningRow)->isHidden();
        frame.BlinktimerTimer();
        shownAgain = !StepRow(OpeningRow)->isHidden();
    });
    frame.StartFirmwareUpdate();

    EXPECT_TRUE(active);
    EXPECT_EQ(interval, 1000);
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(shownAgain);
    EXPECT_FALSE(frame.Blinktimer.isActive());
    EXPECT_FALSE(StepRow(OpeningRow)->isHidden());
    EXPECT_EQ(StepRow(OpeningRow)->GetCaptionText(), " Firmware file cannot be opened!");
    EXPECT_TRUE(SamePicture(frame.ResultImage->Picture(), Pictures::failedImage()));
}

TEST_F(FrameOnSim, ResultPanelCoversTheStepRowsWithMarkAndText) {
    ConnectedGauge(2);
    Open(2);
    Answer(WriteFile("fw.bin", ImageBytes("TESSRA2 S", "V2.05.1", 512)));
    frame.StartFirmwareUpdate();

    ASSERT_FALSE(frame.ResultPanel->isHidden());
    for (int row = 0; row < StepRowCount; ++row)
        EXPECT_TRUE(frame.ResultPanel->geometry().contains(StepRow(row)->geometry())) << row;
    EXPECT_FALSE(frame.ResultPanel->geometry().intersects(frame.UpdateProgressBar->geometry()));
    EXPECT_EQ(frame.ResultLabel->text(), "Firmware update successfully completed");
    EXPECT_TRUE(SamePicture(frame.ResultImage->Picture(), Pictures::successImage()));
    EXPECT_GE(frame.ResultImage->y(), frame.ResultLabel->geometry().bottom()) << "picture below";
    // The backup's line below the mark.
    EXPECT_TRUE(frame.ResultNotesLabel->text().startsWith("Configuration saved to "));
    EXPECT_GE(frame.ResultNotesLabel->y(), frame.ResultImage->geometry().bottom());
    EXPECT_EQ(frame.UpdateProgressBar->value(), frame.UpdateProgressBar->maximum());
    EXPECT_EQ(frame.UpdateLabel->text(), "512 / 512");
}

// Counts the paint events of the widget it is installed on.
class PaintCount final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST_F(FrameOnSim, TransferDrawsItsProgressAFewTimesNotWithEveryBlock) {
    ConnectedGauge(1);
    Open(1);
    // 512 blocks; the window's messages wait until the procedure has ended.
    Answer(WriteFile("fw.bin", ImageBytes("TESSRA2 S", "V2.05.1", 512 * 128)));
    // On screen, so that a synchronous draw really draws.
    QCoreApplication::processEvents();
    ASSERT_TRUE(frame.windowHandle() != nullptr && frame.windowHandle()->isExposed());
    PaintCount count;
    frame.UpdateProgressBar->installEventFilter(&count);
    frame.StartFirmwareUpdate();

    ASSERT_TRUE(frame.State().resultSuccess);
    EXPECT_EQ(frame.UpdateLabel->text(), "65536 / 65536");
    EXPECT_EQ(frame.UpdateProgressBar->value(), frame.UpdateProgressBar->maximum());
    // Drawing between an acknowledgement and the next block delays the
    // block: the bar is drawn at the procedure's own steps only.
    EXPECT_LE(count.paints, 10);
}

TEST_F(FrameOnSim, CancelButtonWorksFromTheConfirmationOnAndStaysEnabledAfterwards) {
    SimGauge& gauge = ConnectedGauge(1);
    Open(1);
    Answer(WriteFile("fw.bin", ImageBytes("TESSRA2 S", "V2.05.1", 512)));
    bool enabledAtConfirmation = false;
    dialogs.OnMessage([&](const ScriptedDialogs::MessageRecord&) {
        enabledAtConfirmation = frame.FwCancelButton->isEnabled();
        QTest::mouseClick(frame.FwCancelButton, Qt::LeftButton);
    });
    ASSERT_FALSE(frame.FwCancelButton->isEnabled());
    frame.StartFirmwareUpdate();

    EXPECT_TRUE(enabledAtConfirmation);
    EXPECT_TRUE(frame.ResultLabel->text().endsWith("Cancelled by user!"));
    EXPECT_FALSE(Sent(gauge, "0OXU+0391!"));
    EXPECT_FALSE(frame.FwCancelButton->isEnabled()) << "a click disables it";
}

TEST_F(FrameOnSim, LayoutFollowsTheAreaSize) {
    frame.resize(1000, 700);
    EXPECT_EQ(frame.PicturePanel->geometry(), QRect(0, 0, 200, 630));
    EXPECT_EQ(frame.PictureStrip->geometry(), QRect(196, 0, 4, 630));
    EXPECT_EQ(frame.PictureStrip->palette().color(QPalette::Window), Palette::Accent);
    EXPECT_EQ(frame.VersionPanel->geometry(), QRect(200, 0, 800, 30));
    for (int row = 0; row < StepRowCount; ++row)
        EXPECT_EQ(StepRow(row)->geometry().translated(frame.StepPanel->pos()),
                  QRect(200, 30 + row * 40, 800, 40));
    const QRect bar = frame.UpdateProgressBar->geometry().translated(frame.StepPanel->pos());
    EXPECT_EQ(bar, QRect(224, 466, 756, 30));
    EXPECT_EQ(frame.UpdateLabel->x(), frame.UpdateProgressBar->x());
    EXPECT_EQ(frame.UpdateLabel->width(), frame.UpdateProgressBar->width());
    EXPECT_EQ(frame.UpdateLabel->y(), frame.UpdateProgressBar->geometry().bottom() + 1);
    EXPECT_EQ(frame.ButtonPanel->geometry(), QRect(0, 630, 1000, 70));
    EXPECT_EQ(frame.FwStartButton->width(), 200);
    EXPECT_EQ(frame.FwStartButton->geometry().center().x(), 249);
    EXPECT_EQ(frame.FwCancelButton->geometry().center().x(), 749);
    EXPECT_EQ(frame.StepPanel->palette().color(QPalette::Window), QColor(246, 246, 246));
}

TEST_F(FrameOnSim, LanguageChangeRetranslatesTheTitlesThatAreOneText) {
    ConnectedGauge(1);
    Open(1);
    Answer(QString()); // cancelled file dialog: rows 0 and 1 have titles
    frame.StartFirmwareUpdate();
    {
        LanguageScope german(OffsetGerman);
        frame.TranslateFirmwareArea();
        EXPECT_EQ(StepRow(ConnectionRow)->GetCaptionText().trimmed(), "Verbindung herstellen...");
        EXPECT_EQ(StepRow(FileRow)->GetCaptionText().trimmed(),
                  "Die Firmware-Datei kann nicht geöffnet werden!");
        EXPECT_EQ(frame.FwStartButton->text(), "Firmware-Update starten");
        EXPECT_EQ(frame.FwCancelButton->text(), "Abbrechen");
    }
}

TEST_F(FrameOnSim, WindowTakesNoOtherInputWhileAnUpdateRunsAndCannotBeClosed) {
    QWidget window;
    frame.setParent(&window);
    auto* other = new QPushButton(QStringLiteral("Other"), &window);
    other->setGeometry(0, 700, 100, 30);
    window.resize(1000, 740);
    window.show();
    QSignalSpy otherClicks(other, &QPushButton::clicked);
    ConnectedGauge(1);
    Open(1);
    Answer(WriteFile("fw.bin", ImageBytes("TESSRA2 S", "V2.05.1", 512)));
    bool closeAccepted = true;
    dialogs.OnMessage([&](const ScriptedDialogs::MessageRecord&) {
        QTest::mouseClick(other, Qt::LeftButton);
        QCloseEvent close;
        QApplication::sendEvent(&window, &close);
        closeAccepted = close.isAccepted();
    });
    frame.StartFirmwareUpdate();

    EXPECT_EQ(otherClicks.count(), 0);
    EXPECT_FALSE(closeAccepted);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(frame.ResultLabel->text().endsWith("Cancelled by user!")) << "closing cancels";

    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_EQ(otherClicks.count(), 1) << "after the update the window works as before";
    frame.setParent(nullptr);
}
