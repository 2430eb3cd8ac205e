// The screenshot tour's steps of the firmware work area: an update of a
// Tessra2 L while it runs and once it has finished, and a failed one of a Tessra2 S (an image made for
// another model, whose version the gauge cannot confirm). The user's
// answers (the confirmation and the chosen image) come from a dialog
// provider of the tour's own; everything else runs as in the program.

#include "app/Main.h"
#include "ScreenshotTour.h"
#include "firmware/FirmwareUpdateSequence.h"
#include "firmware/FirmwareupdateFrame.h"
#include "firmware/USBXModemUnit.h"
#include "ui/Dialogs.h"
#include "ui/TTNTStatusPanel.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

// Confirms, and chooses the image.
class TourAnswers final : public DialogProvider {
public:
    explicit TourAnswers(QString image) : image_(std::move(image)) {}
    MsgResult Message(const QString&, MsgKind, MsgButtons buttons) override {
        return buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
    }
    QString OpenFile(const FileDialogRequest&) override { return image_; }
    QString SaveFile(const FileDialogRequest&) override { return {}; }

private:
    QString image_;
};

// A small image: the 48-byte header, then some data.
bool WriteImage(const QString& path, const QByteArray& identification, const QByteArray& version) {
    QByteArray image(6 * 1024, '\0');
    for (int i = 48; i < image.size(); ++i)
        image[i] = static_cast<char>((i * 31) & 0xFF);
    image.replace(0, identification.size(), identification);
    image.replace(16, version.size(), version);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(image) == image.size();
}

// Connects to the simulated gauge of model, opens the firmware area and
// runs an update with the image, then saves the window as name (and, when
// runningShot is not empty, once the handshake has succeeded as runningShot).
bool Update(TourContext& tour, int model, const QByteArray& identification, const QString& name,
            const QString& runningShot = {}) {
    QTemporaryDir folder;
    const QString image = folder.filePath(QStringLiteral("Tessra2_firmware_V2.10.0.bin"));
    if (!folder.isValid() || !WriteImage(image, identification, "V2.10.0"))
        return false;
    tour.Disconnect();
    if (!tour.ConnectToModel(model))
        return false;
    tour.window.Navigate(tour.window.Tile(TTessra2ParamMainForm::FirmwareTile));
    tour.Settle(300);
    TFirmwareupdateFrame* area = tour.window.FirmwareArea;
    bool running = runningShot.isEmpty();
    area->Sequence().SetSenderHook([&](TUSBXModem& sender) {
        if (runningShot.isEmpty())
            return;
        sender.OnLog = [&tour, &running, area, runningShot,
                        log = sender.OnLog](const std::string& line) {
            log(line);
            if (running || line != "XModem init: C")
                return;
            // The running row blinks: show it in its visible phase.
            if (area->StepRows[Firmware::HandshakeRow]->isHidden())
                area->BlinktimerTimer();
            running = tour.Save(runningShot, &tour.window);
        };
    });
    {
        TourAnswers answers(image);
        DialogProvider& previous = Dialogs();
        InstallDialogs(&answers);
        area->StartFirmwareUpdate();
        InstallDialogs(&previous);
    }
    area->Sequence().SetSenderHook(nullptr);
    tour.Settle(500);
    return running && area->State().resultShown && tour.Save(name, &tour.window);
}

} // namespace

std::vector<TourStep> FirmwareTourSteps() {
    return {
        {QStringLiteral("firmware area, finished update"),
         [](TourContext& tour) {
             return Update(tour, 1, "TESSRA2 S", QStringLiteral("firmware-finished"),
                           QStringLiteral("firmware-running"));
         }},
        {QStringLiteral("firmware area, failed update"),
         [](TourContext& tour) {
             return Update(tour, 2, "TESSRA2 L", QStringLiteral("firmware-failed"));
         }},
    };
}
