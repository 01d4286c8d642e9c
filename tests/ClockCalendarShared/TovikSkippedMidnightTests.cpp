#include "ZonePin.h"

#include <ClockCalendarShared/TovikCalendarGrid.h>
#include <ClockCalendarShared/TovikGregorianCalendar.h>

#include <gtest/gtest.h>

#include <set>

// In this program the process lives in São Paulo, where summer time began on 2018-11-04 at midnight:
// 00:00 to 00:59 of that day never happened.
namespace {

const bool zonePinned = pinZone("America/Sao_Paulo");

const Instant firstInstantOfNovemberFourth = instantAt(2018, 11, 4, 1, 0, -2); // 03:00 UTC

TEST(TovikSkippedMidnight, DayStartsAtFirstValidInstant)
{
    EXPECT_EQ(TovikGregorianCalendar::date(2018, 11, 4), firstInstantOfNovemberFourth);
    EXPECT_EQ(TovikGregorianCalendar::startOfDay(instantAt(2018, 11, 4, 15, 0, -2)), firstInstantOfNovemberFourth);
    EXPECT_EQ(TovikGregorianCalendar::addingDays(instantAt(2018, 11, 3, 0, 0, -3), 1), firstInstantOfNovemberFourth);
    EXPECT_EQ(TovikGregorianCalendar::addingDays(firstInstantOfNovemberFourth, 1), instantAt(2018, 11, 5, 1, 0, -2));
    EXPECT_EQ(TovikGregorianCalendar::components(firstInstantOfNovemberFourth - 1).day, 3);
    EXPECT_EQ(TovikGregorianCalendar::components(firstInstantOfNovemberFourth).day, 4);
    EXPECT_EQ(TovikGregorianCalendar::daysBetween(instantAt(2018, 11, 3, 0, 0, -3), instantAt(2018, 11, 5, 0, 0, -2)),
              2);
    EXPECT_TRUE(
        TovikGregorianCalendar::mayChangeOffset(instantAt(2018, 11, 1, 0, 0, -3), instantAt(2018, 11, 5, 0, 0, -2)));
    EXPECT_FALSE(
        TovikGregorianCalendar::mayChangeOffset(instantAt(2018, 12, 1, 0, 0, -2), instantAt(2019, 1, 5, 0, 0, -2)));
}

// Local midnight repeats at the end of summer time (2019-02-16 24:00 went back to 23:00): a 25-hour day.
TEST(TovikSkippedMidnight, LongDayAtTheEndOfSummerTime)
{
    const Instant sixteenth = instantAt(2019, 2, 16, 0, 0, -2);
    EXPECT_EQ(TovikGregorianCalendar::addingDays(sixteenth, 1), instantAt(2019, 2, 17, 0, 0, -3));
    EXPECT_EQ(TovikGregorianCalendar::components(instantAt(2019, 2, 16, 23, 30, -3)).day, 16);
    EXPECT_TRUE(TovikGregorianCalendar::isSameDay(sixteenth, instantAt(2019, 2, 16, 23, 30, -3)));
}

void expectConsecutiveDays(const TovikCalendarGrid &grid, int firstDay)
{
    ASSERT_EQ(grid.cells.size(), 42u);
    std::set<Instant> dates;
    int expectedDay = firstDay;
    for (std::size_t i = 0; i < grid.cells.size(); ++i) {
        const auto &cell = grid.cells[i];
        dates.insert(cell.date);
        EXPECT_EQ(TovikGregorianCalendar::startOfDay(cell.date), cell.date) << i;
        if (i > 0) {
            const Instant step = cell.date - grid.cells[i - 1].date;
            EXPECT_TRUE(step == 82800 || step == 86400 || step == 90000) << i << " " << step;
            if (cell.day != 1) {
                EXPECT_EQ(cell.day, expectedDay) << i;
            }
        }
        expectedDay = cell.day + 1;
    }
    EXPECT_EQ(dates.size(), 42u);
}

TEST(TovikSkippedMidnight, NovemberGridKeepsEveryDayOnce)
{
    const auto grid = TovikCalendarGrid::make(instantAt(2018, 11, 20, 12, 0, -2), instantAt(2018, 11, 4, 9, 0, -2));
    expectConsecutiveDays(grid, 29);
    // 1 November 2018 was a Thursday: 29 to 31 October lead.
    EXPECT_EQ(grid.cells[0].day, 29);
    EXPECT_EQ(grid.cells[3].day, 1);
    EXPECT_EQ(grid.cells[6].date, firstInstantOfNovemberFourth);
    EXPECT_EQ(grid.cells[6].day, 4);
    EXPECT_EQ(grid.cells[7].date, instantAt(2018, 11, 5, 0, 0, -2));
    EXPECT_EQ(grid.cells[32].day, 30);
    EXPECT_EQ(grid.cells[41].day, 9);
    EXPECT_EQ(grid.todayIndex, 6);
    EXPECT_EQ(grid.todayWeekRow, 0);
    EXPECT_EQ(grid.weekRowCount(), 5);
    EXPECT_EQ(grid.monthName, "11月");
}

TEST(TovikSkippedMidnight, FebruaryGridAcrossTheLongDay)
{
    const auto grid = TovikCalendarGrid::make(instantAt(2019, 2, 1, 12, 0, -2), 0);
    // 1 February 2019 was a Friday: 28 to 31 January lead.
    expectConsecutiveDays(grid, 28);
    EXPECT_EQ(grid.cells[4].day, 1);
    EXPECT_EQ(grid.cells[20].day, 17);
    EXPECT_EQ(grid.cells[20].date, instantAt(2019, 2, 17, 0, 0, -3));
}

} // namespace
