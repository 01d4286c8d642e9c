#pragma once

#include <ClockCalendarShared/Instant.h>
#include <TovikKit/TovikViewController.h>

#include <memory>
#include <optional>

class CalendarView;
class QContextMenuEvent;
class QKeyEvent;
class QWidget;
class TovikLayoutView;
class TovikClock;

// The calendar page: the current month and the next one side by side when there is room (one month when
// narrow), paged together, kept at the same row count, with one drag selection that may run across both.
// From the keyboard a focus day moves over both months and pages on, and Shift extends the selection.
class CalendarViewController final : public TovikViewController {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CalendarViewController)
public:
    explicit CalendarViewController(const TovikClock &clock, QObject *parent = nullptr);

    // Re-renders each month whose today mark is no longer the day of `now`; when the page showed the day
    // that ended and no longer shows today, it pages on to today's month.
    void refreshTodayIfNeeded(Instant now);

    double topContentInset() const { return m_topContentInset; }
    void setTopContentInset(double inset);

    CalendarView *currentMonthView();
    CalendarView *nextMonthView();
    // 显示农历, for the page's menu and for a host's.
    void addContextMenuEntries(QMenu &menu) override;
    // The page's menu (right click on the months, the Menu key or Shift+F10); owned by the caller.
    std::unique_ptr<QMenu> makeContextMenu();

    // The day the keys act on; its ring shows while the page has the focus.
    std::optional<Instant> focusDay() const { return m_focusDay; }

protected:
    QWidget *loadView() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const TovikClock &m_clock;
    enum class SelectionOwner { current, next };

    void layoutContent();
    void syncNextMonth(Instant month);
    void syncWeekRowCount();
    void clearSelection();
    void beginSelection(Instant anchor, SelectionOwner owner, bool togglesOff);
    void updateSelection(QPointF windowPoint);
    void extendSelection(Instant target);
    bool handleKey(const QKeyEvent &event);
    void showContextMenu(const QContextMenuEvent &event);
    void moveFocus(int days, bool extends);
    void pageBy(int months);
    void showMonthOf(Instant day);
    bool isShown(Instant day) const;
    SelectionOwner ownerFor(Instant anchor, Instant target) const;
    void refreshFocusRing();
    void applySelection(const std::vector<Instant> &dates, SelectionOwner owner);

    TovikLayoutView *m_content = nullptr;
    CalendarView *m_currentMonthView = nullptr;
    CalendarView *m_nextMonthView = nullptr;
    QWidget *m_monthDivider = nullptr;
    std::optional<Instant> m_dragAnchorDate;
    std::optional<SelectionOwner> m_selectionOwner;
    // Where the shown selection began (press, drag or keys); what Shift extends from.
    std::optional<Instant> m_selectionAnchor;
    std::optional<Instant> m_focusDay;
    double m_topContentInset = 0;
};
