#include "measurement/CompareChartHover.h"

#include <QBrush>
#include <QChart>
#include <QFont>
#include <QGraphicsEllipseItem>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QPen>

namespace {

constexpr double RingRadius = 7.0;
constexpr double LabelOffset = 14.0; // from the pointer, down and to the right
constexpr double LabelPadding = 4.0;
constexpr int LabelPoints = 8;
// Above the chart's lines and marks.
constexpr double OnTop = 1000.0;

} // namespace

CompareChartHover::CompareChartHover(QChart* chart)
    : mark_(new QGraphicsEllipseItem(-RingRadius, -RingRadius, 2 * RingRadius, 2 * RingRadius,
                                     chart)),
      box_(new QGraphicsRectItem(chart)), label_(new QGraphicsSimpleTextItem(box_)) {
    QPen ring(QColor(40, 40, 40));
    ring.setWidthF(1.5);
    mark_->setPen(ring);
    mark_->setBrush(Qt::NoBrush);
    mark_->setZValue(OnTop);
    box_->setPen(QPen(QColor(160, 160, 160)));
    box_->setBrush(QColor(255, 255, 225));
    box_->setZValue(OnTop + 1);
    QFont font = label_->font();
    font.setPointSize(LabelPoints);
    label_->setFont(font);
    label_->setPos(LabelPadding, LabelPadding);
    Hide();
}

void CompareChartHover::Show(const QPointF& point, const QPointF& pointer, const QString& text,
                             const QRectF& plot) {
    mark_->setPos(point);
    mark_->show();
    if (label_->text() != text)
        label_->setText(text);
    const QRectF textBox = label_->boundingRect();
    const QSizeF size(textBox.width() + 2 * LabelPadding, textBox.height() + 2 * LabelPadding);
    box_->setRect(QRectF(QPointF(0, 0), size));
    // Beside the pointer, on the side where it fits.
    QPointF at = pointer + QPointF(LabelOffset, LabelOffset);
    if (at.x() + size.width() > plot.right())
        at.setX(pointer.x() - LabelOffset - size.width());
    if (at.y() + size.height() > plot.bottom())
        at.setY(pointer.y() - LabelOffset - size.height());
    at.setX(std::max(at.x(), plot.left()));
    at.setY(std::max(at.y(), plot.top()));
    box_->setPos(at);
    box_->show();
}

void CompareChartHover::Hide() {
    mark_->hide();
    box_->hide();
}

bool CompareChartHover::Shown() const {
    return box_->isVisible();
}

QString CompareChartHover::Text() const {
    return label_->text();
}

