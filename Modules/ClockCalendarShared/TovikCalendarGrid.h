#pragma once

#include "Instant.h"
#include "TovikLunarDate.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a day cell writes under its number, and in which of the calendar's colours.
struct TovikCalendarCaption {
    enum class Kind { none, holiday, makeupWorkday, festival, solarTerm, lunarDay };

    std::string text;
    Kind kind = Kind::none;

    bool operator==(const TovikCalendarCaption &) const = default;
};

// One day of a month grid: its position, its date and its marks.
struct TovikCalendarCellData {
    std::int64_t id = 0;  // 0 to 41, row-major, column 0 = Monday
    Instant date = 0;     // local midnight of the day
    std::int64_t day = 0; // day of the month, 0 for a day that could not be computed
    bool isCurrentMonth = false;
    bool isToday = false;                   // only ever true for a current-month cell
    std::optional<std::string> holidayName; // only for current-month cells
    bool isMakeupWorkday = false;           // for every cell
    // The day in the lunar calendar and what falls on it; for current-month cells only.
    std::optional<TovikLunarDate::LunarDay> lunarDay;
    std::optional<std::string> festivalName;
    std::optional<std::string> solarTermName;

    // The caption of a current-month day (none for others). Official marks win: 上班, the holiday's name;
    // with `showsLunar`, then the festival, the solar term, and else the lunar day (the month's name on
    // its first day).
    TovikCalendarCaption caption(bool showsLunar) const;
    // 农历十月廿九; empty without a lunar day.
    std::string lunarDateText() const;

    bool operator==(const TovikCalendarCellData &) const = default;
};

// One month laid out as 6 Monday-first weeks of 42 cells, with its title texts; used by the calendar page
// and the calendar widget so both show the same days and marks.
struct TovikCalendarGrid {
    std::string monthName; // 2月
    std::string yearText;  // 2026年
    std::array<std::string, 7> weekdayTitles;
    std::vector<TovikCalendarCellData> cells; // always 42
    std::optional<std::int64_t> todayIndex;
    std::optional<std::int64_t> todayWeekRow;

    // Rows the month needs, 4 to 6.
    int weekRowCount() const;

    // 周一 … 周日, the same for every grid.
    static const std::array<std::string, 7> &standardWeekdayTitles();

    // The month containing `month`, with `today` as the day that counts as now.
    static TovikCalendarGrid make(Instant month, Instant today);

    bool operator==(const TovikCalendarGrid &) const = default;
};
