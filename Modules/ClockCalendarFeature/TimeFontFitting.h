#pragma once

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

} // namespace TimeFontFitting
