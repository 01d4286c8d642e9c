#pragma once

// Days, grid positions and simulated mouse gestures for the calendar page's GUI tests.
#include "AccessibleLookup.h"

#include <ClockCalendarFeature/CalendarDayCell.h>
#include <ClockCalendarFeature/CalendarView.h>
#include <ClockCalendarFeature/CalendarViewController.h>
#include <ClockCalendarShared/TovikGregorianCalendar.h>

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace CalendarTestSupport {

// Local midnight of a day (the tests run in Asia/Shanghai).
inline Instant day(int year, int month, int dayOfMonth)
{
    return TovikGregorianCalendar::date(year, month, dayOfMonth).value();
}

inline Instant at(int year, int month, int dayOfMonth, int hour, int minute, int second = 0)
{
    return day(year, month, dayOfMonth) + hour * 3600 + minute * 60 + second;
}

// The grid position showing a day of the displayed month; -1 when the month view does not show it.
inline int positionOf(const CalendarView &view, Instant date)
{
    const auto &cells = view.gridCells();
    for (std::size_t p = 0; p < cells.size(); ++p) {
        if (cells[p].isCurrentMonth && cells[p].date == date) {
            return static_cast<int>(p);
        }
    }
    return -1;
}

// A month under `root` by the name it reads out ("1月 2026年"), given by the program's screen-reader faces,
// which the test installs before it builds any view (ClockCalendarAccessibility::install).
inline CalendarView *monthNamed(const QWidget &root, const QString &title)
{
    return findByAccessibleName<CalendarView>(root, title);
}

inline QPoint centreOf(const CalendarView &view, int position)
{
    return view.dayCellFrame(position).center().toPoint();
}

inline QPoint centreOf(const CalendarView &view, Instant date)
{
    const int position = positionOf(view, date);
    EXPECT_GE(position, 0);
    return centreOf(view, std::max(position, 0));
}

inline void press(CalendarView &view, QPoint point)
{
    QTest::mousePress(&view, Qt::LeftButton, {}, point);
}

// Moves go to the view that took the press, as the pointer grab does, wherever the pointer is.
inline void moveTo(CalendarView &view, QPoint point)
{
    QTest::mouseMove(&view, point);
}

inline void release(CalendarView &view, QPoint point)
{
    QTest::mouseRelease(&view, Qt::LeftButton, {}, point);
}

inline void drag(CalendarView &view, QPoint from, QPoint to)
{
    press(view, from);
    moveTo(view, to);
    release(view, to);
}

// Day numbers of the cells that show a selection fill.
inline std::set<int> filledDays(const CalendarView &view)
{
    std::set<int> days;
    for (int p = 0; p < CalendarLayout::gridCellCount; ++p) {
        if (view.dayCell(p)->isSelectedDay()) {
            days.insert(view.dayCell(p)->dayText().toInt());
        }
    }
    return days;
}

// The day numbers marked as today across both months (at most one), or across those on screen.
inline std::set<int> todayMarks(CalendarViewController &controller, bool onScreenOnly = false)
{
    std::set<int> marked;
    for (CalendarView *view : {controller.currentMonthView(), controller.nextMonthView()}) {
        for (int p = 0; p < CalendarLayout::gridCellCount && (view->isVisible() || !onScreenOnly); ++p) {
            if (view->dayCell(p)->isTodayDay()) {
                marked.insert(view->dayCell(p)->dayText().toInt());
            }
        }
    }
    return marked;
}

// A shown top-level window takes its new size when the platform confirms it.
inline bool resizeAndWait(QWidget &window, QSize size)
{
    window.resize(size);
    return QTest::qWaitFor([&] { return window.size() == size; });
}

inline QString visibleWorkdayCount(const CalendarView &view)
{
    return view.workdayCountLabel()->isVisible() ? view.workdayCountLabel()->text() : QString();
}

} // namespace CalendarTestSupport
