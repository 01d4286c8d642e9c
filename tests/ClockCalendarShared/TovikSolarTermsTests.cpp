#include "ZonePin.h"

#include <ClockCalendarShared/TovikGregorianCalendar.h>
#include <ClockCalendarShared/TovikLunarDate.h>
#include <ClockCalendarShared/TovikLunarFestivals.h>
#include <ClockCalendarShared/TovikSolarLongitude.h>
#include <ClockCalendarShared/TovikSolarTerms.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

const bool zonePinned = pinZone("Asia/Shanghai");

constexpr Instant day = 86400;

// Jean Meeus, "Astronomical Algorithms" (2nd ed.), Example 25.b: the sun on 1992 October 13.0 TD, from the
// VSOP87 series, has the apparent longitude 199°54′21.56″.
TEST(TovikSolarLongitude, MeeusWorkedExample)
{
    const double expected = 199 + 54 / 60.0 + 21.56 / 3600;
    EXPECT_NEAR(TovikSolarLongitude::apparentLongitude(2448908.5), expected, 0.5 / 3600);
}

struct PublishedTerm {
    int year;
    int index;       // 0 = 小寒 … 23 = 冬至
    const char *at;  // as published, "yyyy-mm-dd hh:mm:ss" in UTC+8
    double toUt = 0; // seconds from the published time scale to UT (see the DE421 rows)
};

// Published moments, a few per decade, most of them within minutes of midnight China time:
// - HKO 2013: Hong Kong Observatory, "Date and Time information of the 24 Solar Terms in 2013" (UTC+8).
// - PMO 2026: Purple Mountain Observatory, calendar data for 2026, as quoted in the comparison table of
//   github.com/Kuangchujia/chinese-calendar-dataset (verification_2026_vs_zijinshan.csv).
// - USNO 2021: US Naval Observatory, Earth's seasons: December solstice 2021-12-21 15:59 UT.
// - DE421: Kuangchujia/chinese-calendar-dataset, solar_terms_1900_2052.csv, computed from JPL DE421. Its
//   times before 1972 are Skyfield's UTC, which there is TT − 42.184 s; toUt = 42.184 s − ΔT (ΔT from the
//   Astronomical Almanac's table of observed values) brings them to UT.
const PublishedTerm publishedTerms[] = {
    {1911, 8, "1911-05-06 23:59:46", 42.184 - 11.8},  // DE421
    {1917, 9, "1917-05-21 23:58:08", 42.184 - 18.4},  // DE421
    {1917, 22, "1917-12-08 00:00:37", 42.184 - 18.4}, // DE421
    {1923, 3, "1923-02-19 23:59:21", 42.184 - 23.0},  // DE421
    {1929, 5, "1929-03-21 10:34:28", 42.184 - 24.1},  // DE421
    {1931, 10, "1931-06-07 00:41:26", 42.184 - 24.0}, // DE421
    {1948, 4, "1948-03-05 23:57:38", 42.184 - 28.2},  // DE421
    {1950, 7, "1950-04-20 23:58:52", 42.184 - 29.1},  // DE421
    {1951, 23, "1951-12-22 23:59:49", 42.184 - 29.4}, // DE421
    {1978, 21, "1978-11-23 00:04:36"},                // DE421
    {1979, 1, "1979-01-20 23:59:54"},                 // DE421
    {1982, 0, "1982-01-06 00:02:34"},                 // DE421
    {1984, 13, "1984-07-22 23:58:12"},                // DE421
    {2005, 6, "2005-04-05 00:34:16"},                 // DE421
    {2008, 9, "2008-05-21 00:00:53"},                 // DE421
    {2009, 2, "2009-02-04 00:49:47"},                 // DE421
    {2013, 2, "2013-02-04 00:13:00"},                 // HKO 2013
    {2013, 6, "2013-04-04 23:02:00"},                 // HKO 2013
    {2013, 9, "2013-05-21 05:09:00"},                 // HKO 2013
    {2013, 13, "2013-07-22 23:56:00"},                // HKO 2013
    {2013, 17, "2013-09-23 04:44:00"},                // HKO 2013
    {2013, 23, "2013-12-22 01:11:00"},                // HKO 2013
    {2014, 4, "2014-03-06 00:02:15"},                 // DE421
    {2021, 23, "2021-12-21 23:59:00"},                // USNO 2021
    {2026, 0, "2026-01-05 16:23:00"},                 // PMO 2026
    {2026, 3, "2026-02-18 23:52:00"},                 // PMO 2026
    {2026, 10, "2026-06-05 23:48:00"},                // PMO 2026
    {2026, 11, "2026-06-21 16:25:00"},                // PMO 2026
    {2026, 23, "2026-12-22 04:50:00"},                // PMO 2026
    {2050, 2, "2050-02-03 23:43:55"},                 // DE421
    {2051, 5, "2051-03-20 23:59:22"},                 // DE421
    {2052, 8, "2052-05-05 02:35:01"},                 // DE421
};

