#include "precision/PrecisionReport.h"

#include "ui/GaugeVocabulary.h"
#include "ui/WideLanguageHandler.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QSvgRenderer>

// The pictures are the program's own SVG resources, drawn as vectors.
static void RegisterPictureResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace Precision {
namespace {

constexpr int TitleTextId = 7;
constexpr int ProgramTextId = 1;
constexpr int DetailsBelowTextId = 371;
constexpr int PassedTextId = 379;
constexpr int Bucket200TextId = 244;

// Lengths in millimetres, from the page's top-left corner.
constexpr double MarginMm = 10;
const QRectF LogoMm(QPointF(8, 3), QPointF(38, 20));
const QRectF GaugeMm(QPointF(10, 40), QPointF(30, 75));
constexpr double FooterCentreMm = 100;
constexpr double CellPaddingMm = 1.5;
constexpr double RuleGapMm = 1.0;    // room a rule takes in the text flow
constexpr double DoubleRuleMm = 0.8; // between the two lines of the double rule
constexpr double RuleWidthMm = 0.25;
// A line of text is one and a half times as high as its font size.
constexpr double LineFactor = 1.5;
constexpr double PointMm = 25.4 / 72.0;
constexpr double PictureDpi = 300;

constexpr double TitlePoints = 14;
constexpr double TablePoints = 12;
constexpr double FooterPoints = 10;
// Label : value column widths.
constexpr double LabelShare = 30.0 / 70.0;

const QColor Grey(192, 192, 192);
const QColor LimeGreen(0, 255, 0);
const QColor Red(255, 0, 0);

enum class Fill { Grey, White, None };

QFont Helvetica(double points) {
    QFont font(QStringLiteral("Helvetica"));
    font.setStyleHint(QFont::Helvetica);
    font.setPointSizeF(points);
    // No ligatures: the text of the PDF reads (and is found) letter by
    // letter, "fi" as f and i.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// Paints in millimetres on a device of any resolution.
class Page {
public:
    Page(QPainter& painter, QPagedPaintDevice& device)
        : painter_(painter), device_(device), dotsPerMmX_(device.logicalDpiX() / 25.4),
          dotsPerMmY_(device.logicalDpiY() / 25.4) {
        const QSizeF paper = device.pageLayout().fullRect(QPageLayout::Millimeter).size();
        width_ = paper.width();
        height_ = paper.height();
    }

    double Width() const { return width_; }
    double Height() const { return height_; }
    double TextLeft() const { return MarginMm; }
    double TextWidth() const { return width_ - 2 * MarginMm; }

    QRectF Dots(const QRectF& mm) const {
        return {mm.x() * dotsPerMmX_, mm.y() * dotsPerMmY_, mm.width() * dotsPerMmX_,
                mm.height() * dotsPerMmY_};
    }

    void Text(const QRectF& mm, const QString& text, const QFont& font, Qt::Alignment align) {
        painter_.setFont(font);
        painter_.setPen(Qt::black);
        painter_.drawText(Dots(mm), int(align | Qt::AlignVCenter | Qt::TextSingleLine), text);
    }

    void Fill(const QRectF& mm, const QColor& colour) { painter_.fillRect(Dots(mm), colour); }

    void Rule(double yMm) {
        QPen pen(Qt::black);
        pen.setWidthF(RuleWidthMm * dotsPerMmY_);
        painter_.setPen(pen);
        painter_.drawLine(QPointF(TextLeft() * dotsPerMmX_, yMm * dotsPerMmY_),
                          QPointF((TextLeft() + TextWidth()) * dotsPerMmX_, yMm * dotsPerMmY_));
    }

    // The picture, fitted into mm with its proportions, as a bitmap of
    // PictureDpi: drawn as vectors, the PDF writer loses the opacity of
    // some of the pictures' shapes.
    void Picture(const QString& name, const QRectF& mm) {
        RegisterPictureResources();
        QSvgRenderer svg(QStringLiteral(":/pictures/%1.svg").arg(name));
        if (!svg.isValid())
            return;
        const QSizeF fitted = QSizeF(svg.defaultSize()).scaled(mm.size(), Qt::KeepAspectRatio);
        const QRectF place(mm.x() + (mm.width() - fitted.width()) / 2,
                           mm.y() + (mm.height() - fitted.height()) / 2, fitted.width(),
                           fitted.height());
        const QSize pixels(qMax(1, int(fitted.width() * PictureDpi / 25.4)),
                           qMax(1, int(fitted.height() * PictureDpi / 25.4)));
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter picture(&image);
            picture.setRenderHint(QPainter::Antialiasing, true);
            svg.render(&picture);
        }
        painter_.drawImage(Dots(place), image);
    }

    QPainter& Painter() { return painter_; }
    bool NewPage() { return device_.newPage(); }

private:
    QPainter& painter_;
    QPagedPaintDevice& device_;
    double dotsPerMmX_;
    double dotsPerMmY_;
    double width_ = 210;
    double height_ = 297;
};

double LineMm(double points) {
    return points * LineFactor * PointMm;
}

// The footer: a rule and the web address, at the bottom margin. Returns the
// top of the footer, the lowest point the text flow may reach.
double PaintFooter(Page& page) {
    const double line = LineMm(FooterPoints);
    const double bottom = page.Height() - MarginMm;
    const double halfWidth = page.Width() / 2;
    page.Text(QRectF(FooterCentreMm - halfWidth, bottom - line, 2 * halfWidth, line),
              QString::fromLatin1(MakerWebAddress), Helvetica(FooterPoints), Qt::AlignHCenter);
    const double ruleAt = bottom - line - RuleGapMm / 2;
    page.Rule(ruleAt);
    return ruleAt - RuleGapMm;
}

QString GaugePictureName(const PrecisionTestRecord& record) {
    if (record.model == 2)
        return QStringLiteral("tessra2_s");
    return record.gauge.gaugeType != 0 ? QStringLiteral("tessra2_400")
                                       : QStringLiteral("tessra2_200");
}

struct TableRow {
    int label;
    QString value;
    Fill fill;
};

std::vector<TableRow> TableRows(const ReportContent& content) {
    const PrecisionTestRecord& r = content.record;
    const PrecisionTestValues& v = r.values;
    const QString bucket = r.model == 2 ? GetText(Bucket200TextId) : r.gauge.gaugeTypeName;
    std::vector<TableRow> rows = {
        {381, content.date.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), Fill::Grey},
        {49, Vocabulary::ModelName(r.model), Fill::White},
        {246, bucket, Fill::Grey},
        {19, r.gauge.serialNumber + u'/' + r.gauge.hardwareIndex, Fill::White},
        {18, r.gauge.firmwareVersion, Fill::Grey},
        {22, r.gauge.intensityUnitName, Fill::None},
    };
    // From here on grey and unfilled rows alternate.
    for (const WeightResultRow& row : WeightResultRows(v))
        rows.push_back({row.labelTextId, row.value,
                        rows.back().fill == Fill::Grey ? Fill::None : Fill::Grey});
    rows.push_back({372, FormatWeightTriple(v.BaseGram, v.BaseMm, v.BaseInch), Fill::None});
    return rows;
}

// One table row across both columns; returns the height it took.
double PaintTableRow(Page& page, double y, const QString& label, const QString& value,
                     const QColor* background) {
    const double height = LineMm(TablePoints);
    const double left = page.TextLeft();
    const double width = page.TextWidth();
    const double labelWidth = width * LabelShare;
    if (background != nullptr)
        page.Fill(QRectF(left, y, width, height), *background);
    const QFont font = Helvetica(TablePoints);
    page.Text(QRectF(left + CellPaddingMm, y, labelWidth - 2 * CellPaddingMm, height), label, font,
              Qt::AlignLeft);
    page.Text(QRectF(left + labelWidth + CellPaddingMm, y, width - labelWidth - 2 * CellPaddingMm,
                     height),
              value, font, Qt::AlignLeft);
    return height;
}

} // namespace

