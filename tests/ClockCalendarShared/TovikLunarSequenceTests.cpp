#include "ZonePin.h"

#include <ClockCalendarShared/TovikLunarDate.h>

#include <gtest/gtest.h>
#include <unicode/calendar.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

// Walks the days around every mended month and checks the lunar texts as a sequence: each day follows the
// one before, months have 29 or 30 days and come in order, and the texts differ from ICU's own on exactly
// the 417 days that ICU gets wrong between 1901 and 2099.
namespace {

const bool zonePinned = pinZone("Asia/Shanghai");

struct Lunar {
    std::string year;
    int month = 0;
    bool isLeapMonth = false;
    int day = 0;

    bool operator==(const Lunar &) const = default;
};

const char *const monthNames[] = {"正", "二", "三", "四", "五", "六", "七", "八", "九", "十", "冬", "腊"};
const char *const dayNames[] = {"初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
                                "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
                                "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"};

std::optional<Lunar> parse(const std::string &text)
{
    const std::string yearMark = "年";
    const auto yearEnd = text.find(yearMark);
    if (yearEnd == std::string::npos)
        return std::nullopt;
    Lunar lunar;
    lunar.year = text.substr(0, yearEnd);
    std::string rest = text.substr(yearEnd + yearMark.size());
    if (rest.rfind("闰", 0) == 0) {
        lunar.isLeapMonth = true;
        rest = rest.substr(std::string("闰").size());
    }
    for (int m = 0; m < 12; ++m) {
        if (rest.rfind(std::string(monthNames[m]) + "月", 0) == 0) {
            lunar.month = m + 1;
            rest = rest.substr(std::string(monthNames[m]).size() + std::string("月").size());
        }
    }
    for (int d = 0; d < 30; ++d) {
        if (rest == dayNames[d])
            lunar.day = d + 1;
    }
    if (lunar.month == 0 || lunar.day == 0)
        return std::nullopt;
    return lunar;
}

class IcuChinese {
public:
    IcuChinese()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_calendar.reset(icu::Calendar::createInstance(icu::TimeZone::createTimeZone("Asia/Shanghai"),
                                                       icu::Locale("zh_CN@calendar=chinese"), status));
        m_year =
            std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8("U"), icu::Locale("zh_CN"), status);
        m_year->setCalendar(*m_calendar);
        EXPECT_TRUE(U_SUCCESS(status));
    }

    Lunar at(Instant instant)
    {
        UErrorCode status = U_ZERO_ERROR;
        m_calendar->setTime(instant * 1000, status);
        Lunar lunar{{},
                    m_calendar->get(UCAL_MONTH, status) + 1,
                    m_calendar->get(UCAL_IS_LEAP_MONTH, status) != 0,
                    m_calendar->get(UCAL_DATE, status)};
        icu::UnicodeString year;
        m_year->format(instant * 1000, year);
        year.toUTF8String(lunar.year);
        return lunar;
    }

private:
    std::unique_ptr<icu::Calendar> m_calendar;
    std::unique_ptr<icu::SimpleDateFormat> m_year;
};

// Spans of days, from the first of one Gregorian month to the first of another, that hold every mended
// month with a whole month either side.
const std::pair<int, int> windows[][2] = {
    {{1917, 2}, {1917, 7}},  {{1922, 5}, {1922, 10}}, {{1953, 12}, {1954, 4}}, {{1955, 1}, {1955, 5}},
    {{1998, 12}, {1999, 3}}, {{2012, 7}, {2012, 10}}, {{2018, 10}, {2019, 1}}, {{1987, 6}, {1987, 10}},
    {{2027, 1}, {2027, 4}},  {{2030, 1}, {2030, 4}},  {{2070, 2}, {2070, 5}},
};

bool inWindow(Instant at)
{
    for (const auto &window : windows) {
        if (at >= instantAt(window[0].first, window[0].second, 1)
            && at < instantAt(window[1].first, window[1].second, 1))
            return true;
    }
    return false;
}

bool followsMonth(const Lunar &before, const Lunar &after)
{
    if (after.isLeapMonth)
        return !before.isLeapMonth && after.month == before.month;
    return after.month == before.month % 12 + 1;
}

TEST(TovikLunarSequence, MendedMonthsAndTheirNeighbours)
{
    IcuChinese icu;
    int differingDays = 0;
    for (const auto &window : windows) {
        const Instant first = instantAt(window[0].first, window[0].second, 1);
        const Instant last = instantAt(window[1].first, window[1].second, 1);
        std::optional<Lunar> previous;
        std::optional<int> monthLength; // counted from the first whole month of the window
        for (Instant at = first; at < last; at += 86400) {
            const std::string text = TovikLunarDate::lunarText(at);
            const auto lunar = parse(text);
            ASSERT_TRUE(lunar.has_value()) << text;
            if (!(*lunar == icu.at(at)))
                ++differingDays;
            if (previous && lunar->day == 1) {
                EXPECT_TRUE(previous->day == 29 || previous->day == 30) << text;
                EXPECT_TRUE(followsMonth(*previous, *lunar)) << text;
                EXPECT_EQ(lunar->year != previous->year, lunar->month == 1 && !lunar->isLeapMonth) << text;
                if (monthLength) {
                    EXPECT_TRUE(*monthLength == 29 || *monthLength == 30) << text << ' ' << *monthLength;
                }
                monthLength = 0;
            } else if (previous) {
                EXPECT_EQ(lunar->day, previous->day + 1) << text;
                EXPECT_EQ(lunar->month, previous->month) << text;
                EXPECT_EQ(lunar->isLeapMonth, previous->isLeapMonth) << text;
                EXPECT_EQ(lunar->year, previous->year) << text;
            }
            if (monthLength)
                ++*monthLength;
            previous = lunar;
        }
    }
    EXPECT_EQ(differingDays, 417);
}

// Outside the mended months the texts are ICU's: a sample of days from 1901 to 2099.
TEST(TovikLunarSequence, ElsewhereIcuStands)
{
    IcuChinese icu;
    for (Instant at = instantAt(1901, 1, 1); at < instantAt(2100, 1, 1); at += 86400 * 9.7) {
        if (inWindow(at))
            continue;
        const std::string text = TovikLunarDate::lunarText(at);
        const auto lunar = parse(text);
        ASSERT_TRUE(lunar.has_value()) << text;
        EXPECT_EQ(*lunar, icu.at(at)) << text;
    }
}

} // namespace
