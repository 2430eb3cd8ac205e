#include "ui/UiHelpers.h"

#include "ui/Palette.h"

#include <QFrame>
#include <QLocale>
#include <QPainterPath>
#include <QRegion>
#include <QWidget>

void FillBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QFrame* MakePanel(QWidget* parent, const char* name, const QColor& colour, bool bordered) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    FillBackground(panel, colour);
    if (bordered) {
        panel->setFrameStyle(QFrame::Box | QFrame::Plain);
        panel->setLineWidth(1);
        QPalette palette = panel->palette();
        palette.setColor(QPalette::WindowText, Palette::Dark);
        panel->setPalette(palette);
    }
    return panel;
}

QFont PointFont(const QWidget* widget, int points, bool bold) {
    QFont font = widget->font();
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

void RoundPanelCorners(QWidget* panel, int diameter) {
    if (!panel)
        return;
    const QRect shape = panel->rect().adjusted(3, 0, -3, 0);
    if (shape.isEmpty()) {
        // Not yet laid out (or at most 6 pixels wide): no shape to give it.
        panel->clearMask();
        panel->update();
        return;
    }
    QPainterPath path;
    const qreal radius = qMax(0, diameter) / 2.0;
    path.addRoundedRect(QRectF(shape), radius, radius);
    panel->setMask(QRegion(path.toFillPolygon().toPolygon()));
    panel->update();
}

QString LocalizeDecimalSeparator(const QString& text, QChar decimalSeparator) {
    QString result = text;
    QChar from;
    if (decimalSeparator == u'.')
        from = u',';
    else if (decimalSeparator == u',')
        from = u'.';
    else
        return result;
    const qsizetype at = result.indexOf(from);
    if (at >= 0)
        result[at] = decimalSeparator;
    return result;
}

QString LocalizeDecimalSeparator(const QString& text) {
    const QString separator = QLocale().decimalPoint();
    return separator.size() == 1 ? LocalizeDecimalSeparator(text, separator.at(0)) : text;
}
