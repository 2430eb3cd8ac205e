#pragma once

// The gauge's measurement layout: the twelve value positions with their row
// titles and unit strings, and the status word with its decoding table.

#include <QString>
#include <QStringList>

#include <string_view>

namespace MeasurementLayout {

inline constexpr int MRowCount = 9;  // values of "M!"
inline constexpr int M1RowCount = 3; // values of "M1!"
inline constexpr int PositionCount = MRowCount + M1RowCount;
inline constexpr int HeatingPosition = 7; // built hidden, never shown
inline constexpr int StatusPosition = 8;  // the status word

// Text id of a position's row title (110 to 118, 120 to 122); 0 for others.
int RowTitleTextId(int position);

// The unit string shown after a value of positions 0 to 7 and 9 to 11, built
// from the unit indices the gauge reported (GetIntensityUnit,
// GetTemperatureUnit). A unit query that failed (-1, or an index the gauge
// does not know) gives no unit text, never a wrong one: positions 1 to 3
// then show only the remark "(inactive while USB connected)". The status
// row's verdict comes from the status step, not from here.
QString UnitText(int position, int intensityUnit, int temperatureUnit);

// One entry of the status table.
struct StatusBit {
    int mask;
    int textId;
    bool failure; // mask 64 or more
};
// The eleven entries, in the order they are scanned (1024 first).
const StatusBit* StatusTable();
inline constexpr int StatusTableSize = 11;

// The status value as a decimal integer (a leading sign accepted).
bool ParseStatusWord(std::string_view value, int& word);

// One line per table entry whose mask is set in word, in table order:
// mask + ": " + text + " (" + "Failure" or "Warning" + ")". Bits outside the
// table are ignored.
QStringList DecodeStatusWord(int word);

// The error analysis of word: "Analysis" + " " + the status row's title +
// " (" + word + ")", a blank line, the decoded lines, a blank line and the
// advice to repeat the measurement; lines end in CR LF.
QString AnalysisReport(int word);
// The decoded lines of word only, each ended by CR LF.
QString DecodedLinesReport(int word);

} // namespace MeasurementLayout
