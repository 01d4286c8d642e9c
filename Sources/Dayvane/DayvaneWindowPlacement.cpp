#include "DayvaneWindowPlacement.h"

#include <cmath>

namespace DayvaneWindowPlacement {

bool isUsable(const QRectF &frame, const std::vector<TovikScreenPlacement::Screen> &screens)
{
    const bool sane = std::isfinite(frame.x()) && std::isfinite(frame.y()) && std::isfinite(frame.width())
                      && std::isfinite(frame.height()) && frame.width() > 0 && frame.height() > 0;
    if (!sane) {
        return false;
    }
    for (const TovikScreenPlacement::Screen &screen : screens) {
        if (screen.frame.intersects(frame)) {
            return true;
        }
    }
    return false;
}

QRectF initialFrame(const std::optional<QRectF> &stored, const QSizeF &size, const QSizeF &minimumSize,
                    const std::vector<TovikScreenPlacement::Screen> &screens)
{
    if (stored && isUsable(*stored, screens)) {
        const auto screen = TovikScreenPlacement::owningScreen(*stored, screens);
        return TovikScreenPlacement::fitted(*stored, screen->visibleFrame, minimumSize);
    }
    if (screens.empty()) {
        return QRectF(QPointF(0, 0), size);
    }
    // The platform lists the primary screen first.
    return TovikScreenPlacement::centeredFrame(size, screens.front().visibleFrame);
}

QRectF decoratedFrame(const QRectF &frame, const QMarginsF &decorations, const QSizeF &minimumSize,
                      const std::vector<TovikScreenPlacement::Screen> &screens)
{
    const auto screen = TovikScreenPlacement::owningScreen(frame, screens);
    if (!screen) {
        return frame;
    }
    // The outer corner stays within the visible area and the content keeps room for the decorations:
    // the area narrows on the right and, y up, rises at the bottom.
    const QRectF visible = screen->visibleFrame;
    const double across = decorations.left() + decorations.right();
    const double down = decorations.top() + decorations.bottom();
    const QRectF room(visible.x(), visible.y() + down, visible.width() - across, visible.height() - down);
    if (room.width() < minimumSize.width() || room.height() < minimumSize.height()) {
        return frame;
    }
    return TovikScreenPlacement::fitted(frame, room, minimumSize);
}

} // namespace DayvaneWindowPlacement