QString ReportTitle() {
    return GetText(TitleTextId);
}

QPageSize ReportPageSize() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull()) {
        const QPageSize size = printer.defaultPageSize();
        if (size.isValid())
            return size;
    }
    return QPageSize(QPageSize::A4);
}

void PaintReport(QPainter& painter, QPagedPaintDevice& device, const ReportContent& content) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    Page page(painter, device);
    const PrecisionTestRecord& record = content.record;
    double flowEnd = PaintFooter(page);

    // Pictures at fixed places; they do not move the text.
    page.Picture(QStringLiteral("maker_logo"), LogoMm);
    page.Picture(GaugePictureName(record), GaugeMm);

    const double left = page.TextLeft();
    const double width = page.TextWidth();
    const QFont titleFont = Helvetica(TitlePoints);
    const double titleLine = LineMm(TitlePoints);
    double y = MarginMm;
    page.Text(QRectF(left, y, width, titleLine),
              Vocabulary::ModelName(record.model) + QStringLiteral(" - ") + ReportTitle(),
              titleFont, Qt::AlignHCenter);
    y += titleLine;
    y += titleLine; // one empty line
    page.Rule(y + RuleGapMm / 2);
    y += RuleGapMm;
    y += 2 * titleLine;
    page.Text(QRectF(left, y, width, titleLine), GetText(DetailsBelowTextId), titleFont,
              Qt::AlignHCenter);
    y += titleLine;
    y += 4 * titleLine;

    for (const TableRow& row : TableRows(content)) {
        const QColor colour = row.fill == Fill::Grey ? Grey : QColor(Qt::white);
        y += PaintTableRow(page, y, GetText(row.label), row.value,
                           row.fill == Fill::None ? nullptr : &colour);
    }

    page.Rule(y + RuleGapMm / 2);
    page.Rule(y + RuleGapMm / 2 + DoubleRuleMm);
    y += RuleGapMm + DoubleRuleMm;

    const QColor verdictColour = record.passed ? LimeGreen : Red;
    y += PaintTableRow(page, y, GetText(PassedTextId), record.verdict, &verdictColour);
    y += 2 * LineMm(TablePoints);

    if (content.drawChart && content.chartSize.width() > 0 && content.chartSize.height() > 0) {
        // Across the text width: the chart keeps off the right margin, where
        // printers cannot print.
        const double height = width * content.chartSize.height() / content.chartSize.width();
        if (y + height > flowEnd) {
            page.NewPage();
            flowEnd = PaintFooter(page);
            y = MarginMm;
        }
        content.drawChart(painter, page.Dots(QRectF(left, y, width, height)));
    }
}

bool ExportReportPdf(const QString& path, const ReportContent& content) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(ReportTitle());
        writer.setCreator(GetText(ProgramTextId));
        writer.setPageLayout(QPageLayout(ReportPageSize(), QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            return false;
        }
        PaintReport(painter, writer, content);
        if (!painter.end()) {
            file.cancelWriting();
            return false;
        }
    }
    return file.commit();
}

} // namespace Precision
