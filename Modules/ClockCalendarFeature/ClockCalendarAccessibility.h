#pragma once

// What screen readers are told about the calendar, clock and stopwatch views (through Qt's accessibility
// bridge): months as tables of day cells, the clock's three lines, the stopwatch's time and its buttons.
namespace ClockCalendarAccessibility {

// Makes the views' accessible faces known to Qt. The program calls it once, before it shows any view; a
// further call does nothing.
void install();

} // namespace ClockCalendarAccessibility
