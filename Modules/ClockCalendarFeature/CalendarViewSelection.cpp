// The selection half of CalendarView: the press-drag-release gesture, pushed selections from the page,
// the corner-masked fills and the workday count label.
#include "CalendarDayCell.h"
#include "CalendarView.h"

#include <ClockCalendarShared/TovikChinaHolidayCalendar.h>
#include <ClockCalendarShared/TovikGregorianCalendar.h>
#include <TovikKit/TovikFonts.h>
#include <TovikKit/TovikGeometry.h>

#include <QFontMetricsF>
#include <QLabel>
#include <QMouseEvent>

#include <algorithm>

using CalendarSelection::Positions;

std::optional<int> CalendarView::dayIndex(QPointF viewPoint) const
{
    const double h = height();
    for (int i = 0; i < CalendarLayout::gridCellCount; ++i) {
        if (m_dayCells[i]->isHidden()) {
            continue;
        }
        const QRectF frame = TovikGeometry::toQt(m_frames.cells[i], h);
        // Half-open, so a point on the line between two cells belongs to one of them only.
        if (viewPoint.x() >= frame.left() && viewPoint.x() < frame.right() && viewPoint.y() >= frame.top()
            && viewPoint.y() < frame.bottom()) {
            return i;
        }
    }
    return std::nullopt;
}

bool CalendarView::isDayOfDisplayedMonth(int position) const
{
    return position >= 0 && static_cast<std::size_t>(position) < m_gridCells.size()
           && m_gridCells[position].isCurrentMonth;
}

std::optional<Instant> CalendarView::dayDate(QPointF windowPoint) const
{
    const std::optional<int> index = dayIndex(mapFrom(window(), windowPoint));
    if (!index || !isDayOfDisplayedMonth(*index)) {
        return std::nullopt;
    }
    return m_gridCells[*index].date;
}

void CalendarView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const std::optional<int> index = dayIndex(event->position());
    if (!index || !isDayOfDisplayedMonth(*index)) {
        if (!m_selectedDates.empty()) {
            resetSelection();
        }
        return;
    }
    const Instant day = m_gridCells[*index].date;
    m_dragAnchorIndex = index;
    m_didDragSelect = false;
    m_pendingToggleOff = m_selectedDates.size() == 1 && m_selectedDates.contains(day);
    if (!m_pendingToggleOff) {
        m_selectedDates = {day};
        m_selectionWorkdayCount.reset();
        m_usesSelectionWorkdayCount = false;
        refreshSelectionAppearance();
    }
    if (onDragBegan) {
        onDragBegan(day, m_pendingToggleOff);
    }
}

void CalendarView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragAnchorIndex) {
        return;
    }
    if (onDragChanged) {
        m_didDragSelect = true;
        m_pendingToggleOff = false;
        onDragChanged(mapTo(window(), event->position()));
        return;
    }
    const int anchor = *m_dragAnchorIndex;
    const int index = dayIndex(event->position()).value_or(anchor);
    if (!isDayOfDisplayedMonth(index)) {
        return;
    }
    m_didDragSelect = true;
    m_pendingToggleOff = false;
    m_selectedDates.clear();
    for (int p = std::min(anchor, index); p <= std::max(anchor, index); ++p) {
        m_selectedDates.insert(m_gridCells[p].date);
    }
    m_selectionWorkdayCount.reset();
    m_usesSelectionWorkdayCount = false;
    refreshSelectionAppearance();
}

void CalendarView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (m_pendingToggleOff && !m_didDragSelect) {
        resetSelection();
    }
    m_dragAnchorIndex.reset();
    m_pendingToggleOff = false;
    m_didDragSelect = false;
    if (onDragEnded) {
        onDragEnded();
    }
}

void CalendarView::resetSelection()
{
    clearSelectionState();
    refreshSelectionAppearance();
}

void CalendarView::clearSelectionState()
{
    m_selectedDates.clear();
    m_selectionWorkdayCount.reset();
    m_usesSelectionWorkdayCount = false;
    m_dragAnchorIndex.reset();
    m_pendingToggleOff = false;
    m_didDragSelect = false;
}

