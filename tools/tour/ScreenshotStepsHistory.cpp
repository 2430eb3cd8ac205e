// The screenshot tour's step of the gauge history: a few years of a
// simulated Tessra2 L's visits (connections, a configuration change, a
// firmware update and five accuracy tests, the last one failed) are written
// to the program's logbook, and the window is opened with the connection
// area's button. The tour's own accuracy test of the same gauge is there too.

#include "ScreenshotTour.h"
#include "app/ConnectionFrame.h"
#include "app/Main.h"
#include "gauge/SDIHandler.h"
#include "link/ByteText.h"
#include "logbook/GaugeHistoryWindow.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookEvents.h"
#include "ui/PanelButton.h"

#include <QApplication>

namespace {

constexpr int TourModel = 1;

void Write(LogbookEntry entry, const QDateTime& time) {
    entry.timeUtc = time;
    ReportToLogbook(std::move(entry));
}

void WriteVisits(const GaugeIdentity& gauge) {
    struct Test {
        int year;
        double deviation;
        double permitted;
    };
    const Test tests[] = {{2021, 0.03, 0.1},
                          {2022, 0.05, 0.1},
                          {2023, -0.02, 0.1},
                          {2024, 0.07, 0.1},
                          {2025, 0.13, 0.1}};
    for (const Test& test : tests) {
        const QDateTime visit(QDate(test.year, 5, 12), QTime(8, 30), Qt::UTC);
        Write(GaugeConnected(gauge, QStringLiteral("13AXO-GAUGTessra2L131"), {}), visit);
        PrecisionTestFacts facts;
        facts.values = {{QStringLiteral("DeviationMm"), test.deviation},
                        {QStringLiteral("PermittedMm"), test.permitted}};
        facts.passed = std::abs(test.deviation) < test.permitted;
        facts.log =
            QStringLiteral("/home/anna/Tessra2/PrecisionTest_%1_05_12_09_10_00.log").arg(test.year);
        Write(PrecisionTestDone(gauge, facts), visit.addSecs(40 * 60));
    }
    Write(ConfigurationWritten(
              gauge, {{QStringLiteral("HEATINGMODE"), QStringLiteral("0"), QStringLiteral("2")}}),
          QDateTime(QDate(2023, 5, 12), QTime(9, 30), Qt::UTC));
    FirmwareUpdateFacts update;
    update.image = QStringLiteral("/home/anna/Tessra2/Tessra2_1_31.bin");
    update.versionBefore = QStringLiteral("1.29");
    update.versionAfter = QStringLiteral("1.31");
    update.backup = QStringLiteral("/home/anna/Tessra2/Backup_2024_05_12.ini");
    Write(FirmwareUpdated(gauge, update), QDateTime(QDate(2024, 5, 12), QTime(9, 45), Qt::UTC));
}

} // namespace

std::vector<TourStep> HistoryTourSteps() {
    return {
        {QStringLiteral("gauge history"),
         [](TourContext& tour) {
             tour.Disconnect();
             if (!tour.ConnectToModel(TourModel))
                 return false;
             TSDIHandler& handler = tour.window.Gauge();
             GaugeIdentity gauge;
             gauge.serialNumber = Latin1Text(handler.GaugeSerialNumber());
             gauge.hardwareIndex = Latin1Text(handler.GetHardwareIndex());
             gauge.model = TourModel;
             gauge.firmwareVersion = Latin1Text(handler.GetFirmwareVersion());
             WriteVisits(gauge);
             TConnectionFrame* area = tour.window.ConnectionArea;
             if (!area->HistoryButton->isEnabled())
                 return false;
             area->HistoryButtonClick();
             auto* history = tour.window.findChild<GaugeHistoryWindow*>();
             if (history == nullptr)
                 return false;
             history->resize(1000, 700);
             tour.Settle(500);
             const bool saved = history->History().Deviations().size() >= 5 &&
                                tour.Save(QStringLiteral("gauge-history"), history);
             history->close();
             return saved;
         }},
    };
}
