#pragma once

#include <TovikKit/TovikScreenPlacement.h>

#include <QMarginsF>
#include <QRectF>
#include <QSizeF>

#include <optional>
#include <vector>

// Where the main window opens, decided without touching a screen, in the global y-up space.
namespace DayvaneWindowPlacement {

// A stored frame is damage unless its numbers are finite, its size positive and it overlaps a screen.
bool isUsable(const QRectF &frame, const std::vector<TovikScreenPlacement::Screen> &screens);

// A usable stored frame fitted into the visible area of the screen it lands on; otherwise a window of
// `size` centred on the main screen's visible area; without any screen, `size` at the origin.
QRectF initialFrame(const std::optional<QRectF> &stored, const QSizeF &size, const QSizeF &minimumSize,
                    const std::vector<TovikScreenPlacement::Screen> &screens);

// `frame` (outer corner, content size) fitted again once the window manager's decorations are known, so
// that the decorated window lies wholly inside the visible area of its screen; `frame` itself when it
// already does, or when no screen could hold it.
QRectF decoratedFrame(const QRectF &frame, const QMarginsF &decorations, const QSizeF &minimumSize,
                      const std::vector<TovikScreenPlacement::Screen> &screens);

} // namespace DayvaneWindowPlacement
