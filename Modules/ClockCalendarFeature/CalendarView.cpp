#include "CalendarView.h"

#include "CalendarColors.h"
#include "CalendarDayCell.h"
#include "CalendarLunarSetting.h"
#include "ClockCalendarAccessibleText.h"

#include <ClockCalendarShared/TovikCalendarPalette.h>
#include <ClockCalendarShared/TovikChinaHolidayCalendar.h>
#include <ClockCalendarShared/TovikGregorianCalendar.h>
#include <Platform/Ui/TovikClock.h>
#include <TovikKit/TovikFonts.h>
#include <TovikKit/TovikGeometry.h>

#include <QFontMetricsF>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

QColor weekdayTitleColor(int column)
{
    return column < 5 ? CalendarColors::todayBlue() : TovikColors::white(TovikCalendarPalette::weekendDayAlpha);
}

const QFont &titleFont()
{
    static const QFont font = TovikFonts::systemFont(CalendarLayout::titleFontSize, QFont::Bold);
    return font;
}

QToolButton *makePagingButton(const QString &title, const QString &name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setText(title);
    // A screen reader would read the arrow glyph; it says what the button does.
    button->setAccessibleName(name);
    button->setToolTip(name);
    button->setFont(TovikFonts::systemFont(22, QFont::Medium));
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::ArrowCursor);
    button->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; color: white; }"
                                         "QToolButton:pressed { color: rgba(255, 255, 255, 128); }"));
    return button;
}

} // namespace

CalendarView::CalendarView(const TovikClock &clock, QWidget *parent)
    : QWidget(parent)
    , m_clock(clock)
{
    const Instant now = m_clock.now();
    m_displayedMonth = now;
    m_displayedYearMonth = TovikGregorianCalendar::components(now);
    m_renderedToday = now;
    setFocusPolicy(Qt::ClickFocus);

    m_previousButton = makePagingButton(QStringLiteral("‹"), QStringLiteral("上个月"), this);
    m_nextButton = makePagingButton(QStringLiteral("›"), QStringLiteral("下个月"), this);
    connect(m_previousButton, &QToolButton::clicked, this, [this] { showPreviousMonth(); });
    connect(m_nextButton, &QToolButton::clicked, this, [this] { showNextMonth(); });

    for (int i = 0; i < CalendarLayout::gridCellCount; ++i) {
        m_dayCells[i] = new CalendarDayCell(this);
    }

    m_workdayCountLabel = new QLabel(this);
    m_workdayCountLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_workdayCountLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_workdayCountLabel->setFont(TovikFonts::systemFont(10, QFont::DemiBold));
    QPalette palette = m_workdayCountLabel->palette();
    palette.setColor(QPalette::WindowText, CalendarColors::todayBlue());
    m_workdayCountLabel->setPalette(palette);
    m_workdayCountLabel->hide();

    CalendarLunarSetting &lunar = CalendarLunarSetting::shared();
    m_showsLunar = lunar.showsLunar();
    connect(&lunar, &CalendarLunarSetting::showsLunarChanged, this, &CalendarView::setShowsLunar);

    updateMonth(now);
}

void CalendarView::setShowsLunar(bool shows)
{
    if (shows != m_showsLunar) {
        m_showsLunar = shows;
        applyCaptions();
    }
}

// Captions change alone: the selection and the focus ring stay.
void CalendarView::applyCaptions()
{
    for (int i = 0; i < CalendarLayout::gridCellCount; ++i) {
        const bool hasCell = static_cast<std::size_t>(i) < m_gridCells.size();
        m_dayCells[i]->setCaption(hasCell ? m_gridCells[i].caption(m_showsLunar) : TovikCalendarCaption{});
    }
}

bool CalendarView::event(QEvent *event)
{
    // The cells let the pointer through, so the month answers for the day under it.
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const std::optional<int> position = dayIndex(help->pos());
        const QString text = position && isDayOfDisplayedMonth(*position)
                                 ? ClockCalendarAccessibleText::dayToolTip(m_gridCells[*position])
                                 : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this, dayCellFrame(*position).toRect());
        }
        return true;
    }
    return QWidget::event(event);
}

void CalendarView::setDisplayedMonth(Instant date, bool notify)
{
    m_displayedMonth = TovikGregorianCalendar::firstOfMonth(date);
    m_displayedYearMonth = TovikGregorianCalendar::components(m_displayedMonth);
    updateMonth(m_clock.now());
    if (notify && onDisplayedMonthChanged) {
        onDisplayedMonthChanged(m_displayedMonth);
    }
}

void CalendarView::showPreviousMonth()
{
    if (const std::optional<Instant> month = TovikGregorianCalendar::addingMonths(m_displayedMonth, -1)) {
        setDisplayedMonth(*month, true);
    }
}

void CalendarView::showNextMonth()
{
    if (const std::optional<Instant> month = TovikGregorianCalendar::addingMonths(m_displayedMonth, 1)) {
        setDisplayedMonth(*month, true);
    }
}

