#include "CalendarViewController.h"

#include "CalendarLayout.h"
#include "CalendarSelection.h"
#include "CalendarView.h"

#include <ClockCalendarShared/TovikChinaHolidayCalendar.h>
#include <ClockCalendarShared/TovikGregorianCalendar.h>
#include <Platform/Ui/TovikClock.h>
#include <Platform/Ui/TovikTickSchedule.h>
#include <Platform/Ui/TovikViewTicker.h>
#include <TovikKit/TovikColors.h>
#include <TovikKit/TovikGeometry.h>
#include <TovikKit/TovikLayoutView.h>
#include <TovikKit/TovikWeakCallback.h>

#include <algorithm>

namespace {

Instant nextMidnight(Instant now)
{
    const Instant today = TovikGregorianCalendar::startOfDay(now);
    const Instant tomorrow = TovikGregorianCalendar::addingDays(today, 1).value_or(today + 86400);
    // Never before now, so that a day that cannot be computed still ticks no more than daily.
    return tomorrow > now ? tomorrow : now + 86400;
}

} // namespace

CalendarViewController::CalendarViewController(QObject *parent)
    : TovikViewController(parent)
{
}

CalendarView *CalendarViewController::currentMonthView()
{
    view();
    return m_currentMonthView;
}

CalendarView *CalendarViewController::nextMonthView()
{
    view();
    return m_nextMonthView;
}

void CalendarViewController::setTopContentInset(double inset)
{
    m_topContentInset = inset;
    if (m_content) {
        m_content->requestLayout();
    }
}

QWidget *CalendarViewController::loadView()
{
    m_content = new TovikLayoutView();
    m_monthDivider = new QWidget(m_content);
    m_monthDivider->setAutoFillBackground(true);
    QPalette palette = m_monthDivider->palette();
    palette.setColor(QPalette::Window, TovikColors::white(0.1));
    m_monthDivider->setPalette(palette);

    m_currentMonthView = new CalendarView(m_content);
    m_nextMonthView = new CalendarView(m_content);

    using Self = CalendarViewController;
    m_currentMonthView->onDisplayedMonthChanged = tovikWeakCallback(this, [](Self *self, Instant month) {
        self->clearSelection();
        self->syncNextMonth(month);
        self->syncWeekRowCount();
    });
    m_nextMonthView->onDisplayedMonthChanged = tovikWeakCallback(this, [](Self *self, Instant month) {
        self->clearSelection();
        const Instant previous = TovikGregorianCalendar::addingMonths(month, -1).value_or(month);
        self->m_currentMonthView->setDisplayedMonth(previous, false);
        self->syncNextMonth(previous);
        self->syncWeekRowCount();
    });
    syncNextMonth(m_currentMonthView->displayedMonth());
    syncWeekRowCount();

    m_currentMonthView->onDragBegan = tovikWeakCallback(this, [](Self *self, Instant day, bool togglesOff) {
        self->beginSelection(day, SelectionOwner::current, togglesOff);
    });
    m_nextMonthView->onDragBegan = tovikWeakCallback(this, [](Self *self, Instant day, bool togglesOff) {
        self->beginSelection(day, SelectionOwner::next, togglesOff);
    });
    const auto dragChanged = tovikWeakCallback(this, &Self::updateSelection);
    m_currentMonthView->onDragChanged = dragChanged;
    m_nextMonthView->onDragChanged = dragChanged;
    const auto dragEnded = tovikWeakCallback(this, [](Self *self) {
        self->m_dragAnchorDate.reset();
        self->m_selectionOwner.reset();
    });
    m_currentMonthView->onDragEnded = dragEnded;
    m_nextMonthView->onDragEnded = dragEnded;

    m_content->onLayout = tovikWeakCallback(this, &Self::layoutContent);
    m_content->onWillAppear =
        tovikWeakCallback(this, [](Self *self) { self->refreshTodayIfNeeded(TovikClock::shared().now()); });
    // The day check: one wake-up at each local midnight while the page is shown.
    new TovikViewTicker(m_content, [self = QPointer<Self>(this)] {
        const Instant now = TovikClock::shared().now();
        if (!self) {
            return TovikTickSchedule::msUntil(now, now + 86400);
        }
        self->refreshTodayIfNeeded(now);
        return TovikTickSchedule::msUntil(now, nextMidnight(now));
    });
    return m_content;
}

