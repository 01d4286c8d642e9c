#pragma once

#include "Instant.h"
#include "TovikGregorianCalendar.h"

#include <optional>
#include <string>

// Mainland-China statutory holidays and makeup workdays: built in for the years the program ships with
// (2026, 2027), and read from YEAR.json files (TovikHolidayFiles) for any year, a file replacing the built-in
// table of its year. Years with neither follow the Monday-to-Friday rule alone. Safe from any thread.
namespace TovikChinaHolidayCalendar {

std::optional<std::string> holidayName(Instant day);
bool isMakeupWorkday(Instant day);
bool isWorkday(Instant day);

// The same questions for a day already broken into its date (the month grid has it at hand).
std::optional<std::string> holidayName(const TovikGregorianCalendar::YearMonthDay &day);
bool isMakeupWorkday(const TovikGregorianCalendar::YearMonthDay &day);

// Looks for added, changed or removed files again at the next question; the day check and the calendar's
// page changes call it, so files put in place while the program runs are followed.
void reloadArrangements();

} // namespace TovikChinaHolidayCalendar
