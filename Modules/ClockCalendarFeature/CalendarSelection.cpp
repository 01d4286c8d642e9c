#include "CalendarSelection.h"

#include <ClockCalendarShared/TovikGregorianCalendar.h>

#include <algorithm>

namespace CalendarSelection {

namespace {

constexpr int columns = 7;

bool isSelected(const Positions &selected, int position)
{
    return position >= 0 && position < positionCount && selected.test(position);
}

} // namespace

unsigned cornerMask(const Positions &selected, int position)
{
    if (!isSelected(selected, position)) {
        return 0;
    }
    const bool left = position % columns != 0 && isSelected(selected, position - 1);
    const bool right = position % columns != columns - 1 && isSelected(selected, position + 1);
    const bool above = isSelected(selected, position - columns);
    const bool below = isSelected(selected, position + columns);
    unsigned mask = 0;
    if (!left && !above) {
        mask |= topLeft;
    }
    if (!right && !above) {
        mask |= topRight;
    }
    if (!left && !below) {
        mask |= bottomLeft;
    }
    if (!right && !below) {
        mask |= bottomRight;
    }
    return mask;
}

std::array<unsigned, positionCount> cornerMasks(const Positions &selected)
{
    std::array<unsigned, positionCount> masks{};
    for (int p = 0; p < positionCount; ++p) {
        masks[p] = cornerMask(selected, p);
    }
    return masks;
}

std::optional<int> workdayLabelPosition(const Positions &selected)
{
    for (int p = 0; p < positionCount; ++p) {
        if (selected.test(p)) {
            const int rowEnd = (p / columns + 1) * columns;
            int rightMost = p;
            for (int q = p + 1; q < rowEnd; ++q) {
                if (selected.test(q)) {
                    rightMost = q;
                }
            }
            return rightMost;
        }
    }
    return std::nullopt;
}

std::vector<Instant> dayRange(Instant from, Instant to)
{
    const Instant lo = std::min(from, to);
    const Instant hi = std::max(from, to);
    int days = TovikGregorianCalendar::daysBetween(lo, hi).value_or(0);
    days = std::max(days, 0);
    std::vector<Instant> range;
    range.reserve(static_cast<std::size_t>(days) + 1);
    for (int i = 0; i <= days; ++i) {
        if (const std::optional<Instant> day = TovikGregorianCalendar::addingDays(lo, i)) {
            range.push_back(*day);
        }
    }
    return range;
}

} // namespace CalendarSelection
