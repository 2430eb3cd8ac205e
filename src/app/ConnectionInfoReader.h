#pragma once

// The information rows of the connection area without widgets: which rows
// a model has, how each row's value is read from the gauge and judged, and
// the reading sequence over all rows. The connection frame builds the rows
// and shows what the sequence reports.

#include <QString>
#include <cstddef>
#include <utility>
#include <vector>

class TSDIHandler;

enum class InfoRow {
    SerialAndIndex,     // text 19
    FirmwareVersion,    // text 18
    LastConfiguration,  // text 17
    LastFirmwareUpdate, // text 44
    GaugeType,          // text 49
    HeatingTemperature, // text 24
    HeatingMode,        // text 23
    DeviceTime,         // text 560, models with a clock only
};

// Rows 1 to 7 for model 0, 1 to 8 for models 1 and 2, none for any other code.
std::vector<InfoRow> InfoRowsForModel(int model);
int InfoRowCaptionId(InfoRow row);

// Value shown before the first reading.
inline const QString NotReadValue = QStringLiteral("- - - -");

struct InfoReading {
    bool ok = false;
    QString value; // the text to show; meaningful only when ok
};

// Reads one row from the gauge and judges it.
InfoReading ReadInfoRow(TSDIHandler& gauge, InfoRow row);

// The rows as read, in order; a row not read has ok false.
using InfoReadings = std::vector<std::pair<InfoRow, InfoReading>>;
// Keeps the connection in the logbook: the gauge's identification and the
// rows as read.
void ReportConnection(const TSDIHandler& gauge, const InfoReadings& readings);

// What the reading sequence needs from the area that shows the rows.
class InfoRowView {
public:
    virtual ~InfoRowView() = default;
    // Step 1, per row: hide its status mark and repaint it.
    virtual void HideRowMark(std::size_t index) = 0;
    // The row exists and is not hidden.
    virtual bool RowShown(std::size_t index) = 0;
    // Success: value and success mark; failure: failure mark, value kept.
    virtual void ShowRowResult(std::size_t index, const InfoReading& reading) = 0;
    // Lets the window repaint between the rows.
    virtual void ProcessMessages() = 0;
    // True when the rows were rebuilt or reset since the reading started
    // (possible while messages are processed); the reading then stops.
    virtual bool RowsReplaced() = 0;
};

// ReadInfos: every shown row in order, as long as the gauge stays
// connected. Returns true when every row was read (the rows are then
// complete); false when the reading stopped early or skipped hidden rows.
class ConnectionInfoReader {
public:
    ConnectionInfoReader(TSDIHandler& gauge, InfoRowView& view) : gauge_(gauge), view_(view) {}

    bool ReadInfos(const std::vector<InfoRow>& rows, int shownModel);

private:
    // The handler says connected and the adapter still answers its queue query.
    bool GaugeStillThere();

    TSDIHandler& gauge_;
    InfoRowView& view_;
};
