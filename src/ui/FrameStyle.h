#pragma once

// Colours and fonts the work areas share (configuration, service, firmware).

#include "ui/Palette.h"

#include <QColor>
#include <QFont>

namespace FrameStyle {

// Title bars, thin group borders.
inline const QColor Accent = Palette::Accent;
// Every second row of a group.
inline const QColor AlternateRow = Palette::Light;

inline QFont RowFont() {
    QFont font;
    font.setPointSize(10);
    return font;
}

inline QFont LabelFont() {
    QFont font = RowFont();
    font.setBold(true);
    return font;
}

// Bold text of the given character height in pixels.
inline QFont PixelFont(int pixels, bool bold = true) {
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace FrameStyle
