#pragma once

#include <QColor>
#include <QPalette>

// The colours of the dark look every window shares: the window background, the system colours in their
// dark-appearance variants, and the application palette built from them.
namespace TovikColors {

QColor windowBackground();

QColor systemRed();
QColor systemOrange();
QColor systemGreen();
QColor systemTeal();
QColor systemBlue();
QColor systemGray();

// White at the given alpha: text, tints and fills over the dark background.
QColor white(double alpha);
// A colour from sRGB components and alpha between 0 and 1, as the model's palettes give them.
QColor fromComponents(double red, double green, double blue, double alpha = 1);

// The Fusion style's palette for the dark look, whatever the desktop's theme.
QPalette darkPalette();

} // namespace TovikColors
