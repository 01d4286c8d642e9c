#include "TovikLunarDate.h"

#include "TovikCivilDays.h"
#include "TovikGregorianCalendar.h"
#include "TovikHostTimeZone.h"
#include "TovikLunarCorrections.h"

#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace TovikLunarDate {
namespace {

const char *const monthNames[] = {"正", "二", "三", "四", "五", "六", "七", "八", "九", "十", "冬", "腊"};
const char *const dayDigits[] = {"零", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
const char *const weekdayNames[] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
// The sixty-year cycle's names are a stem and a branch, both advancing by one each year.
const char *const heavenlyStems[] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
const char *const earthlyBranches[] = {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};

// The texts of one local day in one zone. The clock asks every second, and the lunar date alone costs
// tens of microseconds in ICU, so each text is computed once per day and zone.
struct DayTexts {
    std::unique_ptr<icu::TimeZone> zone;
    double start = 0; // milliseconds, the day's first instant
    double end = 0;   // milliseconds, the next day's first instant
    std::optional<std::string> date;
    std::optional<std::string> weekday;
    std::optional<std::string> lunar;
};

// The ICU calendars of the process, created once. They change whenever they are used (time zone, time), so
// every use holds the mutex. The texts are put together from their fields: ICU's formatters would cost a
// start-up several milliseconds of locale data for words that never change.
struct Shared {
    std::mutex mutex;
    std::unique_ptr<icu::Calendar> chineseCalendar;
    std::unique_ptr<icu::Calendar> gregorianCalendar;
    DayTexts day;
};

Shared &shared()
{
    static Shared *instance = [] {
        auto *s = new Shared;
        const std::unique_ptr<icu::TimeZone> zone = TovikHostTimeZone::detect();
        UErrorCode status = U_ZERO_ERROR;
        s->chineseCalendar.reset(icu::Calendar::createInstance(*zone, icu::Locale("zh_CN@calendar=chinese"), status));
        if (U_FAILURE(status))
            s->chineseCalendar.reset();
        status = U_ZERO_ERROR;
        s->gregorianCalendar = std::make_unique<icu::GregorianCalendar>(*zone, icu::Locale("zh_CN"), status);
        if (U_FAILURE(status))
            s->gregorianCalendar.reset();
        return s;
    }();
    return *instance;
}

// The cyclic year a Chinese calendar stands in, 丙午年; empty when ICU cannot tell.
std::string cyclicYearText(icu::Calendar &calendar)
{
    UErrorCode status = U_ZERO_ERROR;
    const int year = calendar.get(UCAL_YEAR, status); // 1 to 60 within the cycle
    if (U_FAILURE(status) || year < 1 || year > 60)
        return {};
    return std::string(heavenlyStems[(year - 1) % 10]) + earthlyBranches[(year - 1) % 12] + "年";
}

std::string computeLunarText(Shared &s, const icu::TimeZone &zone, double millis)
{
    if (!s.chineseCalendar)
        return {};
    const std::unique_ptr<icu::Calendar> calendar(s.chineseCalendar->clone());
    calendar->setTimeZone(zone);
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(millis, status);
    TovikLunarCorrections::LunarDay lunar{calendar->get(UCAL_MONTH, status) + 1,
                                          calendar->get(UCAL_IS_LEAP_MONTH, status) != 0,
                                          calendar->get(UCAL_DATE, status)};
    const std::int32_t julianDay = calendar->get(UCAL_JULIAN_DAY, status);
    if (U_FAILURE(status) || lunar.month < 1 || lunar.month > 12)
        return cyclicYearText(*calendar);

    if (const auto correction = TovikLunarCorrections::correction(julianDay, lunar)) {
        lunar = correction->official;
        if (correction->yearFromDaysAway != 0)
            calendar->add(UCAL_DATE, correction->yearFromDaysAway, status);
    }
    // The copy already holds the day's fields, so the year is formatted from it rather than worked out again.
    std::string text = cyclicYearText(*calendar);
    if (lunar.isLeapMonth)
        text += "闰";
    text += monthNames[lunar.month - 1];
    text += "月";
    text += dayName(lunar.day);
    return text;
}

std::string computeWeekdayText(Shared &s, const icu::TimeZone &zone, double millis)
{
    if (!s.gregorianCalendar)
        return {};
    s.gregorianCalendar->setTimeZone(zone);
    UErrorCode status = U_ZERO_ERROR;
    s.gregorianCalendar->setTime(millis, status);
    const int weekday = s.gregorianCalendar->get(UCAL_DAY_OF_WEEK, status);
    if (U_FAILURE(status) || weekday < 1 || weekday > 7)
        return {};
    return weekdayNames[weekday - 1];
}

std::string computeDateText(Shared &s, const icu::TimeZone &zone, double millis)
{
    if (!s.gregorianCalendar)
        return {};
    icu::Calendar &calendar = *s.gregorianCalendar;
    calendar.setTimeZone(zone);
    UErrorCode status = U_ZERO_ERROR;
    calendar.setTime(millis, status);
    const int year = calendar.get(UCAL_YEAR, status);
    const int month = calendar.get(UCAL_MONTH, status) + 1;
    const int day = calendar.get(UCAL_DATE, status);
    if (U_FAILURE(status))
        return {};
    char text[24];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

// The cached texts of the local day of `millis` in the host zone as it is now; a different zone or day
// starts a fresh entry. Called with the mutex held.
DayTexts &dayTexts(Shared &s, double millis)
{
    std::unique_ptr<icu::TimeZone> zone = TovikHostTimeZone::detect();
    DayTexts &day = s.day;
    if (day.zone && *day.zone == *zone && millis >= day.start && millis < day.end)
        return day;
    day = DayTexts{};
    day.zone = std::move(zone);
    if (!s.gregorianCalendar)
        return day;
    icu::Calendar &calendar = *s.gregorianCalendar;
    calendar.setTimeZone(*day.zone);
    UErrorCode status = U_ZERO_ERROR;
    calendar.setTime(millis, status);
    calendar.set(UCAL_HOUR_OF_DAY, 0);
    calendar.set(UCAL_MINUTE, 0);
    calendar.set(UCAL_SECOND, 0);
    calendar.set(UCAL_MILLISECOND, 0);
    const double start = calendar.getTime(status);
    calendar.add(UCAL_DATE, 1, status);
    const double end = calendar.getTime(status);
    if (U_SUCCESS(status) && start <= millis && millis < end) {
        day.start = start;
        day.end = end;
    }
    return day;
}

template <typename Text>
std::string cachedText(Instant instant, std::optional<std::string> DayTexts::*slot, Text compute)
{
    if (!std::isfinite(instant))
        return {};
    Shared &s = shared();
    const double millis = instant * 1000.0;
    std::lock_guard lock(s.mutex);
    DayTexts &day = dayTexts(s, millis);
    if (!(day.*slot))
        day.*slot = compute(s, *day.zone, millis);
    return *(day.*slot);
}

// The lunar day of each civil day, asked of a Chinese calendar in UTC at the day's noon: ICU reckons the
// lunar date from the civil date alone. A month grid asks for 42 days and their neighbours at a time, and
// ICU takes tens of microseconds a day, so answers are kept (the whole cache goes when it grows large).
class CivilLunarDays {
public:
    CivilLunarDays()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_calendar.reset(
            icu::Calendar::createInstance(*icu::TimeZone::getGMT(), icu::Locale("zh_CN@calendar=chinese"), status));
        if (U_FAILURE(status))
            m_calendar.reset();
    }

    std::optional<LunarDay> at(std::int64_t days)
    {
        std::lock_guard lock(m_mutex);
        const auto today = official(days);
        if (!today)
            return std::nullopt;
        const auto tomorrow = official(days + 1);
        return LunarDay{today->month, today->isLeapMonth, today->day, tomorrow && tomorrow->day == 1};
    }

private:
    static constexpr std::size_t cachedDays = 4096;
    static constexpr std::int64_t julianDayOfEpoch = 2440588; // 1970-01-01

    // Under the mutex.
    std::optional<TovikLunarCorrections::LunarDay> official(std::int64_t days)
    {
        if (const auto found = m_days.find(days); found != m_days.end())
            return found->second;
        if (!m_calendar)
            return std::nullopt;
        UErrorCode status = U_ZERO_ERROR;
        m_calendar->setTime((static_cast<double>(days) * 86400 + 43200) * 1000, status);
        TovikLunarCorrections::LunarDay lunar{m_calendar->get(UCAL_MONTH, status) + 1,
                                              m_calendar->get(UCAL_IS_LEAP_MONTH, status) != 0,
                                              m_calendar->get(UCAL_DATE, status)};
        if (U_FAILURE(status) || lunar.month < 1 || lunar.month > 12)
            return std::nullopt;
        if (const auto correction =
                TovikLunarCorrections::correction(static_cast<std::int32_t>(days + julianDayOfEpoch), lunar))
            lunar = correction->official;
        if (m_days.size() >= cachedDays)
            m_days.clear();
        m_days.emplace(days, lunar);
        return lunar;
    }

    std::mutex m_mutex;
    std::unique_ptr<icu::Calendar> m_calendar;
    std::unordered_map<std::int64_t, TovikLunarCorrections::LunarDay> m_days;
};

CivilLunarDays &civilLunarDays()
{
    static auto *instance = new CivilLunarDays;
    return *instance;
}

} // namespace

std::string dayName(int day)
{
    if (day >= 1 && day <= 10)
        return std::string("初") + dayDigits[day];
    if (day >= 11 && day <= 19)
        return std::string("十") + dayDigits[day - 10];
    if (day == 20)
        return "二十";
    if (day >= 21 && day <= 29)
        return std::string("廿") + dayDigits[day - 20];
    if (day == 30)
        return "三十";
    return std::to_string(day);
}

std::string monthName(const LunarDay &day)
{
    if (day.month < 1 || day.month > 12)
        return {};
    return std::string(day.isLeapMonth ? "闰" : "") + monthNames[day.month - 1] + "月";
}

std::optional<LunarDay> lunarDay(Instant instant)
{
    if (!std::isfinite(instant))
        return std::nullopt;
    const TovikGregorianCalendar::YearMonthDay civil = TovikGregorianCalendar::components(instant);
    if (civil.month < 1 || civil.month > 12)
        return std::nullopt;
    return civilLunarDays().at(TovikCivilDays::daysFromCivil(civil.year, civil.month, civil.day));
}

std::string cellText(Instant instant)
{
    const auto day = lunarDay(instant);
    if (!day)
        return {};
    return day->day == 1 ? monthName(*day) : dayName(day->day);
}

std::string dateText(Instant instant)
{
    return cachedText(instant, &DayTexts::date, computeDateText);
}

std::string weekdayText(Instant instant)
{
    return cachedText(instant, &DayTexts::weekday, computeWeekdayText);
}

std::string lunarText(Instant instant)
{
    return cachedText(instant, &DayTexts::lunar, computeLunarText);
}

std::string clockSubtitle(Instant instant)
{
    if (!std::isfinite(instant))
        return " ";
    Shared &s = shared();
    const double millis = instant * 1000.0;
    std::lock_guard lock(s.mutex);
    DayTexts &day = dayTexts(s, millis);
    if (!day.lunar)
        day.lunar = computeLunarText(s, *day.zone, millis);
    if (!day.weekday)
        day.weekday = computeWeekdayText(s, *day.zone, millis);
    return *day.lunar + " " + *day.weekday;
}

} // namespace TovikLunarDate