void CalendarViewController::layoutContent()
{
    const double h = m_content->height();
    const CalendarLayout::PageFrames frames = CalendarLayout::pageFrames(m_content->size(), m_topContentInset);
    m_monthDivider->setHidden(!frames.showsTwoMonths);
    if (frames.showsTwoMonths) {
        m_monthDivider->setGeometry(CalendarLayout::wholePixels(TovikGeometry::toQt(frames.divider, h)));
        m_currentMonthView->setShowsPreviousButton(true);
        m_currentMonthView->setShowsNextButton(false);
        m_nextMonthView->setShowsPreviousButton(false);
        m_nextMonthView->setShowsNextButton(true);
        m_currentMonthView->setGeometry(CalendarLayout::wholePixels(TovikGeometry::toQt(frames.currentMonth, h)));
        m_nextMonthView->setGeometry(CalendarLayout::wholePixels(TovikGeometry::toQt(frames.nextMonth, h)));
        m_currentMonthView->show();
        m_nextMonthView->show();
    } else {
        m_currentMonthView->show();
        m_nextMonthView->hide();
        m_currentMonthView->setShowsPreviousButton(true);
        m_currentMonthView->setShowsNextButton(true);
        m_currentMonthView->setGeometry(CalendarLayout::wholePixels(TovikGeometry::toQt(frames.currentMonth, h)));
    }
}

void CalendarViewController::syncNextMonth(Instant month)
{
    const Instant next = TovikGregorianCalendar::addingMonths(month, 1).value_or(month);
    m_nextMonthView->setDisplayedMonth(next, false);
}

void CalendarViewController::syncWeekRowCount()
{
    const int rows =
        std::clamp(std::max(m_currentMonthView->monthWeekRowCount(), m_nextMonthView->monthWeekRowCount()), 4, 6);
    m_currentMonthView->setVisibleWeekRowCount(rows);
    m_nextMonthView->setVisibleWeekRowCount(rows);
}

void CalendarViewController::clearSelection()
{
    m_dragAnchorDate.reset();
    m_selectionOwner.reset();
    m_currentMonthView->resetSelection();
    m_nextMonthView->resetSelection();
}

void CalendarViewController::beginSelection(Instant anchor, SelectionOwner owner, bool togglesOff)
{
    if (togglesOff) {
        clearSelection();
        return;
    }
    m_dragAnchorDate = TovikGregorianCalendar::startOfDay(anchor);
    m_selectionOwner = owner;
    applySelection({*m_dragAnchorDate}, owner);
}

void CalendarViewController::updateSelection(QPointF windowPoint)
{
    if (!m_dragAnchorDate) {
        return;
    }
    std::optional<Instant> target = m_currentMonthView->dayDate(windowPoint);
    // A hidden month gives no target: the pointer cannot be over a day the user does not see.
    if (!target && !m_nextMonthView->isHidden()) {
        target = m_nextMonthView->dayDate(windowPoint);
    }
    if (!target) {
        return;
    }
    const std::vector<Instant> dates =
        CalendarSelection::dayRange(*m_dragAnchorDate, TovikGregorianCalendar::startOfDay(*target));
    if (m_selectionOwner) {
        applySelection(dates, *m_selectionOwner);
    }
}

void CalendarViewController::applySelection(const std::vector<Instant> &dates, SelectionOwner owner)
{
    const int workdays = static_cast<int>(std::count_if(
        dates.begin(), dates.end(), [](Instant day) { return TovikChinaHolidayCalendar::isWorkday(day); }));
    m_currentMonthView->applySelection(dates,
                                       owner == SelectionOwner::current ? std::optional<int>(workdays) : std::nullopt);
    m_nextMonthView->applySelection(dates, owner == SelectionOwner::next ? std::optional<int>(workdays) : std::nullopt);
}

void CalendarViewController::refreshTodayIfNeeded(Instant now)
{
    // A month built in another zone has its days at that zone's midnights: it is built again.
    const unsigned zone = TovikGregorianCalendar::followHostZone();
    for (CalendarView *monthView : {currentMonthView(), nextMonthView()}) {
        if (monthView->renderedZone() != zone || !TovikGregorianCalendar::isSameDay(monthView->renderedToday(), now)) {
            monthView->updateMonth(now);
        }
    }
}
