#pragma once

// The colours every work area shares.

#include <QColor>

namespace Palette {

// Title bars, strips, thin borders and the hover colour.
inline const QColor Accent(255, 214, 52);
// Alternate rows, pressed or disabled buttons, selected tiles.
inline const QColor Light(212, 212, 212);
// Unselected tiles and dark text.
inline const QColor Dark(77, 77, 77);
// Normal panel buttons.
inline const QColor ButtonBlue(19, 177, 228);

} // namespace Palette