void CalendarView::updateMonth(Instant today)
{
    // The month shown is a civil one: after a change of zone its first day has another instant.
    const unsigned zone = TovikGregorianCalendar::zoneGeneration();
    if (zone != m_renderedZone) {
        m_renderedZone = zone;
        m_displayedMonth = TovikGregorianCalendar::date(m_displayedYearMonth.year, m_displayedYearMonth.month, 1)
                               .value_or(m_displayedMonth);
    }
    m_renderedToday = today;
    // Holiday files put in place while we run are followed at each page change and day check.
    TovikChinaHolidayCalendar::reloadArrangements();
    TovikCalendarGrid grid = TovikCalendarGrid::make(m_displayedMonth, today);
    m_monthWeekRowCount = grid.weekRowCount();
    m_gridCells = std::move(grid.cells);
    m_monthTitleText = QString::fromStdString(grid.monthName);
    m_yearTitleText = QString::fromStdString(grid.yearText);

    clearSelectionState();
    m_workdayCountLabel->hide();

    for (int i = 0; i < CalendarLayout::gridCellCount; ++i) {
        if (static_cast<std::size_t>(i) >= m_gridCells.size()) {
            m_dayCells[i]->configure(QString(), true, false, false, std::nullopt, false);
            continue;
        }
        const TovikCalendarCellData &cell = m_gridCells[i];
        std::optional<QString> holidayName;
        if (cell.holidayName) {
            holidayName = QString::fromStdString(*cell.holidayName);
        }
        m_dayCells[i]->configure(cell.isCurrentMonth ? QString::number(cell.day) : QString(), !cell.isCurrentMonth,
                                 cell.isToday, false, holidayName, cell.isCurrentMonth && cell.isMakeupWorkday);
    }
    applyCaptions();
    refreshFocusRing();
    layoutViews();
    update();
}

void CalendarView::setFocusDay(std::optional<Instant> day)
{
    m_focusDay = day;
    refreshFocusRing();
}

bool CalendarView::showsDay(Instant day) const
{
    return std::any_of(m_gridCells.begin(), m_gridCells.end(),
                       [day](const TovikCalendarCellData &cell) { return cell.isCurrentMonth && cell.date == day; });
}

bool CalendarView::holdsFocusDay() const
{
    return std::any_of(m_dayCells.begin(), m_dayCells.end(),
                       [](const CalendarDayCell *cell) { return cell->showsFocusRing(); });
}

void CalendarView::refreshFocusRing()
{
    for (int i = 0; i < CalendarLayout::gridCellCount; ++i) {
        m_dayCells[i]->setFocusRing(m_focusDay && isDayOfDisplayedMonth(i) && m_gridCells[i].date == *m_focusDay);
    }
}

// The buttons keep their frames whether shown or not, so showing one needs no new layout.
void CalendarView::setShowsPreviousButton(bool shows)
{
    m_showsPreviousButton = shows;
    m_previousButton->setHidden(!shows);
}

void CalendarView::setShowsNextButton(bool shows)
{
    m_showsNextButton = shows;
    m_nextButton->setHidden(!shows);
}

void CalendarView::setVisibleWeekRowCount(int rows)
{
    if (rows == m_visibleWeekRowCount) {
        return;
    }
    m_visibleWeekRowCount = rows;
    layoutViews();
    update();
}

QString CalendarView::monthTitle() const
{
    return m_monthTitleText + QLatin1Char(' ') + m_yearTitleText;
}

QRectF CalendarView::dayCellFrame(int position) const
{
    return TovikGeometry::toQt(m_frames.cells[position], height());
}

void CalendarView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutViews();
}

void CalendarView::layoutViews()
{
    const double h = height();
    const QRectF titleBounds = QFontMetricsF(titleFont())
                                   .boundingRect(QRectF(0, 0, width(), 1e6),
                                                 Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, monthTitle());
    m_frames = CalendarLayout::monthViewFrames(size(), m_visibleWeekRowCount, titleBounds.height());
    m_dayFontSize = m_frames.dayFontSize;
    m_weekdayFont = TovikFonts::systemFont(m_frames.weekdayFontSize, QFont::Medium);

    m_previousButton->setHidden(!m_showsPreviousButton);
    m_nextButton->setHidden(!m_showsNextButton);
    m_previousButton->setGeometry(CalendarLayout::wholePixels(TovikGeometry::toQt(m_frames.previousButton, h)));
    m_nextButton->setGeometry(CalendarLayout::wholePixels(TovikGeometry::toQt(m_frames.nextButton, h)));

    for (int i = 0; i < CalendarLayout::gridCellCount; ++i) {
        CalendarDayCell *cell = m_dayCells[i];
        cell->setHidden(i / CalendarLayout::daysPerWeek >= m_visibleWeekRowCount);
        cell->setFontSize(m_dayFontSize);
        cell->setGeometry(CalendarLayout::wholePixels(TovikGeometry::toQt(m_frames.cells[i], h)));
    }
    layoutWorkdayCountLabel();
}

void CalendarView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const double h = height();

    painter.setFont(titleFont());
    painter.setPen(Qt::white);
    const QRectF title = TovikGeometry::toQt(m_frames.title, h);
    painter.drawText(title, Qt::AlignCenter | Qt::TextSingleLine,
                     QFontMetricsF(titleFont()).elidedText(monthTitle(), Qt::ElideRight, title.width()));

    painter.setFont(m_weekdayFont);
    const std::array<std::string, 7> &titles = TovikCalendarGrid::standardWeekdayTitles();
    for (int i = 0; i < CalendarLayout::daysPerWeek; ++i) {
        painter.setPen(weekdayTitleColor(i));
        painter.drawText(TovikGeometry::toQt(m_frames.weekdayTitles[i], h), Qt::AlignCenter | Qt::TextSingleLine,
                         QString::fromStdString(titles[i]));
    }

    painter.fillRect(TovikGeometry::toQt(m_frames.weekdayDivider, h),
                     TovikColors::white(TovikCalendarPalette::dividerAlpha));
}
