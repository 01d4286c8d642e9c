#include "TovikLunarCorrections.h"

#include "TovikCivilDays.h"

namespace TovikLunarCorrections {
namespace {

constexpr std::int32_t julianDay(int year, int month, int day)
{
    constexpr std::int64_t julianDayOfEpoch = 2440588; // 1970-01-01
    return static_cast<std::int32_t>(TovikCivilDays::daysFromCivil(year, month, day) + julianDayOfEpoch);
}

// A month that ICU starts one day off. The one day between the two first days belongs to `month` when
// ICU starts late (ICU ends the month before on it), or is the last day of `previous` when ICU starts
// early (ICU makes it day 1). From the later first day on, ICU names the month right but counts one off.
struct ShiftedMonthStart {
    std::int32_t officialFirst;
    std::int32_t icuFirst;
    LunarDay month;    // day unused
    LunarDay previous; // only where ICU starts early; day = its official length
};

constexpr ShiftedMonthStart shiftedMonthStarts[] = {
    {julianDay(1954, 2, 3), julianDay(1954, 2, 4), {1, false, 0}, {}},
    {julianDay(1955, 2, 22), julianDay(1955, 2, 23), {2, false, 0}, {}},
    {julianDay(1999, 1, 17), julianDay(1999, 1, 18), {12, false, 0}, {}},
    {julianDay(2012, 8, 17), julianDay(2012, 8, 18), {7, false, 0}, {}},
    {julianDay(2018, 11, 8), julianDay(2018, 11, 7), {10, false, 0}, {9, false, 30}},
    {julianDay(2027, 2, 6), julianDay(2027, 2, 7), {1, false, 0}, {}},
    {julianDay(2030, 2, 3), julianDay(2030, 2, 2), {1, false, 0}, {12, false, 30}},
    {julianDay(2070, 3, 12), julianDay(2070, 3, 13), {2, false, 0}, {}},
};

// A month whose days ICU has right under the wrong name: ICU's month starting on `first` is `official`.
struct RenamedMonth {
    std::int32_t first;
    LunarDay official; // day unused
};

constexpr RenamedMonth renamedMonths[] = {
    {julianDay(1917, 3, 23), {2, true, 0}},  // ICU: 三月
    {julianDay(1917, 4, 21), {3, false, 0}}, // ICU: 闰三月
    {julianDay(1922, 6, 25), {5, true, 0}},  // ICU: 六月
    {julianDay(1922, 7, 24), {6, false, 0}}, // ICU: 闰六月
    {julianDay(1987, 7, 26), {6, true, 0}},  // ICU: 七月
    {julianDay(1987, 8, 24), {7, false, 0}}, // ICU: 闰七月
};

constexpr std::int32_t firstCorrected = julianDay(1917, 3, 23);
constexpr std::int32_t lastCorrected = julianDay(2070, 4, 30);

LunarDay withDay(LunarDay month, int day)
{
    month.day = day;
    return month;
}

} // namespace

std::optional<Correction> correction(std::int32_t julianDay, const LunarDay &icu)
{
    if (julianDay < firstCorrected || julianDay > lastCorrected)
        return std::nullopt;
    const std::int32_t icuMonthFirst = julianDay - icu.day + 1;
    for (const ShiftedMonthStart &shift : shiftedMonthStarts) {
        const bool icuStartsLate = shift.icuFirst > shift.officialFirst;
        if (icuMonthFirst == shift.icuFirst && julianDay >= shift.officialFirst)
            return Correction{withDay(shift.month, julianDay - shift.officialFirst + 1), 0};
        if (icuStartsLate && julianDay >= shift.officialFirst && julianDay < shift.icuFirst)
            return Correction{withDay(shift.month, julianDay - shift.officialFirst + 1), shift.icuFirst - julianDay};
        if (!icuStartsLate && julianDay >= shift.icuFirst && julianDay < shift.officialFirst)
            return Correction{shift.previous, -1};
    }
    for (const RenamedMonth &renamed : renamedMonths) {
        if (icuMonthFirst == renamed.first)
            return Correction{withDay(renamed.official, icu.day), 0};
    }
    return std::nullopt;
}

} // namespace TovikLunarCorrections
