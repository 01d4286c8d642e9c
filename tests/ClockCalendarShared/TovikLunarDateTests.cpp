#include "ZonePin.h"

#include <ClockCalendarShared/TovikLunarDate.h>

#include <gtest/gtest.h>
#include <unicode/calendar.h>
#include <unicode/smpdtfmt.h>

#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

const bool zonePinned = pinZone("Asia/Shanghai");

struct TextCase {
    int year, month, day;
    const char *lunar;
};

std::string dateName(const TextCase &c)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", c.year, c.month, c.day);
    return text;
}

void expectLunarTexts(const std::vector<TextCase> &cases, int hour = 12, int minute = 0)
{
    for (const TextCase &c : cases)
        EXPECT_EQ(TovikLunarDate::lunarText(instantAt(c.year, c.month, c.day, hour, minute)), c.lunar)
            << dateName(c) << ' ' << hour << ':' << minute;
}

TEST(TovikLunarDate, NewYearAndTheClockTexts)
{
    const Instant newYear = instantAt(2026, 2, 17, 8, 30);
    EXPECT_EQ(TovikLunarDate::dateText(newYear), "2026-02-17");
    EXPECT_EQ(TovikLunarDate::weekdayText(newYear), "星期二");
    EXPECT_EQ(TovikLunarDate::lunarText(newYear), "丙午年正月初一");
    EXPECT_EQ(TovikLunarDate::clockSubtitle(newYear), "丙午年正月初一 星期二");
    const std::string subtitle = TovikLunarDate::clockSubtitle(instantAt(2025, 8, 8));
    EXPECT_EQ(subtitle, "乙巳年闰六月十五 星期五");
    EXPECT_EQ(std::count(subtitle.begin(), subtitle.end(), ' '), 1);
}

// The words are put together from tables; ICU's own zh_CN formats are the reference, over two sixty-year
// cycles (mid-year, away from any corrected new year) and a whole week.
TEST(TovikLunarDate, TextsReadAsIcuFormatsThem)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone("Asia/Shanghai"));
    const std::unique_ptr<icu::Calendar> chinese(
        icu::Calendar::createInstance(*zone, icu::Locale("zh_CN@calendar=chinese"), status));
    icu::SimpleDateFormat year(icu::UnicodeString::fromUTF8("U年"), icu::Locale("zh_CN"), status);
    icu::SimpleDateFormat date(icu::UnicodeString::fromUTF8("yyyy-MM-dd EEEE"), icu::Locale("zh_CN"), status);
    ASSERT_TRUE(U_SUCCESS(status));
    year.setCalendar(*chinese);
    year.setTimeZone(*zone);
    date.setTimeZone(*zone);
    const auto icuText = [](icu::SimpleDateFormat &format, Instant instant) {
        icu::UnicodeString text;
        std::string utf8;
        return format.format(instant * 1000, text).toUTF8String(utf8);
    };
    for (int y = 1960; y < 2080; ++y) {
        const Instant midYear = instantAt(y, 7, 1);
        EXPECT_EQ(TovikLunarDate::lunarText(midYear).rfind(icuText(year, midYear), 0), 0u) << y;
    }
    for (int d = 1; d <= 7; ++d) {
        const Instant day = instantAt(987, 3, d);
        EXPECT_EQ(TovikLunarDate::dateText(day) + " " + TovikLunarDate::weekdayText(day), icuText(date, day)) << d;
    }
}

TEST(TovikLunarDate, DayAndMonthNames)
{
    expectLunarTexts({
        {2025, 8, 8, "乙巳年闰六月十五"},
        {2025, 11, 19, "乙巳年九月三十"},
        {2025, 11, 20, "乙巳年十月初一"},
        {2025, 12, 20, "乙巳年冬月初一"},
        {2025, 12, 29, "乙巳年冬月初十"},
        {2025, 12, 30, "乙巳年冬月十一"},
        {2026, 1, 8, "乙巳年冬月二十"},
        {2026, 1, 9, "乙巳年冬月廿一"},
        {2026, 1, 18, "乙巳年冬月三十"},
        {2026, 1, 19, "乙巳年腊月初一"},
        {2026, 2, 16, "乙巳年腊月廿九"},
        {2026, 2, 26, "丙午年正月初十"},
        {2026, 2, 27, "丙午年正月十一"},
        {2026, 3, 8, "丙午年正月二十"},
        {2026, 3, 9, "丙午年正月廿一"},
        {2026, 3, 18, "丙午年正月三十"},
        {2026, 3, 19, "丙午年二月初一"},
    });
}

