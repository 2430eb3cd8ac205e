#include "precision/ToleranceChart.h"

#include "precision/DecimalFormat.h"

#include <QAreaSeries>
#include <QChart>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QValueAxis>

namespace {

const QColor BandColour(0, 255, 0);

// The deviation marker: a black triangle, point down, MarkerWidth wide and
// MarkerDepth deep, centred in a square image as the point series draws it.
QImage DownwardTriangle() {
    const int size = TToleranceChart::MarkerWidth;
    QImage image(size * 4, size * 4, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(4, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const qreal top = (size - TToleranceChart::MarkerDepth) / 2.0;
    const QPointF corners[] = {
        {0, top}, {qreal(size), top}, {size / 2.0, top + TToleranceChart::MarkerDepth}};
    painter.drawPolygon(corners, 3);
    return image;
}

} // namespace

TToleranceChart::TToleranceChart(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("ResultChart"));
    setFixedHeight(ChartHeight);
    setRenderHint(QPainter::Antialiasing, true);
    setInteractive(false);
    setRubberBand(QChartView::NoRubberBand);
    setFrameShape(QFrame::NoFrame);

    QChart* chart = this->chart();
    chart->legend()->hide();
    chart->setTitle(QString());
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(8, 2, 8, 0));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setAnimationOptions(QChart::NoAnimation);

    BandLine = new QLineSeries(chart);
    Series1 = new QAreaSeries(BandLine);
    Series1->setObjectName(QStringLiteral("Series1"));
    Series1->setPen(Qt::NoPen);
    Series1->setBrush(BandColour);
    Series3 = new QLineSeries(chart);
    Series3->setObjectName(QStringLiteral("Series3"));
    Series3->setPen(QPen(Qt::black, 1));
    Series2 = new QScatterSeries(chart);
    Series2->setObjectName(QStringLiteral("Series2"));
    Series2->setMarkerSize(MarkerWidth);
    Series2->setLightMarker(DownwardTriangle());
    Series2->setPen(Qt::NoPen);

    chart->addSeries(Series1);
    chart->addSeries(Series3);
    chart->addSeries(Series2);

    AxisX = new QValueAxis(chart);
    AxisX->setTickCount(AxisTicks);
    AxisX->setLabelsVisible(false);
    AxisX->setTitleVisible(false);
    AxisX->setGridLineVisible(false);
    AxisY = new QValueAxis(chart);
    AxisY->setRange(0, BandHeight);
    AxisY->setVisible(false);
    chart->addAxis(AxisX, Qt::AlignBottom);
    chart->addAxis(AxisY, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(AxisX);
        series->attachAxis(AxisY);
    }
}

void TToleranceChart::ShowToleranceChart(const Precision::ToleranceChartData& data) {
    data_ = data;
    const double p = data.permitted;
    const double d = data.deviation;
    BandLine->clear();
    BandLine->append(-p, BandHeight);
    BandLine->append(p, BandHeight);
    Series3->clear();
    Series3->append(0, BandHeight);
    Series3->append(0, 0);
    Series2->clear();
    Series2->append(d, MarkerHeight);
    AxisX->setRange(-(p + AxisMargin), p + AxisMargin);
    AxisX->setTitleText(data.axisTitle);
}

void TToleranceChart::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    if (isVisible())
        shownSize_ = size();
    chart()->setPlotArea(QRectF(SideMargin, 2, qMax(1, width() - 2 * SideMargin),
                                qMax(1, height() - 2 - AxisHeight)));
}

void TToleranceChart::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    const QRectF plot = chart()->plotArea();
    if (plot.width() <= 0 || AxisX->max() <= AxisX->min())
        return;
    QFont small = font();
    small.setPixelSize(10);
    painter->save();
    painter->setFont(small);
    painter->setPen(Qt::black);
    const qreal line = QFontMetricsF(small).height();
    const qreal labelsTop = plot.bottom() + 4;
    const qreal step = (AxisX->max() - AxisX->min()) / (AxisTicks - 1);
    for (int i = 0; i < AxisTicks; ++i) {
        qreal value = AxisX->min() + i * step;
        if (qAbs(value) < step * 1e-6)
            value = 0; // the middle tick, without rounding noise

        const qreal x = chart()->mapToPosition(QPointF(value, 0), Series3).x();
        const QString text = Precision::FormatFixed(value, 2);
        const qreal width = QFontMetricsF(small).horizontalAdvance(text) + 4;
        painter->drawText(QRectF(x - width / 2, labelsTop, width, line), Qt::AlignCenter, text);
    }
    painter->drawText(QRectF(plot.left(), labelsTop + line, plot.width(), line), Qt::AlignCenter,
                      AxisX->titleText());
    painter->restore();
}

QSize TToleranceChart::ShownSize() const {
    return isVisible() || !shownSize_.isValid() ? size() : shownSize_;
}

void TToleranceChart::RenderInto(QPainter& painter, const QRectF& target) {
    if (isVisible()) {
        render(&painter, target, viewport()->rect(), Qt::IgnoreAspectRatio);
        return;
    }
    TToleranceChart twin;
    twin.setAttribute(Qt::WA_DontShowOnScreen);
    twin.setFont(font());
    twin.resize(ShownSize());
    twin.ShowToleranceChart(data_);
    twin.show();
    QCoreApplication::sendPostedEvents(&twin);
    QCoreApplication::sendPostedEvents(twin.chart());
    twin.render(&painter, target, twin.viewport()->rect(), Qt::IgnoreAspectRatio);
}
