#pragma once

#include <ClockCalendarShared/Instant.h>
#include <TovikKit/TovikViewController.h>

#include <optional>

class CalendarView;
class QWidget;
class TovikLayoutView;

// The calendar page: the current month and the next one side by side when there is room (one month when
// narrow), paged together, kept at the same row count, with one drag selection that may run across both.
class CalendarViewController final : public TovikViewController {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CalendarViewController)
public:
    explicit CalendarViewController(QObject *parent = nullptr);

    // Re-renders each month whose today mark is no longer the day of `now`.
    void refreshTodayIfNeeded(Instant now);

    double topContentInset() const { return m_topContentInset; }
    void setTopContentInset(double inset);

    CalendarView *currentMonthView();
    CalendarView *nextMonthView();

protected:
    QWidget *loadView() override;

private:
    enum class SelectionOwner { current, next };

    void layoutContent();
    void syncNextMonth(Instant month);
    void syncWeekRowCount();
    void clearSelection();
    void beginSelection(Instant anchor, SelectionOwner owner, bool togglesOff);
    void updateSelection(QPointF windowPoint);
    void applySelection(const std::vector<Instant> &dates, SelectionOwner owner);

    TovikLayoutView *m_content = nullptr;
    CalendarView *m_currentMonthView = nullptr;
    CalendarView *m_nextMonthView = nullptr;
    QWidget *m_monthDivider = nullptr;
    std::optional<Instant> m_dragAnchorDate;
    std::optional<SelectionOwner> m_selectionOwner;
    double m_topContentInset = 0;
};
