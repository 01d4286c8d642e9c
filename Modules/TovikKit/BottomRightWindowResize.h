#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

class QWidget;

// Resizing a window from its bottom-right corner: the top-left corner stays, the size never drops below
// the minimum, and the window grows no further than its screen's right and bottom edges. Frames are in the
// global y-up space.
namespace BottomRightWindowResize {

// The size asked for by a drag from `startMouse` to `mouse`: right widens, down (y falling) heightens.
QSizeF targetSize(const QRectF &original, const QPointF &startMouse, const QPointF &mouse);

// The frame for a target size, given the full frame of the window's screen (none without screens). A side
// that grew by at most half a point counts as unchanged, so a tiny drag leaves the top-left corner exactly
// in place.
QRectF resizedFrame(const QRectF &original, const QSizeF &size, const QSizeF &minSize,
                    const std::optional<QRectF> &screenFrame);

// Sets the window's frame to resizedFrame on the window's screen.
void apply(QWidget &window, const QRectF &original, const QSizeF &size, const QSizeF &minSize);
// The same from mouse locations; without a minimum, the window's own.
void apply(QWidget &window, const QRectF &original, const QPointF &startMouse, const QPointF &mouse,
           const std::optional<QSizeF> &minSize = std::nullopt);

} // namespace BottomRightWindowResize
