#include "WidgetPlacement.h"

#include <algorithm>

namespace WidgetPlacement {

QPoint newWidgetPosition(const QRect &available, const QSize &size, const std::vector<QRect> &placed)
{
    const int top = available.top() + margin;
    const int bottom = available.bottom() + 1 - margin;
    const QPoint topRight(available.right() + 1 - margin - size.width(), top);
    for (int x = topRight.x(); x >= available.left() + margin; x -= size.width() + spacing) {
        int y = top;
        while (y + size.height() <= bottom) {
            // Grown by the spacing, so neighbours in a column keep their distance.
            const QRect slot = QRect(QPoint(x, y), size).adjusted(-spacing + 1, -spacing + 1, spacing - 1, spacing - 1);
            int below = y;
            for (const QRect &other : placed) {
                if (other.intersects(slot)) {
                    below = std::max(below, other.bottom() + 1 + spacing);
                }
            }
            if (below == y) {
                return {x, y};
            }
            y = below;
        }
    }
    return topRight;
}

QPoint clampedOnto(const QRect &frame, const std::vector<QRect> &available)
{
    if (available.empty()) {
        return frame.topLeft();
    }
    const auto overlap = [&frame](const QRect &area) {
        const QRect common = area.intersected(frame);
        return static_cast<long long>(common.width()) * common.height();
    };
    const auto most = std::max_element(available.begin(), available.end(),
                                       [&](const QRect &a, const QRect &b) { return overlap(a) < overlap(b); });
    const QRect area = overlap(*most) > 0 ? *most : available.front();
    // A widget larger than the area keeps its top-left corner on it.
    const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    return {x, y};
}

} // namespace WidgetPlacement
