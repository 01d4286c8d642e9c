#pragma once

#include "Instant.h"

#include <optional>

// Gregorian date arithmetic in the time zone the process had when it first asked (Monday first, zh_CN),
// shared by the month grid, the holiday table and the calendar views so that all of them agree on days.
namespace TovikGregorianCalendar {

struct YearMonthDay {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 31

    bool operator==(const YearMonthDay &) const = default;
};

YearMonthDay components(Instant instant);
int weekday(Instant instant); // 1 = Sunday … 7 = Saturday
// Local midnight of a day; none if the date cannot be formed.
std::optional<Instant> date(int year, int month, int day);
Instant startOfDay(Instant instant);
Instant firstOfMonth(Instant instant);
std::optional<Instant> addingDays(Instant instant, int days);
std::optional<Instant> addingMonths(Instant instant, int months);
bool isSameDay(Instant a, Instant b);
// Whole days from a to b (negative when b is earlier); none when it cannot be computed.
std::optional<int> daysBetween(Instant a, Instant b);
// Whether the zone's offset may change from `from` up to and including `to` (true when unknown), so that
// callers may step whole days of 86400 s where it cannot.
bool mayChangeOffset(Instant from, Instant to);

} // namespace TovikGregorianCalendar
