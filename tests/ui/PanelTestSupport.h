#pragma once

// Shared by the panel tests: the pointer entering and leaving a widget, and
// the colour a widget shows at a point.

#include <QApplication>
#include <QColor>
#include <QEnterEvent>
#include <QWidget>

inline void PointerEnters(QWidget* widget) {
    const QPointF at(2, 2);
    QEnterEvent event(at, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
}

inline void PointerLeaves(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

// The colour painted at point, as the user would see it on screen.
inline QColor ShownColour(QWidget* widget, const QPoint& point) {
    return widget->grab().toImage().pixelColor(point);
}
