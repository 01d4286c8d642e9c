#include "ZonePin.h"

#include <ClockCalendarShared/TovikCalendarGrid.h>
#include <ClockCalendarShared/TovikGregorianCalendar.h>

#include <gtest/gtest.h>

// In this program the process lives in Asunción, where summer time began on 2017-10-01 at midnight: the
// month's first day starts at 01:00, and adding days to it keeps that wall time.
namespace {

const bool zonePinned = pinZone("America/Asuncion");

TEST(TovikSkippedFirstOfMonth, GridCellsAreDayStarts)
{
    const Instant firstOfOctober = instantAt(2017, 10, 1, 1, 0, -3);
    EXPECT_EQ(TovikGregorianCalendar::date(2017, 10, 1), firstOfOctober);
    const auto grid = TovikCalendarGrid::make(instantAt(2017, 10, 15, 12, 0, -3), firstOfOctober);
    ASSERT_EQ(grid.cells.size(), 42u);
    // 1 October 2017 was a Sunday: 25 to 30 September lead, at midnight of summer-less time.
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(grid.cells[i].date, instantAt(2017, 9, 25 + i, 0, 0, -4)) << i;
        EXPECT_EQ(grid.cells[i].day, 25 + i);
    }
    EXPECT_EQ(grid.cells[6].date, firstOfOctober);
    for (int i = 7; i < 37; ++i) {
        EXPECT_EQ(grid.cells[i].date, instantAt(2017, 10, i - 5, 0, 0, -3)) << i;
        EXPECT_TRUE(grid.cells[i].isCurrentMonth);
    }
    EXPECT_EQ(grid.todayIndex, 6);
    EXPECT_EQ(grid.weekRowCount(), 6);
}

} // namespace
