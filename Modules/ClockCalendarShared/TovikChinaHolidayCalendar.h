#pragma once

#include "Instant.h"
#include "TovikGregorianCalendar.h"

#include <optional>
#include <string>

// Mainland-China statutory holidays and makeup workdays of the years the program ships with (2026, 2027);
// other years follow the Monday-to-Friday rule alone. Days are read in the time zone of first use.
namespace TovikChinaHolidayCalendar {

std::optional<std::string> holidayName(Instant day);
bool isMakeupWorkday(Instant day);
bool isWorkday(Instant day);

// The same questions for a day already broken into its date (the month grid has it at hand).
std::optional<std::string> holidayName(const TovikGregorianCalendar::YearMonthDay &day);
bool isMakeupWorkday(const TovikGregorianCalendar::YearMonthDay &day);

} // namespace TovikChinaHolidayCalendar
