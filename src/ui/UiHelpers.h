#pragma once

// Small helpers shared by the work areas.

#include <QChar>
#include <QColor>
#include <QFont>
#include <QString>

class QFrame;
class QWidget;

// Fills widget's background with colour.
void FillBackground(QWidget* widget, const QColor& colour);

// A panel named name, filled with colour; bordered: with a single dark line around it.
QFrame* MakePanel(QWidget* parent, const char* name, const QColor& colour, bool bordered = false);

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