Instant chinaTime(const char *text)
{
    int year = 0, month = 0, dayOfMonth = 0, hour = 0, minute = 0, second = 0;
    std::sscanf(text, "%d-%d-%d %d:%d:%d", &year, &month, &dayOfMonth, &hour, &minute, &second);
    return instantAt(year, month, dayOfMonth, hour, minute) + second;
}

// Noon, China time, of the China day holding `instant`.
Instant chinaNoon(Instant instant)
{
    const Instant local = instant + 8 * 3600;
    return std::floor(local / day) * day + 12 * 3600 - 8 * 3600;
}

// Each moment within a minute of the published one, and the term on its China day and not either side.
TEST(TovikSolarTerms, PublishedMomentsAndTheirDays)
{
    for (const PublishedTerm &term : publishedTerms) {
        const Instant published = chinaTime(term.at) + term.toUt;
        const std::string name = TovikSolarTerms::name(term.index).value();
        EXPECT_NEAR(TovikSolarTerms::termInstant(term.year, term.index).value(), published, 60) << term.at;
        const Instant noon = chinaNoon(published);
        EXPECT_EQ(TovikSolarTerms::termName(noon), name) << term.at;
        EXPECT_EQ(TovikSolarTerms::termName(noon - day), std::nullopt) << term.at;
        EXPECT_EQ(TovikSolarTerms::termName(noon + day), std::nullopt) << term.at;
    }
}

// Every day 1901 to 2099: each year's 24 terms fall on 24 days, in order, each in the half of its month
// where the day lookup expects it, and from the small hours to late evening (Shanghai kept summer time in
// some of these years, so the civil day is sampled well inside itself).
TEST(TovikSolarTerms, EveryDayOfTwoCenturies)
{
    for (int year = 1901; year <= 2099; ++year) {
        std::vector<std::string> found;
        for (Instant noon = instantAt(year, 1, 1); noon < instantAt(year + 1, 1, 1); noon += day) {
            const auto name = TovikSolarTerms::termName(noon - 11 * 3600);
            if (!name)
                continue;
            found.push_back(*name);
            EXPECT_EQ(TovikSolarTerms::termName(noon + 10 * 3600 + 59 * 60), name) << year;
        }
        ASSERT_EQ(found.size(), 24u) << year;
        for (int index = 0; index < TovikSolarTerms::termCount; ++index)
            EXPECT_EQ(found[index], TovikSolarTerms::name(index)) << year;
    }
}

TEST(TovikSolarTerms, NamesAndBounds)
{
    EXPECT_EQ(TovikSolarTerms::name(0), "小寒");
    EXPECT_EQ(TovikSolarTerms::name(5), "春分");
    EXPECT_EQ(TovikSolarTerms::name(23), "冬至");
    EXPECT_EQ(TovikSolarTerms::name(24), std::nullopt);
    EXPECT_EQ(TovikSolarTerms::termInstant(2026, -1), std::nullopt);
    EXPECT_EQ(TovikSolarTerms::termName(std::nan("")), std::nullopt);
}

struct FestivalCase {
    int year, month, dayOfMonth;
    const char *festival; // nullptr: none
};

