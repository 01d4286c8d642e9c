#pragma once

#include <ClockCalendarShared/Instant.h>

#include <array>
#include <bitset>
#include <optional>
#include <vector>

// The shape of a selection in a 6 x 7 month grid (row-major, row 0 at the top): which corners of each
// selected day are rounded so that a run of days reads as one outline, and where the workday count goes.
namespace CalendarSelection {

inline constexpr int positionCount = 42;
using Positions = std::bitset<positionCount>;

// Corner bits with y growing upwards, as the cells keep them.
enum Corner : unsigned {
    bottomLeft = 1,
    bottomRight = 2,
    topLeft = 4,
    topRight = 8,
};

// A corner is rounded when neither of the two days that share its edges is selected; 0 for an unselected day.
unsigned cornerMask(const Positions &selected, int position);
std::array<unsigned, positionCount> cornerMasks(const Positions &selected);

// The right-most selected day of the top-most selected row; none for an empty selection.
std::optional<int> workdayLabelPosition(const Positions &selected);

// Every day from the earlier to the later of two days, both included, each at its local midnight.
std::vector<Instant> dayRange(Instant from, Instant to);

} // namespace CalendarSelection
