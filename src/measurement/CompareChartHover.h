#pragma once

// What a compare chart shows of the point nearest to the pointer: a ring
// around the point and, beside the pointer, a small label with the point's
// time and value. The items belong to the chart and sit above its lines.

#include <QPointF>
#include <QRectF>
#include <QString>

class QChart;
class QGraphicsEllipseItem;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;

class CompareChartHover {
public:
    explicit CompareChartHover(QChart* chart);

    // Marks the point at pixel point (chart coordinates) and shows text
    // beside pointer, kept inside plot.
    void Show(const QPointF& point, const QPointF& pointer, const QString& text,
              const QRectF& plot);
    void Hide();

    bool Shown() const;
    QString Text() const;

private:
    QGraphicsEllipseItem* mark_;
    QGraphicsRectItem* box_;
    QGraphicsSimpleTextItem* label_;
};
