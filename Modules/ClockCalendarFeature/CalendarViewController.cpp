#include "CalendarViewController.h"

#include "CalendarLayout.h"
#include "CalendarLunarSetting.h"
#include "CalendarPageView.h"
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

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

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

CalendarViewController::CalendarViewController(const TovikClock &clock, QObject *parent)
    : TovikViewController(parent)
    , m_clock(clock)
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
    m_content = new CalendarPageView();
    m_content->setFocusPolicy(Qt::StrongFocus);
    m_content->installEventFilter(this);
    m_monthDivider = new QWidget(m_content);
    m_monthDivider->setAutoFillBackground(true);
    QPalette palette = m_monthDivider->palette();
    palette.setColor(QPalette::Window, TovikColors::white(0.1));
    m_monthDivider->setPalette(palette);

    m_currentMonthView = new CalendarView(m_clock, m_content);
    m_nextMonthView = new CalendarView(m_clock, m_content);
    // A click on a month focuses the page, whose keys span both months.
    m_currentMonthView->setFocusProxy(m_content);
    m_nextMonthView->setFocusProxy(m_content);

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
        tovikWeakCallback(this, [](Self *self) { self->refreshTodayIfNeeded(self->m_clock.now()); });
    // The day check: one wake-up at each local midnight while the page is shown.
    new TovikViewTicker(m_content, m_clock, [self = QPointer<Self>(this), clock = &m_clock] {
        const Instant now = clock->now();
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
    m_selectionAnchor.reset();
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
    m_selectionAnchor = m_dragAnchorDate;
    extendSelection(*m_dragAnchorDate);
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
    extendSelection(TovikGregorianCalendar::startOfDay(*target));
}

// The one path of the pointer and the keys: the days from the anchor to `target`, counted and pushed into
// both months. The target becomes the focus day, so the keys go on from where the pointer stopped.
void CalendarViewController::extendSelection(Instant target)
{
    m_focusDay = target;
    if (m_selectionAnchor && m_selectionOwner) {
        applySelection(CalendarSelection::dayRange(*m_selectionAnchor, target), *m_selectionOwner);
    }
    refreshFocusRing();
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
    const bool showedToday = isShown(TovikGregorianCalendar::startOfDay(currentMonthView()->renderedToday()));
    for (CalendarView *monthView : {currentMonthView(), nextMonthView()}) {
        if (monthView->renderedZone() != zone || !TovikGregorianCalendar::isSameDay(monthView->renderedToday(), now)) {
            monthView->updateMonth(now);
        }
    }
    // A page that showed the day just ended follows today into its month; one paged elsewhere stays there.
    const Instant today = TovikGregorianCalendar::startOfDay(now);
    if (showedToday && !isShown(today)) {
        showMonthOf(today);
    }
}

bool CalendarViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_content) {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (handleKey(static_cast<const QKeyEvent &>(*event))) {
                event->accept();
                return true;
            }
            break;
        case QEvent::ContextMenu:
            showContextMenu(static_cast<const QContextMenuEvent &>(*event));
            return true;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            refreshFocusRing();
            break;
        default:
            break;
        }
    }
    return TovikViewController::eventFilter(watched, event);
}

void CalendarViewController::addContextMenuEntries(QMenu &menu)
{
    menu.addAction(CalendarLunarSetting::shared().makeAction(&menu));
}

std::unique_ptr<QMenu> CalendarViewController::makeContextMenu()
{
    auto menu = std::make_unique<QMenu>();
    addContextMenuEntries(*menu);
    return menu;
}

// From the keyboard the menu opens at the focus day, where the eyes are.
void CalendarViewController::showContextMenu(const QContextMenuEvent &event)
{
    QPoint at = event.globalPos();
    if (event.reason() == QContextMenuEvent::Keyboard && m_focusDay) {
        for (CalendarView *monthView : {m_currentMonthView, m_nextMonthView}) {
            const auto &cells = monthView->gridCells();
            for (std::size_t p = 0; p < cells.size() && !monthView->isHidden(); ++p) {
                if (cells[p].isCurrentMonth && cells[p].date == *m_focusDay) {
                    at = monthView->mapToGlobal(monthView->dayCellFrame(static_cast<int>(p)).center().toPoint());
                }
            }
        }
    }
    makeContextMenu()->exec(at);
}

