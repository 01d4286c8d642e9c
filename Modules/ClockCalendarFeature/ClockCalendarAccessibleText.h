#pragma once

#include <ClockCalendarShared/TovikCalendarGrid.h>

#include <QString>

// The words screen readers and tooltips use for the calendar's days and the stopwatch, shared by the views
// and their accessible faces.
namespace ClockCalendarAccessibleText {

// A day as a person would say it, with its lunar date and what falls on it: "2026年1月1日 星期四 元旦
// 农历冬月十三", "2026年12月7日 星期一 大雪 农历十月廿九".
QString dayName(const TovikCalendarCellData &cell);
// A day's tooltip: its lunar date as the clock writes it, and the festival or solar term on it
// ("丙午年十月廿九 星期一 大雪"); empty for a day outside the month.
QString dayToolTip(const TovikCalendarCellData &cell);

// The stopwatch display's name; its value is the shown time.
inline QString stopwatchName()
{
    return QStringLiteral("计时器");
}

} // namespace ClockCalendarAccessibleText
