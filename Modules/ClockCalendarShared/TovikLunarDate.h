#pragma once

#include "Instant.h"

#include <optional>
#include <string>

// The short Chinese texts the clock shows under the time: the Gregorian date, the weekday, and the lunar
// date with its cyclic year. Every call follows the system time zone as it is at that moment.
namespace TovikLunarDate {

std::string dateText(Instant instant);      // 2026-02-17
std::string weekdayText(Instant instant);   // 星期二
std::string lunarText(Instant instant);     // 丙午年正月初一, 乙巳年闰六月十五
std::string clockSubtitle(Instant instant); // 丙午年正月初一 星期二

// A day of the lunar calendar as the official Chinese calendar has it.
struct LunarDay {
    int month = 0; // 1 to 12
    bool isLeapMonth = false;
    int day = 0; // 1 to 30
    bool isLastDayOfMonth = false;

    bool operator==(const LunarDay &) const = default;
};

// The lunar day of the civil day holding `instant` in the zone the month grid uses (TovikGregorianCalendar).
// The lunar date follows from the civil date alone, so a date reads the same in every zone. None where ICU
// cannot tell.
std::optional<LunarDay> lunarDay(Instant instant);
std::string dayName(int day);               // 初一 … 三十
std::string monthName(const LunarDay &day); // 正月, 闰六月, 冬月, 腊月
// What a day cell shows: the month's name on its first day (闰六月), else the day's (初二).
std::string cellText(Instant instant);

} // namespace TovikLunarDate
