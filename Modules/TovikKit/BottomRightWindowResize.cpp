#include "BottomRightWindowResize.h"

#include "TovikScreenPlacement.h"

#include <QWidget>

#include <algorithm>

namespace BottomRightWindowResize {

QSizeF targetSize(const QRectF &original, const QPointF &startMouse, const QPointF &mouse)
{
    return QSizeF(original.width() + (mouse.x() - startMouse.x()), original.height() - (mouse.y() - startMouse.y()));
}

QRectF resizedFrame(const QRectF &original, const QSizeF &size, const QSizeF &minSize,
                    const std::optional<QRectF> &screenFrame)
{
    // y-up: QRectF's top() is the bottom edge and bottom() the top edge.
    double w = std::max(size.width(), minSize.width());
    double h = std::max(size.height(), minSize.height());
    if (screenFrame) {
        if (w > original.width()) {
            w = std::min(w, std::max(minSize.width(), screenFrame->right() - original.left()));
        }
        if (h > original.height()) {
            h = std::min(h, std::max(minSize.height(), original.bottom() - screenFrame->top()));
        }
    }
    const QRectF proposed(original.left(), original.bottom() - h, w, h);
    const QRectF constrained = screenFrame ? TovikScreenPlacement::keptVisible(proposed, *screenFrame) : proposed;
    const double finalWidth = std::min(proposed.width(), constrained.width());
    const double finalHeight = std::min(proposed.height(), constrained.height());
    const double x = w <= original.width() + 0.5 ? original.left() : constrained.left();
    const double y = h <= original.height() + 0.5 ? original.bottom() - finalHeight : constrained.top();
    return QRectF(x, y, finalWidth, finalHeight);
}

void apply(QWidget &window, const QRectF &original, const QSizeF &size, const QSizeF &minSize)
{
    const std::optional<TovikScreenPlacement::Screen> screen = TovikScreenPlacement::screenOf(window);
    const std::optional<QRectF> screenFrame = screen ? std::optional<QRectF>(screen->frame) : std::optional<QRectF>();
    TovikScreenPlacement::setFrame(window, resizedFrame(original, size, minSize, screenFrame));
}

void apply(QWidget &window, const QRectF &original, const QPointF &startMouse, const QPointF &mouse,
           const std::optional<QSizeF> &minSize)
{
    apply(window, original, targetSize(original, startMouse, mouse), minSize.value_or(QSizeF(window.minimumSize())));
}

} // namespace BottomRightWindowResize
