#include "TovikLunarFestivals.h"

#include "TovikLunarDate.h"

namespace TovikLunarFestivals {
namespace {

struct Festival {
    int month;
    int day;
    const char *name;
};

constexpr Festival festivals[] = {
    {1, 1, "春节"},    {1, 15, "元宵节"}, {2, 2, "龙抬头"}, {5, 5, "端午节"},  {7, 7, "七夕"},
    {7, 15, "中元节"}, {8, 15, "中秋节"}, {9, 9, "重阳节"}, {12, 8, "腊八节"}, {12, 23, "小年"},
};

} // namespace

std::optional<std::string> festivalName(Instant instant)
{
    const auto lunar = TovikLunarDate::lunarDay(instant);
    if (!lunar || lunar->isLeapMonth)
        return std::nullopt;
    // New Year's Eve is the last day of 腊月, whether that month has 29 days or 30.
    if (lunar->month == 12 && lunar->isLastDayOfMonth)
        return "除夕";
    for (const Festival &festival : festivals) {
        if (festival.month == lunar->month && festival.day == lunar->day)
            return festival.name;
    }
    return std::nullopt;
}

} // namespace TovikLunarFestivals
