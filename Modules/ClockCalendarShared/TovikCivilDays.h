#pragma once

#include <cstdint>

// Proleptic Gregorian arithmetic on day numbers (days since 1970-01-01), for the hot paths that would
// otherwise ask an ICU calendar under a lock. Valid from the Gregorian cut-over on.
namespace TovikCivilDays {

struct Civil {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 31
};

constexpr Civil civilFromDays(std::int64_t days)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

constexpr std::int64_t daysFromCivil(int year, int month, int day)
{
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// 1 = Sunday … 7 = Saturday; day 0 was a Thursday.
constexpr int weekdayOfDays(std::int64_t days)
{
    return static_cast<int>(((days % 7) + 7 + 4) % 7) + 1;
}

constexpr bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int daysInMonth(int year, int month)
{
    constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

// The integer day key yyyymmdd, e.g. 20260215 for 2026-02-15.
constexpr int dayKey(int year, int month, int day)
{
    return year * 10000 + month * 100 + day;
}

} // namespace TovikCivilDays
