#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

// Where placed widgets go on the desktop, in Qt's global coordinates: the slot a new widget takes and the
// place a remembered widget comes back to when the screens have changed.
namespace WidgetPlacement {

// Between a widget and the edge of the screen's available area, and between two widgets of a column.
inline constexpr int margin = 16;
inline constexpr int spacing = 12;

// The first free slot for a widget of `size` in a column at the right of `available`, top down, then in
// further columns leftwards; the top-right slot when the area is full.
QPoint newWidgetPosition(const QRect &available, const QSize &size, const std::vector<QRect> &placed);

// The top-left that keeps `frame` wholly on the available area it overlaps most, or on the first area
// (the primary screen's) when it overlaps none. `frame` itself when there is no area at all.
QPoint clampedOnto(const QRect &frame, const std::vector<QRect> &available);

} // namespace WidgetPlacement
