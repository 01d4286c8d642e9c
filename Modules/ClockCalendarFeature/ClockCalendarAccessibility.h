#pragma once

#include <ClockCalendarShared/TovikCalendarGrid.h>

#include <QString>

// What screen readers are told about the calendar, clock and stopwatch views (through Qt's accessibility
// bridge): months as tables of day cells, the clock's three lines, the stopwatch's time and its buttons.
namespace ClockCalendarAccessibility {

// Makes the views' accessible faces known to Qt; the views call it, and the first call does the work.
void install();

// A day as a person would say it: "2026年1月1日 星期四 元旦", "2026年1月4日 星期日 上班".
QString dayName(const TovikCalendarCellData &cell);

// The stopwatch display's name; its value is the shown time.
inline QString stopwatchName()
{
    return QStringLiteral("计时器");
}

} // namespace ClockCalendarAccessibility