void CalendarView::applySelection(const std::vector<Instant> &dates, std::optional<int> workdayCount)
{
    m_selectedDates.clear();
    for (const Instant date : dates) {
        // Most pushed days are grid days, already local midnights; only others go through the calendar.
        const bool isGridDay = std::any_of(m_gridCells.begin(), m_gridCells.end(),
                                           [date](const TovikCalendarCellData &cell) { return cell.date == date; });
        m_selectedDates.insert(isGridDay ? date : TovikGregorianCalendar::startOfDay(date));
    }
    m_selectionWorkdayCount = workdayCount;
    m_usesSelectionWorkdayCount = true;
    refreshSelectionAppearance();
}

Positions CalendarView::selectedPositions() const
{
    Positions selected;
    if (m_selectedDates.empty()) {
        return selected;
    }
    for (int p = 0; p < CalendarSelection::positionCount; ++p) {
        // Grid dates are local midnights already, the form the selection keeps.
        if (isDayOfDisplayedMonth(p) && m_selectedDates.contains(m_gridCells[p].date)) {
            selected.set(p);
        }
    }
    return selected;
}

void CalendarView::refreshSelectionAppearance()
{
    const Positions selected = selectedPositions();
    const std::array<unsigned, CalendarSelection::positionCount> masks = CalendarSelection::cornerMasks(selected);
    for (int p = 0; p < CalendarSelection::positionCount; ++p) {
        m_dayCells[p]->setSelection(selected.test(p), masks[p]);
    }
    updateWorkdayCountLabel(selected);
}

int CalendarView::workdayCount(const Positions &positions) const
{
    int count = 0;
    for (int p = 0; p < CalendarSelection::positionCount; ++p) {
        if (positions.test(p) && isDayOfDisplayedMonth(p)
            && TovikChinaHolidayCalendar::isWorkday(m_gridCells[p].date)) {
            ++count;
        }
    }
    return count;
}

void CalendarView::updateWorkdayCountLabel(const Positions &selected)
{
    if (m_selectedDates.empty()) {
        m_workdayCountLabel->hide();
        return;
    }
    int count = 0;
    if (m_usesSelectionWorkdayCount) {
        if (!m_selectionWorkdayCount) {
            m_workdayCountLabel->hide();
            return;
        }
        count = *m_selectionWorkdayCount;
    } else {
        count = m_selectionWorkdayCount.value_or(workdayCount(selected));
    }
    const QString text = QStringLiteral("工作日%1天").arg(count);
    if (text != m_workdayCountLabel->text()) {
        m_workdayCountLabel->setText(text);
        m_workdayLabelTextWidth.reset();
    }
    m_workdayCountLabel->show();
    layoutWorkdayCountLabel();
}

void CalendarView::layoutWorkdayCountLabel()
{
    if (m_workdayCountLabel->isHidden() || m_selectedDates.empty()) {
        return;
    }
    const std::optional<int> position = CalendarSelection::workdayLabelPosition(selectedPositions());
    if (!position) {
        return;
    }
    const double fontSize = CalendarLayout::workdayLabelFontSize(m_dayFontSize);
    if (fontSize != m_workdayLabelFontSize) {
        m_workdayLabelFontSize = fontSize;
        m_workdayCountLabel->setFont(TovikFonts::systemFont(fontSize, QFont::DemiBold));
        m_workdayLabelTextWidth.reset();
    }
    const QFontMetricsF metrics(m_workdayCountLabel->font());
    if (!m_workdayLabelTextWidth) {
        m_workdayLabelTextWidth = metrics.horizontalAdvance(m_workdayCountLabel->text());
    }
    const QSizeF textSize(*m_workdayLabelTextWidth, metrics.height());
    const QRectF frame =
        CalendarLayout::workdayLabelFrame(m_frames.cells[*position], textSize, height(), m_frames.weekdayDivider.y());
    m_workdayCountLabel->setGeometry(TovikGeometry::toQt(frame, height()).toRect());
}
