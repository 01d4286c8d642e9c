#include "TovikChinaHolidayCalendar.h"

#include "TovikCivilDays.h"

#include <unordered_map>
#include <unordered_set>

namespace TovikChinaHolidayCalendar {
namespace {

struct HolidayRange {
    TovikGregorianCalendar::YearMonthDay first;
    TovikGregorianCalendar::YearMonthDay last;
    const char *name;
};

constexpr HolidayRange holidayRanges[] = {
    {{2026, 1, 1}, {2026, 1, 3}, "元旦"},     {{2026, 2, 15}, {2026, 2, 23}, "春节"},
    {{2026, 4, 4}, {2026, 4, 6}, "清明节"},   {{2026, 5, 1}, {2026, 5, 5}, "劳动节"},
    {{2026, 6, 19}, {2026, 6, 21}, "端午节"}, {{2026, 9, 25}, {2026, 9, 27}, "中秋节"},
    {{2026, 10, 1}, {2026, 10, 7}, "国庆节"}, {{2027, 1, 1}, {2027, 1, 1}, "元旦"},
    {{2027, 2, 5}, {2027, 2, 8}, "春节"},     {{2027, 4, 5}, {2027, 4, 5}, "清明节"},
    {{2027, 5, 1}, {2027, 5, 2}, "劳动节"},   {{2027, 6, 9}, {2027, 6, 9}, "端午节"},
    {{2027, 9, 15}, {2027, 9, 15}, "中秋节"}, {{2027, 10, 1}, {2027, 10, 3}, "国庆节"},
};

constexpr TovikGregorianCalendar::YearMonthDay makeupWorkdays[] = {
    {2026, 1, 4}, {2026, 2, 14}, {2026, 2, 28}, {2026, 5, 9}, {2026, 9, 20}, {2026, 10, 10},
};

int keyOf(const TovikGregorianCalendar::YearMonthDay &day)
{
    return TovikCivilDays::dayKey(day.year, day.month, day.day);
}

// Both tables keyed by the integer yyyymmdd of the day, so a look-up builds no text.
struct Tables {
    std::unordered_map<int, std::string> holidayNamesByDate;
    std::unordered_set<int> makeupWorkdayKeys;
};

const Tables &tables()
{
    static const Tables instance = [] {
        Tables t;
        for (const HolidayRange &range : holidayRanges) {
            const auto first = TovikCivilDays::daysFromCivil(range.first.year, range.first.month, range.first.day);
            const auto last = TovikCivilDays::daysFromCivil(range.last.year, range.last.month, range.last.day);
            for (auto day = first; day <= last; ++day) {
                const auto civil = TovikCivilDays::civilFromDays(day);
                t.holidayNamesByDate[TovikCivilDays::dayKey(civil.year, civil.month, civil.day)] = range.name;
            }
        }
        for (const auto &day : makeupWorkdays)
            t.makeupWorkdayKeys.insert(keyOf(day));
        return t;
    }();
    return instance;
}

} // namespace

std::optional<std::string> holidayName(const TovikGregorianCalendar::YearMonthDay &day)
{
    const auto &names = tables().holidayNamesByDate;
    const auto found = names.find(keyOf(day));
    if (found == names.end())
        return std::nullopt;
    return found->second;
}

bool isMakeupWorkday(const TovikGregorianCalendar::YearMonthDay &day)
{
    return tables().makeupWorkdayKeys.contains(keyOf(day));
}

std::optional<std::string> holidayName(Instant day)
{
    return holidayName(TovikGregorianCalendar::components(day));
}

bool isMakeupWorkday(Instant day)
{
    return isMakeupWorkday(TovikGregorianCalendar::components(day));
}

bool isWorkday(Instant day)
{
    const auto ymd = TovikGregorianCalendar::components(day);
    const int key = keyOf(ymd);
    const Tables &t = tables();
    if (t.makeupWorkdayKeys.contains(key))
        return true;
    if (t.holidayNamesByDate.contains(key))
        return false;
    const int weekday = TovikGregorianCalendar::weekday(day);
    return weekday >= 2 && weekday <= 6;
}

} // namespace TovikChinaHolidayCalendar
