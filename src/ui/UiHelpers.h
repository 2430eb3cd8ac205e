#pragma once

// Small helpers shared by the work areas.

#include <QChar>
#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

// Fills widget's background with colour.
void FillBackground(QWidget* widget, const QColor& colour);

// widget's font at the given point size, bold or not.
QFont PointFont(const QWidget* widget, int points, bool bold = false);

// Shapes panel as its client rectangle narrowed by 3 pixels on the left and
// on the right, with rounded corners of diameter x diameter pixels, and
// repaints it. Call again after every change of size.
void RoundPanelCorners(QWidget* panel, int diameter);

// Replaces the first "," by "." when the locale's decimal separator is ".",
// or the first "." by "," when it is ","; otherwise text is unchanged.
QString LocalizeDecimalSeparator(const QString& text);
QString LocalizeDecimalSeparator(const QString& text, QChar decimalSeparator);
