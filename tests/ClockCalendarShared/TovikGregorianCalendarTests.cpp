#include "ZonePin.h"

#include <ClockCalendarShared/TovikGregorianCalendar.h>

#include <gtest/gtest.h>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include <cmath>
#include <random>

namespace TovikGregorianCalendar {
void PrintTo(const YearMonthDay &d, std::ostream *out)
{
    *out << d.year << '-' << d.month << '-' << d.day;
}
} // namespace TovikGregorianCalendar

namespace {

const bool zonePinned = pinZone("Asia/Shanghai");

using TovikGregorianCalendar::YearMonthDay;

TEST(TovikGregorianCalendar, ComponentsAroundLocalMidnight)
{
    EXPECT_EQ(TovikGregorianCalendar::components(instantAt(2026, 2, 17, 0, 0)), (YearMonthDay{2026, 2, 17}));
    EXPECT_EQ(TovikGregorianCalendar::components(instantAt(2026, 2, 17, 0, 0) - 1), (YearMonthDay{2026, 2, 16}));
    EXPECT_EQ(TovikGregorianCalendar::components(instantAt(2026, 12, 31, 23, 59)), (YearMonthDay{2026, 12, 31}));
    EXPECT_EQ(TovikGregorianCalendar::components(instantAt(2028, 2, 29, 7)), (YearMonthDay{2028, 2, 29}));
    // 1970-01-01 00:00 UTC is already 08:00 in Beijing; an instant just before it is still 1 January.
    EXPECT_EQ(TovikGregorianCalendar::components(-1), (YearMonthDay{1970, 1, 1}));
    EXPECT_EQ(TovikGregorianCalendar::components(-8 * 3600 - 1), (YearMonthDay{1969, 12, 31}));
    EXPECT_EQ(TovikGregorianCalendar::weekday(instantAt(2026, 2, 17)), 3); // Tuesday
    EXPECT_EQ(TovikGregorianCalendar::weekday(instantAt(2026, 3, 1, 0)), 1);
    EXPECT_EQ(TovikGregorianCalendar::weekday(instantAt(2026, 2, 28, 23, 59)), 7);
}

// The fast arithmetic must agree with ICU's own Gregorian calendar for instants far apart, across the
// years when Beijing kept summer time (1986 to 1991) and before 1970.
TEST(TovikGregorianCalendar, AgreesWithIcuOverTwoCenturies)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar reference(icu::TimeZone::createTimeZone("Asia/Shanghai"), status);
    ASSERT_TRUE(U_SUCCESS(status));
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> offset(0, 86400.0 * 5);
    for (Instant at = instantAt(1890, 1, 1); at < instantAt(2110, 1, 1); at += 86400.0 * 3 + offset(random)) {
        reference.setTime(at * 1000, status);
        const YearMonthDay expected{reference.get(UCAL_YEAR, status), reference.get(UCAL_MONTH, status) + 1,
                                    reference.get(UCAL_DATE, status)};
        ASSERT_EQ(TovikGregorianCalendar::components(at), expected) << std::fixed << at;
        ASSERT_EQ(TovikGregorianCalendar::weekday(at), reference.get(UCAL_DAY_OF_WEEK, status)) << std::fixed << at;
    }
    ASSERT_TRUE(U_SUCCESS(status));
}

TEST(TovikGregorianCalendar, DateFormsOnlyRealDays)
{
    EXPECT_EQ(TovikGregorianCalendar::date(2026, 2, 17), instantAt(2026, 2, 17, 0));
    EXPECT_EQ(TovikGregorianCalendar::date(2028, 2, 29), instantAt(2028, 2, 29, 0));
    EXPECT_FALSE(TovikGregorianCalendar::date(2027, 2, 29).has_value());
    EXPECT_FALSE(TovikGregorianCalendar::date(2026, 4, 31).has_value());
    EXPECT_FALSE(TovikGregorianCalendar::date(2026, 13, 1).has_value());
    EXPECT_FALSE(TovikGregorianCalendar::date(2026, 0, 1).has_value());
    EXPECT_FALSE(TovikGregorianCalendar::date(2026, 1, 0).has_value());
}

TEST(TovikGregorianCalendar, DayAndMonthArithmetic)
{
    const Instant evening = instantAt(2026, 1, 31, 18, 30);
    EXPECT_EQ(TovikGregorianCalendar::startOfDay(evening), instantAt(2026, 1, 31, 0));
    EXPECT_EQ(TovikGregorianCalendar::firstOfMonth(evening), instantAt(2026, 1, 1, 0));
    EXPECT_EQ(TovikGregorianCalendar::addingDays(evening, 1), instantAt(2026, 2, 1, 18, 30));
    EXPECT_EQ(TovikGregorianCalendar::addingDays(evening, -31), instantAt(2025, 12, 31, 18, 30));
    EXPECT_EQ(TovikGregorianCalendar::addingMonths(evening, 1), instantAt(2026, 2, 28, 18, 30)); // clamped
    EXPECT_EQ(TovikGregorianCalendar::addingMonths(evening, -2), instantAt(2025, 11, 30, 18, 30));
    EXPECT_EQ(TovikGregorianCalendar::addingMonths(evening, 13), instantAt(2027, 2, 28, 18, 30));
}

