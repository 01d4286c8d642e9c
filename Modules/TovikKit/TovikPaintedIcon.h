#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSizeF>

#include <functional>

// An icon painted on demand at exactly the device pixel ratio it is shown at (1, 1.25, 1.5, 2, 3, ...),
// never resampled from an image made for another ratio.
namespace TovikPaintedIcon {

// Paints the icon at a device pixel ratio: a pixmap of about logical size x ratio pixels, that ratio set.
using Painter = std::function<QPixmap(qreal devicePixelRatio)>;

QIcon make(QSizeF logicalSize, Painter paint);

} // namespace TovikPaintedIcon
