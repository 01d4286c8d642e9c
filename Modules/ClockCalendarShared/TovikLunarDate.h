#pragma once

#include "Instant.h"

#include <string>

// The short Chinese texts the clock shows under the time: the Gregorian date, the weekday, and the lunar
// date with its cyclic year. Every call follows the system time zone as it is at that moment.
namespace TovikLunarDate {

std::string dateText(Instant instant);      // 2026-02-17
std::string weekdayText(Instant instant);   // 星期二
std::string lunarText(Instant instant);     // 丙午年正月初一, 乙巳年闰六月十五
std::string clockSubtitle(Instant instant); // 丙午年正月初一 星期二

} // namespace TovikLunarDate
