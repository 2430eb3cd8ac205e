#pragma once

// The font of the windows. Their sizes were laid out for a sans of Arial's
// width; wider families (DejaVu Sans, a common Linux default) cut captions.
// At start the program takes the first installed family of Arial's metrics
// and keeps the point size the platform gives.

#include <QString>
#include <QStringList>

// The families tried, in order: Liberation Sans and Arimo (metric-compatible
// with Arial, from the Linux distributions), then Arial and Helvetica.
QStringList InterfaceFontFamilies();

// The first of InterfaceFontFamilies() that is installed, or empty.
QString InterfaceFontFamily();

// Makes InterfaceFontFamily() the application's font (after QApplication
// exists, before the windows are built). Without any of them installed the
// platform's font stays; false then.
bool UseInterfaceFont();