// Dates as the official calendar has them, around the leap months of 2023 (闰二月) and 2025 (闰六月), on
// New Year's Eves of 腊月 with 29 and 30 days, and on months that ICU starts a day off.
const FestivalCase festivalCases[] = {
    {2023, 1, 20, nullptr},  {2023, 1, 21, "除夕"},   {2023, 1, 22, "春节"},    {2023, 2, 5, "元宵节"},
    {2023, 2, 21, "龙抬头"}, {2023, 3, 23, nullptr},  {2023, 6, 22, "端午节"},  {2023, 8, 22, "七夕"},
    {2023, 8, 30, "中元节"}, {2023, 9, 29, "中秋节"}, {2023, 10, 23, "重阳节"}, {2024, 2, 9, "除夕"},
    {2024, 2, 10, "春节"},   {2025, 1, 7, "腊八节"},  {2025, 1, 22, "小年"},    {2025, 1, 28, "除夕"},
    {2025, 1, 29, "春节"},   {2025, 7, 31, nullptr},  {2025, 8, 8, nullptr},    {2025, 8, 29, "七夕"},
    {2025, 9, 6, "中元节"},  {2025, 10, 6, "中秋节"}, {2026, 1, 26, "腊八节"},  {2026, 2, 10, "小年"},
    {2026, 2, 16, "除夕"},   {2026, 2, 17, "春节"},   {2026, 4, 5, nullptr},    {2027, 2, 5, "除夕"},
    {2027, 2, 6, "春节"},    {2027, 2, 7, nullptr},   {2030, 2, 2, "除夕"},     {2030, 2, 3, "春节"},
};

TEST(TovikLunarFestivals, FestivalDays)
{
    for (const FestivalCase &c : festivalCases) {
        const auto expected = c.festival ? std::optional<std::string>(c.festival) : std::nullopt;
        EXPECT_EQ(TovikLunarFestivals::festivalName(instantAt(c.year, c.month, c.dayOfMonth, 0, 0)), expected)
            << c.year << '-' << c.month << '-' << c.dayOfMonth;
    }
}

struct CellTextCase {
    int year, month, dayOfMonth;
    const char *text;
};

TEST(TovikLunarDate, CellTexts)
{
    const CellTextCase cases[] = {
        {2025, 7, 25, "闰六月"}, {2025, 7, 26, "初二"}, {2025, 8, 23, "七月"}, {2025, 12, 20, "冬月"},
        {2026, 1, 8, "二十"},    {2026, 1, 19, "腊月"}, {2026, 2, 17, "正月"}, {2026, 3, 18, "三十"},
        {2027, 2, 6, "正月"},    {2027, 2, 7, "初二"},
    };
    for (const CellTextCase &c : cases)
        EXPECT_EQ(TovikLunarDate::cellText(instantAt(c.year, c.month, c.dayOfMonth, 23, 30)), c.text)
            << c.year << '-' << c.month << '-' << c.dayOfMonth;
}

class OtherZone : public testing::Test {
protected:
    void SetUp() override
    {
        pinZone("America/Los_Angeles");
        TovikGregorianCalendar::followHostZone();
    }
    void TearDown() override
    {
        pinZone("Asia/Shanghai");
        TovikGregorianCalendar::followHostZone();
    }
};

// 立春 2013 came at 00:13 on 4 February in China, 08:13 on 3 February in Los Angeles; a Los Angeles calendar
// still shows it on 4 February, as it shows the Spring Festival on the date it has in China.
TEST_F(OtherZone, DatesKeepTheirTermsAndFestivals)
{
    EXPECT_EQ(TovikSolarTerms::termName(instantAt(2013, 2, 3, 12, 0, -8)), std::nullopt);
    EXPECT_EQ(TovikSolarTerms::termName(instantAt(2013, 2, 4, 0, 0, -8)), "立春");
    EXPECT_EQ(TovikSolarTerms::termName(instantAt(2013, 2, 4, 23, 59, -8)), "立春");
    EXPECT_EQ(TovikLunarFestivals::festivalName(instantAt(2026, 2, 17, 20, 0, -8)), "春节");
    EXPECT_EQ(TovikLunarDate::cellText(instantAt(2026, 2, 16, 1, 0, -8)), "廿九");
}

} // namespace
