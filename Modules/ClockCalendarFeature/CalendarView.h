#pragma once

#include "CalendarLayout.h"
#include "CalendarSelection.h"

#include <ClockCalendarShared/Instant.h>
#include <ClockCalendarShared/TovikCalendarGrid.h>
#include <ClockCalendarShared/TovikGregorianCalendar.h>

#include <QFont>
#include <QPointF>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <unordered_set>
#include <vector>

class CalendarDayCell;
class QLabel;
class QToolButton;
class TovikClock;

// One month of the calendar page: a title with paging buttons, the weekday row, 42 day cells of which 4 to
// 6 week rows show, and the selection of days by press and drag with its workday count. Alone it selects
// within its month; a page that sets onDragChanged takes over the range and pushes it back in.
class CalendarView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CalendarView)
public:
    explicit CalendarView(const TovikClock &clock, QWidget *parent = nullptr);

    Instant displayedMonth() const { return m_displayedMonth; }
    // Shows the month containing `date`, rebuilt with the current moment as today.
    void setDisplayedMonth(Instant date, bool notify);
    void showPreviousMonth();
    void showNextMonth();
    // Rebuilds every cell for the displayed month; drops the selection without calling back.
    void updateMonth(Instant today);
    Instant renderedToday() const { return m_renderedToday; }
    // The zone generation (TovikGregorianCalendar) the cells were last built in.
    unsigned renderedZone() const { return m_renderedZone; }

    bool showsPreviousButton() const { return m_showsPreviousButton; }
    void setShowsPreviousButton(bool shows);
    bool showsNextButton() const { return m_showsNextButton; }
    void setShowsNextButton(bool shows);

    int monthWeekRowCount() const { return m_monthWeekRowCount; }
    int visibleWeekRowCount() const { return m_visibleWeekRowCount; }
    void setVisibleWeekRowCount(int rows);
    double dayFontSize() const { return m_dayFontSize; }
    // Whether the days show their lunar captions; follows the shared switch (CalendarLunarSetting).
    bool showsLunar() const { return m_showsLunar; }
    void setShowsLunar(bool shows);

    // The day of the displayed month under a point given in the top-level window's coordinates.
    std::optional<Instant> dayDate(QPointF windowPoint) const;
    // The grid position under a point in this view's coordinates.
    std::optional<int> dayIndex(QPointF viewPoint) const;
    // A selection computed by the page; only the month in which the drag began gets a count.
    void applySelection(const std::vector<Instant> &dates, std::optional<int> workdayCount);
    void resetSelection();
    const std::unordered_set<Instant> &selectedDates() const { return m_selectedDates; }
    // The day that wears the keyboard's focus ring, if this view shows it; none hides the ring.
    void setFocusDay(std::optional<Instant> day);
    // Whether a day (a local midnight) is one of the displayed month's.
    bool showsDay(Instant day) const;

    std::function<void(Instant)> onDisplayedMonthChanged;
    std::function<void(Instant day, bool togglesOff)> onDragBegan;
    std::function<void(QPointF windowPoint)> onDragChanged;
    std::function<void()> onDragEnded;

    // What is on screen, for the page and for tests.
    QString monthTitle() const;
    CalendarDayCell *dayCell(int position) const { return m_dayCells[position]; }
    // Whether the keyboard's focus day is one of this month's cells (and the page has the focus).
    bool holdsFocusDay() const;
    QRectF dayCellFrame(int position) const; // in this view's coordinates
    QToolButton *previousButton() const { return m_previousButton; }
    QToolButton *nextButton() const { return m_nextButton; }
    QLabel *workdayCountLabel() const { return m_workdayCountLabel; }
    const std::vector<TovikCalendarCellData> &gridCells() const { return m_gridCells; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const TovikClock &m_clock;
    void layoutViews();
    void applyCaptions();
    void refreshFocusRing();
    CalendarSelection::Positions selectedPositions() const;
    bool isDayOfDisplayedMonth(int position) const;
    void clearSelectionState();
    void refreshSelectionAppearance();
    void updateWorkdayCountLabel(const CalendarSelection::Positions &selected);
    void layoutWorkdayCountLabel();
    int workdayCount(const CalendarSelection::Positions &positions) const;

    Instant m_displayedMonth = 0;
    TovikGregorianCalendar::YearMonthDay m_displayedYearMonth;
    QToolButton *m_previousButton = nullptr;
    QToolButton *m_nextButton = nullptr;
    std::array<CalendarDayCell *, CalendarLayout::gridCellCount> m_dayCells{};
    QLabel *m_workdayCountLabel = nullptr;
    QString m_monthTitleText;
    QString m_yearTitleText;

    std::unordered_set<Instant> m_selectedDates;
    std::optional<int> m_selectionWorkdayCount;
    bool m_usesSelectionWorkdayCount = false;
    std::optional<int> m_dragAnchorIndex;
    bool m_pendingToggleOff = false;
    bool m_didDragSelect = false;

    std::optional<Instant> m_focusDay;
    std::vector<TovikCalendarCellData> m_gridCells;
    Instant m_renderedToday = 0;
    unsigned m_renderedZone = TovikGregorianCalendar::zoneGeneration();
    int m_monthWeekRowCount = 6;
    int m_visibleWeekRowCount = 6;
    double m_dayFontSize = 15;
    bool m_showsLunar = false;
    bool m_showsPreviousButton = true;
    bool m_showsNextButton = true;
    CalendarLayout::MonthViewFrames m_frames; // y-up, from the last layout
    QFont m_weekdayFont;
    double m_workdayLabelFontSize = 0;
    std::optional<double> m_workdayLabelTextWidth; // measured once per text and font
};
