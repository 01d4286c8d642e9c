#pragma once

#include "Instant.h"

#include <optional>

// Gregorian date arithmetic in the host's time zone (Monday first, zh_CN), shared by the month grid, the
// holiday table, the calendar views and the clock so that all of them agree on days. The zone is the one
// detected at first use and again at each followHostZone(), which the views call as they tick.
namespace TovikGregorianCalendar {

struct YearMonthDay {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 31

    bool operator==(const YearMonthDay &) const = default;
};

struct TimeOfDay {
    int hour = 0;   // 0 to 23
    int minute = 0; // 0 to 59
    int second = 0; // 0 to 59

    bool operator==(const TimeOfDay &) const = default;
};

// Detects the host zone again and, when it differs from the one in use, answers every later question in
// it. Returns the zone generation, which grows at each switch: what was computed in an older generation
// (local midnights, a month's first day) is stale.
unsigned followHostZone();
unsigned zoneGeneration();

YearMonthDay components(Instant instant);
TimeOfDay timeOfDay(Instant instant);
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
