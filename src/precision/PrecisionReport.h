#pragma once

// The report of a precision test: one document with the maker's logo, the
// gauge's picture, a title, the result table, the verdict row in green or
// red, the tolerance chart, and a footer with the maker's web address on
// every page. It is laid out on any paged device (the preview's printer,
// a printer, a PDF file) in millimetres from the page's top-left corner.

#include "precision/PrecisionTestRecord.h"

#include <QDateTime>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <functional>

class QPainter;
class QPagedPaintDevice;
class QRectF;

namespace Precision {

// The maker's web address in the footer of every page.
inline constexpr const char* MakerWebAddress = "www.axo-gauges.example";

struct ReportContent {
    PrecisionTestRecord record;
    QDateTime date; // the date row
    // Draws the tolerance chart into a rectangle of the page; chartSize is
    // the chart's size on screen, which gives the picture's proportions.
    std::function<void(QPainter&, const QRectF&)> drawChart;
    QSizeF chartSize;
};

// Text 7, the document title (PDF title, preview caption).
QString ReportTitle();
// The paper of the default printer; A4 when no printer is installed.
QPageSize ReportPageSize();
// Lays the report out on device, which painter paints on; coordinates are
// those of the whole page (no margins of the device's own).
void PaintReport(QPainter& painter, QPagedPaintDevice& device, const ReportContent& content);
// Writes the report as a PDF file (through a save file); false when the
// file cannot be written.
bool ExportReportPdf(const QString& path, const ReportContent& content);

} // namespace Precision
