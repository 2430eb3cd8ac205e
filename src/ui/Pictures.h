#pragma once

// The shared pictures: tile pictures, link states, lock, gauges, warning,
// logos, and the success / failure / edited marks the work areas show.
//
// The pictures are SVG resources (":/pictures/<name>.svg") rendered on
// demand and cached per name and height. The named accessors return them at
// a generous height, so that the panels, which scale every picture
// proportionally into their own rectangle, stay sharp on dense screens and
// in print: icons and marks 96 px, gauges 640 px, the program logo 450 px,
// the maker's logo 200 px. Render() gives any other height.

#include <QPixmap>
#include <QStringList>

namespace Pictures {

// Names of all SVG resources, in the order the gallery shows them.
QStringList Names();

// SVG resource `name` rendered at the given height (width follows the
// aspect ratio). An unknown name gives a null pixmap.
QPixmap Render(const QString& name, int height = 48);

QPixmap ParameterImage();
QPixmap MeasurementImage();
QPixmap FirmwareUpdateImage();
QPixmap TerminalImage();
QPixmap PrecisionImage();
QPixmap ServiceImage();
QPixmap ConnectedImage();
QPixmap DisconnectedImage();
QPixmap LockedImage();
QPixmap Tessra2_200_Image();
QPixmap Tessra2_400_Image();
QPixmap Tessra2SImage();
QPixmap WarningImage();
QPixmap LogoImage();
QPixmap MakerLogoImage();
QPixmap editedImage();

// Drawn at start-up on 256 x 256 white bitmaps, white transparent: a green
// check mark and a red cross, each of two filled quadrilaterals.
void DrawSuccessAndFailedImages();
QPixmap successImage();
QPixmap failedImage();

} // namespace Pictures
