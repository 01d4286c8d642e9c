#include "ZonePin.h"

#include <ClockCalendarShared/TovikCalendarGrid.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

const bool zonePinned = pinZone("Asia/Shanghai");

constexpr Instant day = 86400;

// Every grid is 42 consecutive Shanghai midnights with ids in order, whatever the month.
void expectConsecutiveMidnights(const TovikCalendarGrid &grid)
{
    ASSERT_EQ(grid.cells.size(), 42u);
    for (std::size_t i = 0; i < grid.cells.size(); ++i) {
        EXPECT_EQ(grid.cells[i].id, static_cast<std::int64_t>(i));
        EXPECT_EQ(std::fmod(grid.cells[i].date + 8 * 3600, day), 0.0) << i;
        if (i > 0) {
            EXPECT_EQ(grid.cells[i].date - grid.cells[i - 1].date, day) << i;
        }
    }
}

TEST(TovikCalendarGrid, MarchTwentyTwentySixStartsOnSunday)
{
    const auto grid = TovikCalendarGrid::make(instantAt(2026, 3, 17), instantAt(2026, 3, 5, 23, 30));
    expectConsecutiveMidnights(grid);
    for (int i = 0; i < 6; ++i) {
        EXPECT_FALSE(grid.cells[i].isCurrentMonth);
        EXPECT_EQ(grid.cells[i].day, 23 + i);
    }
    EXPECT_EQ(grid.cells[0].date, instantAt(2026, 2, 23, 0));
    EXPECT_EQ(grid.cells[6].day, 1);
    EXPECT_EQ(grid.cells[6].date, instantAt(2026, 3, 1, 0));
    EXPECT_TRUE(grid.cells[36].isCurrentMonth);
    EXPECT_EQ(grid.cells[36].day, 31);
    EXPECT_FALSE(grid.cells[37].isCurrentMonth);
    EXPECT_EQ(grid.weekRowCount(), 6);
    EXPECT_EQ(grid.monthName, "3月");
    EXPECT_EQ(grid.yearText, "2026年");
    EXPECT_EQ(grid.todayIndex, 10);
    EXPECT_EQ(grid.todayWeekRow, 1);
    EXPECT_TRUE(grid.cells[10].isToday);
    // 28 February is a makeup workday shown as a leading day.
    EXPECT_TRUE(grid.cells[5].isMakeupWorkday);
}

TEST(TovikCalendarGrid, FebruaryTwentyTwentySevenFillsFourRows)
{
    const auto grid = TovikCalendarGrid::make(instantAt(2027, 2, 28, 23, 59), instantAt(2030, 1, 1));
    expectConsecutiveMidnights(grid);
    EXPECT_EQ(grid.cells[0].date, instantAt(2027, 2, 1, 0));
    EXPECT_EQ(grid.cells[27].day, 28);
    EXPECT_TRUE(grid.cells[27].isCurrentMonth);
    for (int i = 28; i < 42; ++i) {
        EXPECT_FALSE(grid.cells[i].isCurrentMonth);
        EXPECT_EQ(grid.cells[i].day, i - 27);
    }
    EXPECT_EQ(grid.weekRowCount(), 4);
    EXPECT_EQ(grid.monthName, "2月");
    EXPECT_EQ(grid.cells[4].holidayName, "春节"); // 5 February
    EXPECT_EQ(grid.cells[7].holidayName, "春节"); // 8 February
    EXPECT_FALSE(grid.cells[8].holidayName.has_value());
    EXPECT_FALSE(grid.todayIndex.has_value());
    EXPECT_FALSE(grid.todayWeekRow.has_value());
}

TEST(TovikCalendarGrid, NeighbouringDaysCarryMakeupButNoHolidayName)
{
    const auto grid = TovikCalendarGrid::make(instantAt(2025, 12, 1, 0), instantAt(2026, 1, 1));
    expectConsecutiveMidnights(grid);
    // December 2025 starts on a Monday; 1 January 2026 sits at 31, 4 January at 34.
    EXPECT_EQ(grid.cells[0].day, 1);
    EXPECT_EQ(grid.cells[31].date, instantAt(2026, 1, 1, 0));
    EXPECT_FALSE(grid.cells[31].isCurrentMonth);
    EXPECT_FALSE(grid.cells[31].holidayName.has_value());
    EXPECT_TRUE(grid.cells[34].isMakeupWorkday);
    EXPECT_FALSE(grid.cells[34].holidayName.has_value());
    // Today is 1 January, a trailing cell: no today mark anywhere.
    EXPECT_FALSE(grid.todayIndex.has_value());
    EXPECT_FALSE(grid.todayWeekRow.has_value());
    for (const auto &cell : grid.cells)
        EXPECT_FALSE(cell.isToday);
    EXPECT_EQ(grid.weekRowCount(), 5);
    EXPECT_EQ(grid.monthName, "12月");
    EXPECT_EQ(grid.yearText, "2025年");
}

TEST(TovikCalendarGrid, TodayFifteenthOfFebruary)
{
    const auto grid = TovikCalendarGrid::make(instantAt(2026, 2, 3), instantAt(2026, 2, 15, 0, 0));
    expectConsecutiveMidnights(grid);
    EXPECT_EQ(grid.todayIndex, 20);
    EXPECT_EQ(grid.todayWeekRow, 2);
    int todayCells = 0;
    for (const auto &cell : grid.cells)
        todayCells += cell.isToday ? 1 : 0;
    EXPECT_EQ(todayCells, 1);
    EXPECT_EQ(grid.cells[20].holidayName, "春节");
    EXPECT_TRUE(grid.cells[19].isMakeupWorkday); // 14 February
    EXPECT_TRUE(grid.cells[33].isMakeupWorkday); // 28 February
    EXPECT_EQ(grid.weekRowCount(), 5);
}

