// A configuration file, whatever bytes it holds, imported into the rows of
// the configuration work area for a connected simulated gauge, as the
// import does. Every row keeps a value its list or range allows; the file
// exported from those rows and imported again for the same model gives the
// same positions and values.

#include "FuzzSupport.h"
#include "config/ConfigurationFile.h"
#include "config/ConfigurationSequence.h"
#include "config/IniDocument.h"
#include "config/ParameterRows.h"
#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "sim/SimBackend.h"

#include <cstdint>

namespace {

using namespace Config;


struct Gauge {
    Gauge() {
        InstallClock(&clock);
        SimGauge::Settings settings;
        settings.model = 1;
        settings.paceWire = false;
        backend.AddGauge(settings);
        D2XXDriver::InstallBackend(&backend);
        Check(handler.Connect());
        Check(handler.QueryAddress() == "0");
    }
    ManualClock clock{1.0};
    SimBackend backend;
    TSDIHandler handler;
};

TSDIHandler& ConnectedGauge() {
    static Gauge gauge;
    return gauge.handler;
}

void CheckAllowed(const ParameterRows& rows) {
    for (int i = 0; i < RowCount; ++i) {
        const Row row = Row(i);
        if (IsListRow(row)) {
            const int selection = rows.Selection(row);
            Check(selection >= -1 && selection < rows.Entries(row).count);
        } else if (IsNumberRow(row)) {
            const Range range = rows.RangeOf(row);
            Check(rows.Position(row) >= range.min && rows.Position(row) <= range.max);
        }
    }
    Check(rows.SwitchTime().isValid());
}

ParameterRows Imported(int model, const IniDocument& document) {
    ParameterRows rows;
    ConfigurationView view;
    ConfigurationSequence sequence(ConnectedGauge(), rows, view);
    sequence.Prepare(model);
    ImportConfiguration(document, sequence);
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const int model = data[0] % 3;
    const IniDocument file = IniDocument::FromBytes(
        QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
    (void)FileModel(file);

    const ParameterRows rows = Imported(model, file);
    CheckAllowed(rows);

    IniDocument exported;
    ExportConfiguration(rows, true, exported);
    const ParameterRows again = Imported(model, exported);
    for (int i = 0; i < RowCount; ++i) {
        const Row row = Row(i);
        // The self-test interval is exported only while its row is shown.
        const bool exported = row != SelfTestRow || rows.Shown(row);
        if (IsListRow(row) && exported && rows.Selection(row) >= 0)
            Check(again.Selection(row) == rows.Selection(row));
        if (IsNumberRow(row) && rows.Shown(row))
            Check(again.Position(row) == rows.Position(row));
    }
    if (rows.Shown(SwitchTimeRow))
        Check(again.SwitchTime() == rows.SwitchTime());
    return 0;
}
