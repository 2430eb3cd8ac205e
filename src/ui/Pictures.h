#pragma once

// The shared pictures: tile pictures, link states, lock, gauges, warning,
// logos, and the success / failure / edited marks the work areas show.

#include <QPixmap>

namespace Pictures {

// SVG resources rendered at the given height (width follows the aspect ratio).
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

// Drawn at start-up on 256 x 256 white bitmaps, white transparent.
void DrawSuccessAndFailedImages();
QPixmap successImage();
QPixmap failedImage();

} // namespace Pictures