TEST(TovikCalendarGrid, RowCountsAndTitles)
{
    struct Case {
        int year, month, rows;
        const char *monthName;
    };
    const Case cases[] = {
        {2026, 2, 5, "2月"}, {2026, 3, 6, "3月"}, {2026, 11, 6, "11月"}, // 30 days from a Sunday
        {2027, 2, 4, "2月"}, {2025, 6, 6, "6月"}, {2026, 8, 6, "8月"},   // 31 days from a Saturday
        {2026, 9, 5, "9月"}, {2028, 2, 5, "2月"},                        // 29-day February
    };
    for (const Case &c : cases) {
        const auto grid = TovikCalendarGrid::make(instantAt(c.year, c.month, 10), instantAt(c.year, c.month, 10));
        EXPECT_EQ(grid.weekRowCount(), c.rows) << c.year << '-' << c.month;
        EXPECT_EQ(grid.monthName, c.monthName);
        EXPECT_EQ(grid.yearText, std::to_string(c.year) + "年");
        ASSERT_TRUE(grid.todayIndex.has_value());
        EXPECT_EQ(grid.cells[*grid.todayIndex].day, 10);
        EXPECT_EQ(grid.weekdayTitles, TovikCalendarGrid::standardWeekdayTitles());
    }
    EXPECT_EQ(TovikCalendarGrid::standardWeekdayTitles(),
              (std::array<std::string, 7>{"周一", "周二", "周三", "周四", "周五", "周六", "周日"}));
}

TEST(TovikCalendarGrid, RowCountWithoutCurrentMonthCells)
{
    TovikCalendarGrid empty;
    EXPECT_EQ(empty.weekRowCount(), 4);
}

TEST(TovikCalendarGrid, UnusableInstantGivesFortyTwoInertCells)
{
    const auto grid = TovikCalendarGrid::make(std::nan(""), instantAt(2026, 2, 15));
    ASSERT_EQ(grid.cells.size(), 42u);
    for (const auto &cell : grid.cells) {
        EXPECT_EQ(cell.day, 0);
        EXPECT_FALSE(cell.isCurrentMonth || cell.isToday || cell.isMakeupWorkday);
    }
    EXPECT_FALSE(grid.todayIndex.has_value());
}

// The caption's precedence: official marks first, whether or not lunar captions are on; then the festival,
// the solar term and the lunar day. Each row is one day of its own month's grid.
TEST(TovikCalendarGrid, CaptionsAndLunarDates)
{
    using Kind = TovikCalendarCaption::Kind;
    struct Case {
        int year, month, day;
        bool showsLunar;
        const char *text;
        Kind kind;
        const char *lunarDate;
    };
    const Case cases[] = {
        {2026, 2, 14, true, "上班", Kind::makeupWorkday, "农历腊月廿七"},
        {2026, 2, 14, false, "上班", Kind::makeupWorkday, "农历腊月廿七"},
        {2026, 2, 17, true, "春节", Kind::holiday, "农历正月初一"},
        {2026, 6, 19, true, "端午节", Kind::holiday, "农历五月初五"},
        {2026, 10, 1, false, "国庆节", Kind::holiday, "农历八月廿一"},
        {2026, 12, 7, true, "大雪", Kind::solarTerm, "农历十月廿九"},
        {2026, 12, 7, false, "", Kind::none, "农历十月廿九"},
        {2026, 12, 9, true, "冬月", Kind::lunarDay, "农历冬月初一"},
        {2026, 12, 22, true, "冬至", Kind::solarTerm, "农历冬月十四"},
        {2026, 12, 23, true, "十五", Kind::lunarDay, "农历冬月十五"},
        {2027, 1, 15, true, "腊八节", Kind::festival, "农历腊月初八"},
        {2027, 2, 5, true, "春节", Kind::holiday, "农历腊月廿九"}, // 除夕 yields to the official break
        {2025, 7, 25, true, "闰六月", Kind::lunarDay, "农历闰六月初一"},
        {2025, 8, 2, true, "初九", Kind::lunarDay, "农历闰六月初九"}, // a leap month's 七夕 date is no festival
    };
    for (const Case &c : cases) {
        const auto grid = TovikCalendarGrid::make(instantAt(c.year, c.month, c.day), instantAt(2030, 1, 1));
        const auto cell = std::find_if(grid.cells.begin(), grid.cells.end(), [&](const TovikCalendarCellData &d) {
            return d.isCurrentMonth && d.day == c.day;
        });
        ASSERT_NE(cell, grid.cells.end());
        const TovikCalendarCaption caption = cell->caption(c.showsLunar);
        EXPECT_EQ(caption.text, c.text) << c.year << '-' << c.month << '-' << c.day;
        EXPECT_EQ(caption.kind, c.kind) << c.year << '-' << c.month << '-' << c.day;
        EXPECT_EQ(cell->lunarDateText(), c.lunarDate) << c.year << '-' << c.month << '-' << c.day;
    }
    // Days of the neighbouring months carry no caption, not even a makeup workday's (4 January 2026).
    const auto december = TovikCalendarGrid::make(instantAt(2025, 12, 1), instantAt(2030, 1, 1));
    EXPECT_EQ(december.cells[34].caption(true), TovikCalendarCaption{});
    EXPECT_FALSE(december.cells[34].lunarDay.has_value());
}

} // namespace
