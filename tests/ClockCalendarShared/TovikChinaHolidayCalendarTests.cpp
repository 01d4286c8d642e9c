#include "ZonePin.h"

#include <ClockCalendarShared/TovikChinaHolidayCalendar.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

const bool zonePinned = pinZone("Asia/Shanghai");

struct DayCase {
    int year, month, day;
    const char *holiday; // nullptr: none
    bool makeup;
    bool workday;
};

// Each listed day is asked at 00:00, at noon and at 23:59 local time.
const DayCase dayCases[] = {
    {2026, 1, 1, "元旦", false, false},    {2026, 1, 3, "元旦", false, false},
    {2026, 1, 4, nullptr, true, true},   // Sunday worked
    {2026, 2, 13, nullptr, false, true}, // Friday before the break
    {2026, 2, 14, nullptr, true, true},  // Saturday worked
    {2026, 2, 15, "春节", false, false}, // Sunday, first holiday
    {2026, 2, 18, "春节", false, false}, // Wednesday off
    {2026, 2, 23, "春节", false, false}, // Monday, still off
    {2026, 2, 24, nullptr, false, true},   {2026, 2, 28, nullptr, true, true},
    {2026, 4, 4, "清明节", false, false},  {2026, 4, 6, "清明节", false, false},
    {2026, 4, 7, nullptr, false, true},    {2026, 5, 5, "劳动节", false, false},
    {2026, 5, 9, nullptr, true, true},     {2026, 6, 19, "端午节", false, false},
    {2026, 6, 21, "端午节", false, false}, {2026, 6, 22, nullptr, false, true},
    {2026, 9, 20, nullptr, true, true},    {2026, 9, 25, "中秋节", false, false},
    {2026, 9, 27, "中秋节", false, false}, {2026, 9, 30, nullptr, false, true},
    {2026, 10, 1, "国庆节", false, false}, {2026, 10, 7, "国庆节", false, false},
    {2026, 10, 8, nullptr, false, true},   // Thursday after the break
    {2026, 10, 10, nullptr, true, true},   // Saturday worked
    {2026, 10, 11, nullptr, false, false}, // Sunday
    {2026, 12, 31, nullptr, false, true},  {2027, 1, 1, "元旦", false, false},
    {2027, 1, 2, nullptr, false, false}, // Saturday, no makeup days in 2027
    {2027, 2, 4, nullptr, false, true},    {2027, 2, 5, "春节", false, false},
    {2027, 2, 8, "春节", false, false},    {2027, 2, 9, nullptr, false, true},
    {2027, 4, 5, "清明节", false, false},  {2027, 5, 1, "劳动节", false, false},
    {2027, 5, 2, "劳动节", false, false},  {2027, 6, 9, "端午节", false, false},
    {2027, 6, 10, nullptr, false, true},   {2027, 6, 12, nullptr, false, false}, // Saturday
    {2027, 9, 15, "中秋节", false, false}, {2027, 10, 3, "国庆节", false, false},
    {2027, 10, 4, nullptr, false, true},   {2025, 1, 1, nullptr, false, true}, // not in the table: a Wednesday
    {2025, 10, 1, nullptr, false, true},   {2028, 1, 28, nullptr, false, true},
};

TEST(TovikChinaHolidayCalendar, ListedDaysAtEveryHour)
{
    for (const DayCase &c : dayCases) {
        for (const auto &[hour, minute] : {std::pair{0, 0}, std::pair{12, 0}, std::pair{23, 59}}) {
            const Instant at = instantAt(c.year, c.month, c.day, hour, minute);
            SCOPED_TRACE(testing::Message()
                         << c.year << '-' << c.month << '-' << c.day << ' ' << hour << ':' << minute);
            const auto name = TovikChinaHolidayCalendar::holidayName(at);
            EXPECT_EQ(name, c.holiday ? std::optional<std::string>(c.holiday) : std::nullopt);
            EXPECT_EQ(TovikChinaHolidayCalendar::isMakeupWorkday(at), c.makeup);
            EXPECT_EQ(TovikChinaHolidayCalendar::isWorkday(at), c.workday);
        }
    }
}

// Walks 2025 to 2028 day by day and checks the table as a whole: counts per year and name, no stray marks.
TEST(TovikChinaHolidayCalendar, FourYearsDayByDay)
{
    std::map<int, int> holidaysPerYear;
    std::map<std::string, int> daysPerName;
    std::set<int> makeupDays;
    int weekday = 4; // 2025-01-01 was a Wednesday (1 = Sunday)
    for (int year = 2025; year <= 2028; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const int length = month == 2 ? (year % 4 == 0 ? 29 : 28)
                                          : (month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31);
            for (int day = 1; day <= length; ++day, weekday = weekday % 7 + 1) {
                const Instant at = instantAt(year, month, day, 9);
                const auto name = TovikChinaHolidayCalendar::holidayName(at);
                const bool makeup = TovikChinaHolidayCalendar::isMakeupWorkday(at);
                const bool weekend = weekday == 1 || weekday == 7;
                if (name) {
                    ++holidaysPerYear[year];
                    ++daysPerName[*name];
                }
                if (makeup) {
                    makeupDays.insert(year * 10000 + month * 100 + day);
                    EXPECT_TRUE(weekend) << year << '-' << month << '-' << day;
                    EXPECT_FALSE(name.has_value());
                }
                const bool expected = makeup || (!name && !weekend);
                EXPECT_EQ(TovikChinaHolidayCalendar::isWorkday(at), expected) << year << '-' << month << '-' << day;
            }
        }
    }
    EXPECT_EQ(holidaysPerYear, (std::map<int, int>{{2026, 33}, {2027, 13}}));
    EXPECT_EQ(
        daysPerName,
        (std::map<std::string, int>{
            {"元旦", 4}, {"春节", 13}, {"清明节", 4}, {"劳动节", 7}, {"端午节", 4}, {"中秋节", 4}, {"国庆节", 10}}));
    EXPECT_EQ(makeupDays, (std::set<int>{20260104, 20260214, 20260228, 20260509, 20260920, 20261010}));
}

} // namespace