bool CalendarViewController::handleKey(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const bool extends = modifiers == Qt::ShiftModifier;
    if (modifiers != Qt::NoModifier && !extends) {
        return false;
    }
    switch (event.key()) {
    case Qt::Key_Left:
        moveFocus(-1, extends);
        return true;
    case Qt::Key_Right:
        moveFocus(1, extends);
        return true;
    case Qt::Key_Up:
        moveFocus(-7, extends);
        return true;
    case Qt::Key_Down:
        moveFocus(7, extends);
        return true;
    default:
        break;
    }
    if (extends) {
        return false;
    }
    switch (event.key()) {
    case Qt::Key_PageUp:
        pageBy(-1);
        return true;
    case Qt::Key_PageDown:
        pageBy(1);
        return true;
    case Qt::Key_Home: {
        const Instant today = TovikGregorianCalendar::startOfDay(m_clock.now());
        showMonthOf(today);
        m_focusDay = today;
        refreshFocusRing();
        return true;
    }
    case Qt::Key_Escape:
        if (m_currentMonthView->selectedDates().empty() && m_nextMonthView->selectedDates().empty()) {
            return false;
        }
        clearSelection();
        return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_focusDay) {
            clearSelection();
            m_selectionAnchor = m_focusDay;
            m_selectionOwner = ownerFor(*m_focusDay, *m_focusDay);
            extendSelection(*m_focusDay);
        }
        return true;
    default:
        return false;
    }
}

void CalendarViewController::moveFocus(int days, bool extends)
{
    if (!m_focusDay) {
        refreshFocusRing(); // picks a focus day first
        if (!m_focusDay) {
            return;
        }
    }
    const bool hasSelection = !m_currentMonthView->selectedDates().empty() || !m_nextMonthView->selectedDates().empty();
    const Instant anchor = extends && hasSelection && m_selectionAnchor ? *m_selectionAnchor : *m_focusDay;
    const Instant target = TovikGregorianCalendar::addingDays(*m_focusDay, days).value_or(*m_focusDay);
    showMonthOf(target); // paging clears the selection, which is pushed again below
    if (!extends) {
        m_focusDay = target;
        refreshFocusRing();
        return;
    }
    m_selectionAnchor = anchor;
    m_selectionOwner = ownerFor(anchor, target);
    extendSelection(target);
}

void CalendarViewController::pageBy(int months)
{
    const std::optional<Instant> month =
        TovikGregorianCalendar::addingMonths(m_currentMonthView->displayedMonth(), months);
    if (!month) {
        return;
    }
    m_currentMonthView->setDisplayedMonth(*month, true);
    if (m_focusDay) {
        m_focusDay = TovikGregorianCalendar::addingMonths(*m_focusDay, months).value_or(*month);
    }
    refreshFocusRing();
}

// Pages, as the buttons do, until the day is on the page.
void CalendarViewController::showMonthOf(Instant day)
{
    if (isShown(day)) {
        return;
    }
    const Instant first = m_currentMonthView->displayedMonth();
    if (day < first) {
        m_currentMonthView->setDisplayedMonth(day, true);
        return;
    }
    // Forward, the day's month becomes the last one shown.
    const int shownMonths = m_nextMonthView->isHidden() ? 1 : 2;
    m_currentMonthView->setDisplayedMonth(
        TovikGregorianCalendar::addingMonths(TovikGregorianCalendar::firstOfMonth(day), 1 - shownMonths).value_or(day),
        true);
}

bool CalendarViewController::isShown(Instant day) const
{
    return m_currentMonthView->showsDay(day) || (!m_nextMonthView->isHidden() && m_nextMonthView->showsDay(day));
}

// Like a drag, the count goes to the month where the selection began; when that month has paged away, to
// the month that shows the selection's first row.
CalendarViewController::SelectionOwner CalendarViewController::ownerFor(Instant anchor, Instant target) const
{
    if (m_currentMonthView->showsDay(anchor)) {
        return SelectionOwner::current;
    }
    if (!m_nextMonthView->isHidden() && m_nextMonthView->showsDay(anchor)) {
        return SelectionOwner::next;
    }
    if (anchor < target || m_nextMonthView->isHidden()) {
        return SelectionOwner::current;
    }
    return m_currentMonthView->showsDay(target) ? SelectionOwner::current : SelectionOwner::next;
}

void CalendarViewController::refreshFocusRing()
{
    if (!m_content) {
        return;
    }
    if (!m_focusDay || !isShown(*m_focusDay)) {
        const Instant today = TovikGregorianCalendar::startOfDay(m_clock.now());
        m_focusDay = isShown(today) ? today : m_currentMonthView->displayedMonth();
    }
    const std::optional<Instant> shown = m_content->hasFocus() ? m_focusDay : std::nullopt;
    m_currentMonthView->setFocusDay(shown);
    m_nextMonthView->setFocusDay(shown);
}
