#pragma once

#include <QRectF>

// Layouts are computed y-up (origin bottom-left), as the design states them; this is the one place
// where such a rectangle becomes Qt's y-down geometry inside a container of the given height.
namespace TovikGeometry {

inline QRectF toQt(const QRectF &yUp, double containerHeight)
{
    return QRectF(yUp.x(), containerHeight - yUp.y() - yUp.height(), yUp.width(), yUp.height());
}

// The same conversion backwards, for hit positions and frames read from Qt.
inline QRectF fromQt(const QRectF &yDown, double containerHeight)
{
    return toQt(yDown, containerHeight);
}

inline QPointF pointFromQt(const QPointF &yDown, double containerHeight)
{
    return QPointF(yDown.x(), containerHeight - yDown.y());
}

} // namespace TovikGeometry
