#include "TovikGregorianCalendar.h"

#include "TovikCivilDays.h"
#include "TovikHostTimeZone.h"

#include <unicode/basictz.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <mutex>
#include <vector>

namespace TovikGregorianCalendar {
namespace {

constexpr double millisPerDay = 86400000.0;
// Before the Julian-Gregorian cut-over (1582-10-15) and far in the future ICU's own arithmetic is asked;
// in between the zone offset plus proleptic Gregorian arithmetic give the same fields much faster.
constexpr double fastRangeStart = -12219292800000.0;
constexpr double fastRangeEnd = 253402300800000.0; // 10000-01-01

// The calendar of the process, in the host zone last detected. The ICU calendar mutates on every question,
// so it is used under the mutex. The zone is read without the lock: a zone replaced by a newer one is kept
// alive (zones change rarely), so a reader holding the old pointer stays valid.
struct Shared {
    std::mutex mutex;
    std::unique_ptr<icu::GregorianCalendar> calendar;
    std::atomic<const icu::TimeZone *> zone = nullptr;
    std::atomic<const icu::BasicTimeZone *> basicZone = nullptr;
    std::atomic<unsigned> generation = 0;
    std::vector<std::unique_ptr<icu::TimeZone>> zones;
};

// Under the mutex.
void useZone(Shared &s, std::unique_ptr<icu::TimeZone> zone)
{
    s.calendar->setTimeZone(*zone);
    s.basicZone = dynamic_cast<const icu::BasicTimeZone *>(zone.get());
    s.zone = zone.get();
    s.zones.push_back(std::move(zone));
}

Shared &shared()
{
    static Shared *instance = [] {
        auto *s = new Shared;
        UErrorCode status = U_ZERO_ERROR;
        s->calendar = std::make_unique<icu::GregorianCalendar>(icu::Locale("zh_CN"), status);
        s->calendar->setFirstDayOfWeek(UCAL_MONDAY);
        useZone(*s, TovikHostTimeZone::detect());
        return s;
    }();
    return *instance;
}

double toMillis(Instant instant)
{
    return instant * 1000.0;
}
Instant fromMillis(double millis)
{
    return millis / 1000.0;
}

bool inFastRange(double millis)
{
    return millis >= fastRangeStart && millis < fastRangeEnd;
}

// Milliseconds of local wall time since 1970, or none where only ICU can answer.
std::optional<double> localMillis(double millis)
{
    if (!inFastRange(millis))
        return std::nullopt;
    int32_t raw = 0;
    int32_t dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    shared().zone.load()->getOffset(millis, false, raw, dst, status);
    if (U_FAILURE(status))
        return std::nullopt;
    return millis + raw + dst;
}

std::optional<std::int64_t> localDay(Instant instant)
{
    const auto local = localMillis(toMillis(instant));
    if (!local)
        return std::nullopt;
    return static_cast<std::int64_t>(std::floor(*local / millisPerDay));
}

// Runs `body` on the shared ICU calendar set to `instant`; none if ICU fails.
template <typename Body>
auto withCalendar(Instant instant, Body body) -> std::optional<decltype(body(std::declval<icu::Calendar &>()))>
{
    if (!std::isfinite(instant))
        return std::nullopt;
    Shared &s = shared();
    std::lock_guard lock(s.mutex);
    UErrorCode status = U_ZERO_ERROR;
    s.calendar->setTime(toMillis(instant), status);
    if (U_FAILURE(status))
        return std::nullopt;
    return body(*s.calendar);
}

std::optional<Instant> timeOf(icu::Calendar &calendar)
{
    UErrorCode status = U_ZERO_ERROR;
    const double millis = calendar.getTime(status);
    if (U_FAILURE(status))
        return std::nullopt;
    return fromMillis(millis);
}

void clearTimeOfDay(icu::Calendar &calendar)
{
    calendar.set(UCAL_HOUR_OF_DAY, 0);
    calendar.set(UCAL_MINUTE, 0);
    calendar.set(UCAL_SECOND, 0);
    calendar.set(UCAL_MILLISECOND, 0);
}

} // namespace

unsigned followHostZone()
{
    Shared &s = shared();
    std::unique_ptr<icu::TimeZone> detected = TovikHostTimeZone::detect();
    std::lock_guard lock(s.mutex);
    if (*detected != *s.zone.load()) {
        useZone(s, std::move(detected));
        ++s.generation;
    }
    return s.generation;
}

unsigned zoneGeneration()
{
    return shared().generation;
}

YearMonthDay components(Instant instant)
{
    if (const auto day = localDay(instant)) {
        const auto civil = TovikCivilDays::civilFromDays(*day);
        return {civil.year, civil.month, civil.day};
    }
    return withCalendar(instant,
                        [](icu::Calendar &calendar) {
                            UErrorCode status = U_ZERO_ERROR;
                            YearMonthDay ymd{calendar.get(UCAL_EXTENDED_YEAR, status),
                                             calendar.get(UCAL_MONTH, status) + 1, calendar.get(UCAL_DATE, status)};
                            return U_SUCCESS(status) ? ymd : YearMonthDay{};
                        })
        .value_or(YearMonthDay{});
}

int weekday(Instant instant)
{
    if (const auto day = localDay(instant))
        return TovikCivilDays::weekdayOfDays(*day);
    return withCalendar(instant,
                        [](icu::Calendar &calendar) {
                            UErrorCode status = U_ZERO_ERROR;
                            const int value = calendar.get(UCAL_DAY_OF_WEEK, status);
                            return U_SUCCESS(status) ? value : 0;
                        })
        .value_or(0);
}

std::optional<Instant> date(int year, int month, int day)
{
    if (month < 1 || month > 12 || day < 1 || day > TovikCivilDays::daysInMonth(year, month))
        return std::nullopt;
    Shared &s = shared();
    std::lock_guard lock(s.mutex);
    s.calendar->clear();
    s.calendar->set(year, month - 1, day);
    return timeOf(*s.calendar);
}

TimeOfDay timeOfDay(Instant instant)
{
    if (const auto local = localMillis(toMillis(instant))) {
        const auto second = static_cast<std::int64_t>(std::floor(*local / 1000));
        const auto ofDay = static_cast<int>(second - std::floor(*local / millisPerDay) * 86400);
        return {ofDay / 3600, ofDay % 3600 / 60, ofDay % 60};
    }
    return withCalendar(instant,
                        [](icu::Calendar &calendar) {
                            UErrorCode status = U_ZERO_ERROR;
                            TimeOfDay time{calendar.get(UCAL_HOUR_OF_DAY, status), calendar.get(UCAL_MINUTE, status),
                                           calendar.get(UCAL_SECOND, status)};
                            return U_SUCCESS(status) ? time : TimeOfDay{};
                        })
        .value_or(TimeOfDay{});
}

Instant startOfDay(Instant instant)
{
    return withCalendar(instant,
                        [](icu::Calendar &calendar) {
                            clearTimeOfDay(calendar);
                            return timeOf(calendar);
                        })
        .value_or(std::nullopt)
        .value_or(instant);
}

Instant firstOfMonth(Instant instant)
{
    return withCalendar(instant,
                        [](icu::Calendar &calendar) {
                            calendar.set(UCAL_DATE, 1);
                            clearTimeOfDay(calendar);
                            return timeOf(calendar);
                        })
        .value_or(std::nullopt)
        .value_or(instant);
}

std::optional<Instant> addingDays(Instant instant, int days)
{
    return withCalendar(instant,
                        [days](icu::Calendar &calendar) -> std::optional<Instant> {
                            UErrorCode status = U_ZERO_ERROR;
                            calendar.add(UCAL_DATE, days, status);
                            if (U_FAILURE(status))
                                return std::nullopt;
                            return timeOf(calendar);
                        })
        .value_or(std::nullopt);
}

std::optional<Instant> addingMonths(Instant instant, int months)
{
    return withCalendar(instant,
                        [months](icu::Calendar &calendar) -> std::optional<Instant> {
                            UErrorCode status = U_ZERO_ERROR;
                            calendar.add(UCAL_MONTH, months, status);
                            if (U_FAILURE(status))
                                return std::nullopt;
                            return timeOf(calendar);
                        })
        .value_or(std::nullopt);
}

bool isSameDay(Instant a, Instant b)
{
    const auto dayA = localDay(a);
    const auto dayB = localDay(b);
    if (dayA && dayB)
        return *dayA == *dayB;
    if (!std::isfinite(a) || !std::isfinite(b))
        return false;
    const YearMonthDay x = components(a);
    const YearMonthDay y = components(b);
    return x.year == y.year && x.month == y.month && x.day == y.day;
}

std::optional<int> daysBetween(Instant a, Instant b)
{
    // Whole days of wall time, truncated toward zero: 10:00 to 09:00 the next day is 0 days.
    const auto localA = localMillis(toMillis(a));
    const auto localB = localMillis(toMillis(b));
    if (localA && localB)
        return static_cast<int>(std::trunc((*localB - *localA) / millisPerDay));
    if (!std::isfinite(a) || !std::isfinite(b))
        return std::nullopt;
    Shared &s = shared();
    std::lock_guard lock(s.mutex);
    UErrorCode status = U_ZERO_ERROR;
    s.calendar->setTime(toMillis(a), status);
    const int days = s.calendar->fieldDifference(toMillis(b), UCAL_DATE, status);
    if (U_FAILURE(status))
        return std::nullopt;
    return days;
}

bool mayChangeOffset(Instant from, Instant to)
{
    const icu::BasicTimeZone *zone = shared().basicZone;
    if (!zone || !std::isfinite(from))
        return true;
    icu::TimeZoneTransition transition;
    if (!zone->getNextTransition(toMillis(from), true, transition))
        return false;
    return fromMillis(transition.getTime()) <= to;
}

} // namespace TovikGregorianCalendar