TEST(TovikGregorianCalendar, SameDayAndDaysBetween)
{
    EXPECT_TRUE(TovikGregorianCalendar::isSameDay(instantAt(2026, 2, 17, 0, 0), instantAt(2026, 2, 17, 23, 59)));
    EXPECT_FALSE(TovikGregorianCalendar::isSameDay(instantAt(2026, 2, 17, 23, 59), instantAt(2026, 2, 18, 0, 0)));
    // Same UTC day, different Beijing days.
    EXPECT_FALSE(TovikGregorianCalendar::isSameDay(instantAt(2026, 2, 17, 7, 0, 0), instantAt(2026, 2, 17, 17, 0, 0)));
    EXPECT_EQ(TovikGregorianCalendar::daysBetween(instantAt(2026, 2, 1, 0), instantAt(2026, 3, 1, 0)), 28);
    EXPECT_EQ(TovikGregorianCalendar::daysBetween(instantAt(2026, 3, 1, 0), instantAt(2026, 2, 1, 0)), -28);
    EXPECT_EQ(TovikGregorianCalendar::daysBetween(instantAt(2026, 2, 1, 10), instantAt(2026, 2, 2, 9)), 0);
    EXPECT_EQ(TovikGregorianCalendar::daysBetween(instantAt(2025, 1, 1, 0), instantAt(2029, 1, 1, 0)), 1461);
    EXPECT_FALSE(TovikGregorianCalendar::daysBetween(std::nan(""), 0).has_value());
}

TEST(TovikGregorianCalendar, UnusableInstantsDoNotCrash)
{
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(TovikGregorianCalendar::components(nan).month, 0);
    EXPECT_EQ(TovikGregorianCalendar::weekday(inf), 0);
    EXPECT_FALSE(TovikGregorianCalendar::addingDays(nan, 1).has_value());
    EXPECT_FALSE(TovikGregorianCalendar::isSameDay(nan, nan));
    EXPECT_TRUE(std::isnan(TovikGregorianCalendar::startOfDay(nan)));
}

// Before 15 October 1582 the calendar is Julian; the fast path must hand over exactly at the change.
TEST(TovikGregorianCalendar, JulianChangeOver)
{
    const auto firstGregorian = TovikGregorianCalendar::date(1582, 10, 15);
    ASSERT_TRUE(firstGregorian.has_value());
    EXPECT_EQ(TovikGregorianCalendar::components(*firstGregorian), (YearMonthDay{1582, 10, 15}));
    EXPECT_EQ(TovikGregorianCalendar::components(*firstGregorian - 1), (YearMonthDay{1582, 10, 4}));
    EXPECT_EQ(TovikGregorianCalendar::addingDays(*firstGregorian, -1), TovikGregorianCalendar::date(1582, 10, 4));
}

} // namespace

// The host zone changes while the program runs: nothing changes until the zone is followed, then every
// question is answered in the new zone and the generation tells that older local midnights are stale.
TEST(TovikGregorianCalendar, FollowsTheHostZoneWhenAsked)
{
    using namespace TovikGregorianCalendar;
    const Instant instant = instantAt(2026, 3, 11, 7, 30); // 2026-03-10 16:30 in Los Angeles (UTC-7)
    const unsigned before = followHostZone();
    EXPECT_EQ(followHostZone(), before) << "the same zone is no change";
    EXPECT_EQ(components(instant), (YearMonthDay{2026, 3, 11}));

    pinZone("America/Los_Angeles");
    EXPECT_EQ(components(instant), (YearMonthDay{2026, 3, 11})) << "not followed yet";
    const unsigned after = followHostZone();
    EXPECT_GT(after, before);
    EXPECT_EQ(zoneGeneration(), after);
    EXPECT_EQ(components(instant), (YearMonthDay{2026, 3, 10}));
    EXPECT_EQ(timeOfDay(instant), (TimeOfDay{16, 30, 0}));
    EXPECT_EQ(startOfDay(instant), instantAt(2026, 3, 10, 0, 0, -7));
    EXPECT_EQ(date(2026, 3, 1), instantAt(2026, 3, 1, 0, 0, -8)); // still standard time on the 1st
    EXPECT_TRUE(mayChangeOffset(instantAt(2026, 11, 1, 0, 0, -7), instantAt(2026, 11, 2, 0, 0, -8)));

    pinZone("Asia/Shanghai");
    EXPECT_GT(followHostZone(), after);
    EXPECT_EQ(timeOfDay(instant), (TimeOfDay{7, 30, 0}));
    EXPECT_FALSE(mayChangeOffset(instantAt(2026, 11, 1, 0, 0), instantAt(2026, 11, 2, 0, 0)));
}
