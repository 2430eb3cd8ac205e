// The guided precision test's report: the time from the evaluation (step 7,
// whose arithmetic takes microseconds) to the first paint of the report's
// preview window, with the verdict message answered at once, and the time
// and size of the PDF export. Goals: at most 500 ms to the first paint, at
// most 300 ms and 500 KB for the export.
//
//     bench_precision [runs]
//
// Runs the real frame and preview window on the platform Qt is given
// (offscreen unless QT_QPA_PLATFORM says otherwise), against a simulated
// Tessra2 L on the manual clock; the two averaged weight readings are
// scripted (62.5 mm base, 87.5 mm with the 1000 g test weight).

#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "precision/GuidedPrecisionTestFrame.h"
#include "precision/PrecisionReport.h"
#include "precision/ReportPreviewForm.h"
#include "sim/SimBackend.h"
#include "support/LinkStateGuard.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedWeightDialogs.h"
#include "ui/Pictures.h"
#include "ui/WideLanguageHandler.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Notes when a report preview is shown, takes the time of its first paint
// and closes it.
class PreviewWatch : public QObject {
public:
    QElapsedTimer since;
    double paintedMs = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* form = qobject_cast<TReportPreviewForm*>(watched);
            if (form != nullptr && !form->property("watched").toBool()) {
                form->setProperty("watched", true);
                connect(form, &TReportPreviewForm::FirstPainted, form, [this, form] {
                    paintedMs = double(since.nsecsElapsed()) / 1e6;
                    form->CloseButtonClick();
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    LanguageOffset = OffsetEnglish;
    InstallGaugeTextSource();
    Pictures::DrawSuccessAndFailedImages();

    ManualClock clock;
    ScopedClock scopedClock(clock);
    SimBackend backend;
    LinkStateGuard link(&backend);
    SimGauge::Settings settings;
    settings.model = 1;
    backend.AddGauge(settings);
    TSDIHandler handler;
    handler.Connect();
    handler.QueryAddress();

    ScriptedDialogs dialogs;
    ScriptedWeightDialogs weights(clock);
    QTemporaryDir folder;

    TGuidedPrecisionTestFrame frame(handler);
    frame.resize(990, 700);
    frame.show();
    frame.Sequence().SetLogFolders({folder.path(), folder.path()});
    PreviewWatch watch;
    app.installEventFilter(&watch);

    frame.StartPrecisionTest(1);
    weights.QueueWaitResult(62.5f);
    frame.ContinueButtonClick(); // 2
    frame.ContinueButtonClick(); // 3
    frame.ContinueButtonClick(); // 4
    frame.ContinueButtonClick(); // 5
    std::vector<double> toPaint;
    for (int run = 0; run < runs; ++run) {
        weights.QueueEntry({1000.0f, 0});
        weights.QueueWaitResult(87.5f);
        if (run == 0)
            frame.ContinueButtonClick(); // 6
        else
            frame.BackButtonClick(); // 7 -> 6: the entry and the wait again
        QCoreApplication::processEvents();
        watch.paintedMs = -1;
        watch.since.start();
        frame.ContinueButtonClick(); // 7: evaluation, log, message, report
        if (frame.Sequence().Step() != 7 || watch.paintedMs < 0) {
            std::fprintf(stderr, "bench_precision: the evaluation did not show its report\n");
            return 1;
        }
        toPaint.push_back(watch.paintedMs);
    }

    std::vector<double> exportMs;
    qint64 bytes = 0;
    const QString pdf = folder.filePath(QStringLiteral("report.pdf"));
    for (int run = 0; run < runs; ++run) {
        const Precision::ReportContent content = frame.CurrentReport();
        QElapsedTimer timer;
        timer.start();
        if (!Precision::ExportReportPdf(pdf, content)) {
            std::fprintf(stderr, "bench_precision: the PDF could not be written\n");
            return 1;
        }
        exportMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        bytes = QFileInfo(pdf).size();
    }

    const double paint = Median(toPaint);
    const double paintMax = *std::max_element(toPaint.begin(), toPaint.end());
    const double write = Median(exportMs);
    const double writeMax = *std::max_element(exportMs.begin(), exportMs.end());
    std::printf("evaluation to first paint of the report preview: median %.1f ms, max %.1f ms "
                "over %d runs (goal <= 500 ms): %s\n",
                paint, paintMax, runs, paintMax <= 500.0 ? "met" : "NOT met");
    std::printf("PDF export: median %.1f ms, max %.1f ms (goal <= 300 ms): %s\n", write, writeMax,
                writeMax <= 300.0 ? "met" : "NOT met");
    std::printf("PDF size: %.1f KB (goal <= 500 KB): %s\n", double(bytes) / 1024.0,
                bytes <= 500 * 1024 ? "met" : "NOT met");
    return 0;
}
