#pragma once

#include <ClockCalendarShared/Instant.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>

// Test helpers: calendars take the host zone at first use (and another only when told to follow the host),
// so a test program pins TZ at static initialisation, before any test asks a calendar anything.
inline bool pinZone(const char *zone)
{
    setenv("TZ", zone, 1);
    tzset();
    return true;
}

// The instant of a civil date and time at a fixed UTC offset (hours), without asking any calendar.
inline Instant instantAt(int year, int month, int day, int hour = 12, int minute = 0, double offsetHours = 8)
{
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t days = era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
    return static_cast<Instant>(days * 86400 + hour * 3600 + minute * 60) - offsetHours * 3600;
}
