#pragma once

#include <QRectF>

#include <optional>
#include <vector>

// Where the main window opens, decided without touching a screen: frames here are in the global y-up space
// (origin at the bottom-left of the primary screen), the space in which frames are stored.
namespace DayvaneWindowPlacement {

// Larger sides than this are damage, not a window.
inline constexpr double maximumSide = 100000;

// The one conversion between Qt's global y-down geometry and the global y-up space, and its inverse.
QRectF toGlobalYUp(const QRectF &qtRect, const QRectF &primaryQtGeometry);
QRectF toQtGlobal(const QRectF &yUp, const QRectF &primaryQtGeometry);

// A stored frame is applied only when its size is positive and sane and it overlaps at least one screen.
bool isUsable(const QRectF &frame, const std::vector<QRectF> &screens);

// The stored frame when usable; otherwise `created` centred on the primary screen's available area;
// without any screen, `created` as it is.
QRectF initialFrame(const std::optional<QRectF> &stored, const QRectF &created, const std::vector<QRectF> &screens,
                    const std::optional<QRectF> &primaryAvailable);

} // namespace DayvaneWindowPlacement