// The day changes at local midnight, also when the previous call was still the day before.
TEST(TovikLunarDate, TextsChangeAtLocalMidnight)
{
    const Instant midnight = instantAt(2026, 2, 17, 0, 0);
    EXPECT_EQ(TovikLunarDate::clockSubtitle(midnight - 1), "乙巳年腊月廿九 星期一");
    EXPECT_EQ(TovikLunarDate::dateText(midnight - 1), "2026-02-16");
    EXPECT_EQ(TovikLunarDate::clockSubtitle(midnight), "丙午年正月初一 星期二");
    EXPECT_EQ(TovikLunarDate::dateText(midnight), "2026-02-17");
    EXPECT_EQ(TovikLunarDate::lunarText(midnight - 0.001), "乙巳年腊月廿九");
    EXPECT_EQ(TovikLunarDate::weekdayText(midnight + 86400 - 0.001), "星期二");
    EXPECT_EQ(TovikLunarDate::weekdayText(midnight + 86400), "星期三");
}

// Months whose first day ICU places a day off: the first and last day of each, and the days either side.
TEST(TovikLunarDate, MonthsStartedOnTheOfficialDay)
{
    expectLunarTexts({
        {1954, 2, 2, "癸巳年腊月廿九"},  {1954, 2, 3, "甲午年正月初一"},  {1954, 2, 4, "甲午年正月初二"},
        {1954, 3, 4, "甲午年正月三十"},  {1954, 3, 5, "甲午年二月初一"},  {1955, 2, 21, "乙未年正月廿九"},
        {1955, 2, 22, "乙未年二月初一"}, {1955, 3, 23, "乙未年二月三十"}, {1955, 3, 24, "乙未年三月初一"},
        {1999, 1, 16, "戊寅年冬月廿九"}, {1999, 1, 17, "戊寅年腊月初一"}, {1999, 2, 15, "戊寅年腊月三十"},
        {1999, 2, 16, "己卯年正月初一"}, {2012, 8, 16, "壬辰年六月廿九"}, {2012, 8, 17, "壬辰年七月初一"},
        {2012, 9, 15, "壬辰年七月三十"}, {2012, 9, 16, "壬辰年八月初一"}, {2018, 11, 6, "戊戌年九月廿九"},
        {2018, 11, 7, "戊戌年九月三十"}, {2018, 11, 8, "戊戌年十月初一"}, {2018, 12, 6, "戊戌年十月廿九"},
        {2018, 12, 7, "戊戌年冬月初一"}, {2027, 2, 5, "丙午年腊月廿九"},  {2027, 2, 6, "丁未年正月初一"},
        {2027, 2, 7, "丁未年正月初二"},  {2027, 3, 7, "丁未年正月三十"},  {2027, 3, 8, "丁未年二月初一"},
        {2030, 2, 1, "己酉年腊月廿九"},  {2030, 2, 2, "己酉年腊月三十"},  {2030, 2, 3, "庚戌年正月初一"},
        {2030, 3, 3, "庚戌年正月廿九"},  {2030, 3, 4, "庚戌年二月初一"},  {2070, 3, 11, "庚寅年正月廿九"},
        {2070, 3, 12, "庚寅年二月初一"}, {2070, 4, 10, "庚寅年二月三十"}, {2070, 4, 11, "庚寅年三月初一"},
    });
    // The Spring Festival of 2027 from its first to its last second.
    expectLunarTexts({{2027, 2, 5, "丙午年腊月廿九"}, {2027, 2, 6, "丁未年正月初一"}, {2027, 2, 7, "丁未年正月初二"}},
                     0, 0);
    expectLunarTexts({{2027, 2, 5, "丙午年腊月廿九"}, {2027, 2, 6, "丁未年正月初一"}, {2030, 2, 2, "己酉年腊月三十"}},
                     23, 59);
    EXPECT_EQ(TovikLunarDate::clockSubtitle(instantAt(2027, 2, 6, 10)), "丁未年正月初一 星期六");
}

