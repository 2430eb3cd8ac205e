// The screenshot tour's steps of the precision work area: a complete
// guided accuracy test against the simulated Tessra2 L, with the real wait
// dialog, the real weight entry (the tour types 1000 gram into it) and the
// real report preview, from which the tour exports the PDF and renders its
// first page with pdftoppm. The simulated gauge gets its weights from the
// program's own placement on Continue. Messages are answered by the tour:
// OK, and No to "repeat the test?".

#include "app/ConnectedDevicesForm.h"
#include "app/Main.h"
#include "ScreenshotTour.h"
#include "app/WaitForm.h"
#include "precision/GuidedPrecisionTestFrame.h"
#include "precision/ReportPreviewForm.h"
#include "precision/WeightRequestForm.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int TourModel = 1;

// Answers the message dialogs of the test and prints each.
class TourMessages final : public DialogProvider {
public:
    TourMessages() : previous_(&Dialogs()) { InstallDialogs(this); }
    ~TourMessages() override { InstallDialogs(previous_ == this ? nullptr : previous_); }
    TourMessages(const TourMessages&) = delete;
    TourMessages& operator=(const TourMessages&) = delete;

    MsgResult Message(const QString& text, MsgKind, MsgButtons buttons) override {
        std::printf("message: %s\n", qPrintable(QString(text).replace(QStringLiteral("\r\n"),
                                                                      QStringLiteral(" | "))));
        std::fflush(stdout);
        return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
    }
    QString OpenFile(const FileDialogRequest&) override { return {}; }
    QString SaveFile(const FileDialogRequest&) override { return {}; }

private:
    DialogProvider* previous_;
};

// Calls action once with the first shown modal window of type Window.
template <class Window> class WhenShown {
public:
    explicit WhenShown(std::function<void(Window&)> action) : action_(std::move(action)) {
        poll_.setInterval(50);
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            if (auto* window = qobject_cast<Window*>(QApplication::activeModalWidget())) {
                poll_.stop();
                done_ = true;
                action_(*window);
            }
        });
        poll_.start();
    }
    bool Done() const { return done_; }

private:
    std::function<void(Window&)> action_;
    QTimer poll_;
    bool done_ = false;
};

TGuidedPrecisionTestFrame* Area(TourContext& tour) {
    return tour.window.PrecisionArea;
}

// What the screen shows over the main window (dialogs included).
bool SaveScreen(TourContext& tour, const QString& name) {
    QCoreApplication::processEvents();
    const QRect area = tour.window.frameGeometry();
    const QPixmap shot =
        tour.window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const QString path = tour.folder.filePath(name + QStringLiteral(".png"));
    if (shot.isNull() || !shot.save(path, "PNG"))
        return false;
    tour.saved.append(path);
    std::printf("%s\n", qPrintable(path));
    std::fflush(stdout);
    return true;
}

std::shared_ptr<TourMessages> messages;

} // namespace

std::vector<TourStep> PrecisionTourSteps() {
    return {
        {QStringLiteral("precision test, step 2"),
         [](TourContext& tour) {
             tour.Disconnect();
             if (!tour.ConnectToModel(TourModel, QString()))
                 return false;
             messages = std::make_shared<TourMessages>();
             // Step 2 connects again: the adapter of the same gauge.
             const int adapter = tour.SimulatedAdapterOfModel(TourModel);
             tour.window.ConnectFormChooser().SetWhileShown([adapter](TConnectForm& form) {
                 form.USBDevicesListView->setCurrentItem(
                     form.USBDevicesListView->topLevelItem(adapter));
                 form.StartButtonClick();
             });
             tour.window.Navigate(tour.window.Tile(TTessra2ParamMainForm::PrecisionTile));
             tour.Settle(300);
             if (!tour.Save(QStringLiteral("precision-welcome"), &tour.window))
                 return false;
             Area(tour)->ContinueButtonClick();
             tour.Settle(300);
             return Area(tour)->Sequence().Step() == 2 && Area(tour)->Sequence().ContinueOn() &&
                    tour.Save(QStringLiteral("precision-step2"), &tour.window);
         }},
        {QStringLiteral("precision test, base weight"),
         [](TourContext& tour) {
             Area(tour)->ContinueButtonClick(); // step 3
             tour.Settle(200);
             bool waitShot = false;
             WhenShown<TWaitForm> wait([&](TWaitForm& form) {
                 tour.Settle(1500);
                 waitShot = tour.Save(QStringLiteral("precision-wait"), &form);
             });
             Area(tour)->ContinueButtonClick(); // step 4, about a minute
             tour.Settle(200);
             return waitShot && Area(tour)->Sequence().Step() == 4 &&
                    tour.Save(QStringLiteral("precision-step4"), &tour.window);
         }},
        {QStringLiteral("precision test, weight dialog"),
         [](TourContext& tour) {
             Area(tour)->ContinueButtonClick(); // step 5
             tour.Settle(200);
             if (!tour.Save(QStringLiteral("precision-step5"), &tour.window))
                 return false;
             bool dialogShot = false;
             WhenShown<TWeightRequestForm> entry([&](TWeightRequestForm& form) {
                 tour.Settle(300);
                 form.WeightEdit->setText(QStringLiteral("1000"));
                 tour.Settle(100);
                 dialogShot = SaveScreen(tour, QStringLiteral("precision-step6-weight-dialog")) &&
                              tour.Save(QStringLiteral("precision-weight-dialog"), &form);
                 form.OKButtonClick();
             });
             Area(tour)->ContinueButtonClick(); // step 6: the entry, then the wait
             tour.Settle(200);
             return dialogShot && Area(tour)->Sequence().Step() == 6 &&
                    tour.Save(QStringLiteral("precision-step6"), &tour.window);
         }},
        {QStringLiteral("precision test, evaluation and report"),
         [](TourContext& tour) {
             bool previewShot = false;
             bool exported = false;
             WhenShown<TReportPreviewForm> preview([&](TReportPreviewForm& form) {
                 tour.Settle(1500);
                 previewShot = tour.Save(QStringLiteral("precision-preview"), &form);
                 const QString pdf = tour.folder.filePath(QStringLiteral("precision-report.pdf"));
                 exported = form.ExportTo(pdf);
                 if (exported) {
                     const QString png = tour.folder.filePath(QStringLiteral("precision-report"));
                     exported =
                         QProcess::execute(
                             QStringLiteral("pdftoppm"),
                             {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("110"),
                              QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                              QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, png}) == 0;
                     if (exported) {
                         tour.saved.append(png + QStringLiteral(".png"));
                         std::printf("%s\n%s.png\n", qPrintable(pdf), qPrintable(png));
                     }
                 }
                 form.CloseButtonClick();
             });
             Area(tour)->ContinueButtonClick(); // step 7
             tour.Settle(500);
             std::printf("log file: %s\nverdict: %s\n",
                         qPrintable(Area(tour)->Sequence().LogFilePath()),
                         qPrintable(Area(tour)->Sequence().Verdict()));
             return previewShot && exported && Area(tour)->Sequence().Step() == 7 &&
                    tour.Save(QStringLiteral("precision-step7"), &tour.window);
         }},
        {QStringLiteral("precision test, finished"),
         [](TourContext& tour) {
             Area(tour)->ContinueButtonClick(); // Exit: No, then the log's place
             tour.Settle(200);
             messages.reset();
             tour.window.ConnectFormChooser().SetWhileShown(nullptr);
             return Area(tour)->Sequence().Step() == -1 && Area(tour)->isHidden();
         }},
    };
}
