#pragma once

#include <QFont>
#include <QSizeF>
#include <QString>

#include <functional>

// The largest time font size, on a 0.25-point grid counted down from the box's limit, at which a text
// set in the medium monospaced-digit font fits a box. The text's width grows with the size, so a few
// measurements find the same size as trying every step from the top.
namespace TimeFontFitting {

// Width in points of the text set at a given font size; must not shrink as the size grows.
using WidthAtSize = std::function<double(double size)>;

double fittedSize(QSizeF size, const QString &text, double maximum, double minimum);
double fittedSize(QSizeF size, double maximum, double minimum, const WidthAtSize &widthAt);

// Owners size a time font for "00:00:00". A longer text (a stopwatch past 99 hours) is set in the same font
// made smaller, on the same 0.25 grid and width rule, where it would not fit `width` at the owner's size,
// so it is never cut; a text no longer than the sample keeps the owner's font.
QFont fontForText(const QFont &font, const QString &text, double width);

} // namespace TimeFontFitting