TEST(TovikLunarDate, LeapMonthsNamedAsOfficially)
{
    expectLunarTexts({
        {1917, 3, 22, "丁巳年二月廿九"},
        {1917, 3, 23, "丁巳年闰二月初一"},
        {1917, 4, 20, "丁巳年闰二月廿九"},
        {1917, 4, 21, "丁巳年三月初一"},
        {1917, 5, 20, "丁巳年三月三十"},
        {1917, 5, 21, "丁巳年四月初一"},
        {1922, 6, 24, "壬戌年五月廿九"},
        {1922, 6, 25, "壬戌年闰五月初一"},
        {1922, 7, 23, "壬戌年闰五月廿九"},
        {1922, 7, 24, "壬戌年六月初一"},
        {1922, 8, 22, "壬戌年六月三十"},
        {1922, 8, 23, "壬戌年七月初一"},
        {1987, 7, 25, "丁卯年六月三十"},
        {1987, 7, 26, "丁卯年闰六月初一"},
        {1987, 8, 23, "丁卯年闰六月廿九"},
        {1987, 8, 24, "丁卯年七月初一"},
        {1987, 9, 22, "丁卯年七月三十"},
        {1987, 9, 23, "丁卯年八月初一"},
    });
}

class ZoneChange : public testing::Test {
protected:
    void TearDown() override { pinZone("Asia/Shanghai"); }
};

// 03:00 on 17 February in Beijing is still 16 February in Los Angeles.
TEST_F(ZoneChange, NextCallFollowsTheHostZone)
{
    const Instant at = instantAt(2026, 2, 17, 3, 0);
    EXPECT_EQ(TovikLunarDate::clockSubtitle(at), "丙午年正月初一 星期二");
    EXPECT_EQ(TovikLunarDate::dateText(at), "2026-02-17");

    pinZone("America/Los_Angeles");
    EXPECT_EQ(TovikLunarDate::dateText(at), "2026-02-16");
    EXPECT_EQ(TovikLunarDate::weekdayText(at), "星期一");
    EXPECT_EQ(TovikLunarDate::lunarText(at), "乙巳年腊月廿九");
    EXPECT_EQ(TovikLunarDate::clockSubtitle(at), "乙巳年腊月廿九 星期一");

    pinZone("Asia/Shanghai");
    EXPECT_EQ(TovikLunarDate::clockSubtitle(at), "丙午年正月初一 星期二");
    EXPECT_EQ(TovikLunarDate::dateText(at), "2026-02-17");
}

TEST(TovikLunarDate, UnusableInstantGivesEmptyTexts)
{
    for (const double bad : {std::nan(""), std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(TovikLunarDate::dateText(bad), "");
        EXPECT_EQ(TovikLunarDate::lunarText(bad), "");
        EXPECT_EQ(TovikLunarDate::weekdayText(-bad), "");
    }
    // Far from any day ICU can tell apart, the texts stay well-formed rather than failing.
    EXPECT_FALSE(TovikLunarDate::dateText(1e300).empty());
}

TEST(TovikLunarDate, ConcurrentCallersGetTheirOwnDays)
{
    const std::vector<std::pair<Instant, std::string>> expected = {
        {instantAt(2026, 2, 17), "丙午年正月初一 星期二"},
        {instantAt(2027, 2, 6), "丁未年正月初一 星期六"},
        {instantAt(2025, 8, 8), "乙巳年闰六月十五 星期五"},
    };
    std::vector<std::thread> threads;
    std::vector<int> mismatches(expected.size(), 0);
    for (std::size_t t = 0; t < expected.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                const auto &[at, text] = expected[(t + i) % expected.size()];
                if (TovikLunarDate::clockSubtitle(at + i) != text)
                    ++mismatches[t];
            }
        });
    }
    for (auto &thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(expected.size(), 0));
}

} // namespace
