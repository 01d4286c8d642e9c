#include "FloatingPanelChromeLayout.h"

namespace FloatingPanelChromeLayout {

Frames frames(const QSizeF &container)
{
    const double w = container.width();
    const double h = container.height();
    const QRectF close(8, h - 21, 14, 14);
    const QRectF pin(w - 25, h - 23, 17, 17);
    return {close, QRectF(close.right() + 4, close.y(), 14, 14), QRectF(pin.x() - 21, pin.y(), 17, 17), pin};
}

Visibility visibility(bool hovered, bool usesOverlayControls, bool textOnly)
{
    return {hovered, hovered && usesOverlayControls, hovered, hovered, hovered && textOnly};
}

} // namespace FloatingPanelChromeLayout
