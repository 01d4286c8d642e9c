#include "ClockCalendarAccessibility.h"

#include "CalendarDayCell.h"
#include "CalendarPageView.h"
#include "CalendarView.h"
#include "ClockCalendarAccessibleText.h"
#include "ClockFaceView.h"
#include "StopwatchControlButton.h"
#include "StopwatchView.h"

#include <TovikKit/TovikAccessibleParts.h>
#include <TovikKit/TovikGeometry.h>

#include <QAccessibleWidget>

#include <algorithm>

namespace {

constexpr int columns = CalendarLayout::daysPerWeek;
constexpr int rows = CalendarLayout::gridCellCount / columns;

CalendarView *monthOf(const QWidget *cell)
{
    return qobject_cast<CalendarView *>(cell->parentWidget());
}

int positionOf(const CalendarView &month, const QWidget *cell)
{
    for (int p = 0; p < CalendarLayout::gridCellCount; ++p) {
        if (month.dayCell(p) == cell) {
            return p;
        }
    }
    return -1;
}

// A month: a table of 6 rows of 7 day cells (rows the month does not need are there, invisible).
class MonthAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit MonthAccessible(CalendarView *view)
        : QAccessibleWidget(view, QAccessible::Table)
    {
    }

    QString text(QAccessible::Text type) const override
    {
        return type == QAccessible::Name ? month()->monthTitle() : QAccessibleWidget::text(type);
    }
    // The months pass their focus on to the page; of the two, only the one holding the focus day has it.
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.focused = month()->holdsFocusDay();
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface *>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    int columnCount() const override { return columns; }
    int rowCount() const override { return rows; }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        if (row < 0 || row >= rows || column < 0 || column >= columns) {
            return nullptr;
        }
        return QAccessible::queryAccessibleInterface(month()->dayCell(row * columns + column));
    }
    QString columnDescription(int column) const override
    {
        return column >= 0 && column < columns
                   ? QString::fromStdString(TovikCalendarGrid::standardWeekdayTitles()[std::size_t(column)])
                   : QString();
    }
    QString rowDescription(int) const override { return {}; }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        QList<QAccessibleInterface *> cells;
        for (int p = 0; p < CalendarLayout::gridCellCount; ++p) {
            if (month()->dayCell(p)->isSelectedDay()) {
                cells.append(QAccessible::queryAccessibleInterface(month()->dayCell(p)));
            }
        }
        return cells;
    }
    int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

private:
    CalendarView *month() const { return static_cast<CalendarView *>(widget()); }
};

// The calendar page: it holds the keyboard focus, but while a month shows the focus day that month is what
// a screen reader is told has it, so one place reports focused.
class CalendarPageAccessible final : public QAccessibleWidget {
public:
    explicit CalendarPageAccessible(CalendarPageView *page)
        : QAccessibleWidget(page, QAccessible::Grouping)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        const QList<CalendarView *> months = widget()->findChildren<CalendarView *>();
        state.focused = state.focused && std::none_of(months.begin(), months.end(), [](const CalendarView *month) {
                            return month->holdsFocusDay();
                        });
        return state;
    }
};

// A day: named by its date, weekday and mark; today is told in the description.
class DayAccessible final : public QAccessibleWidget, public QAccessibleTableCellInterface {
public:
    explicit DayAccessible(CalendarDayCell *cell)
        : QAccessibleWidget(cell, QAccessible::Cell)
    {
    }

    QString text(QAccessible::Text type) const override
    {
        const TovikCalendarCellData *data = cellData();
        if (type == QAccessible::Name) {
            return data ? ClockCalendarAccessibleText::dayName(*data) : QString();
        }
        if (type == QAccessible::Description) {
            return data && data->isToday ? QStringLiteral("今天") : QString();
        }
        return QAccessibleWidget::text(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        const auto *cell = static_cast<const CalendarDayCell *>(widget());
        const TovikCalendarCellData *data = cellData();
        state.disabled = !data || !data->isCurrentMonth;
        state.selectable = !state.disabled;
        state.selected = cell->isSelectedDay();
        state.focusable = !state.disabled;
        state.focused = cell->showsFocusRing();
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface *>(this)
                                                       : QAccessibleWidget::interface_cast(type);
    }

    bool isSelected() const override { return static_cast<const CalendarDayCell *>(widget())->isSelectedDay(); }
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return position() % columns; }
    int rowIndex() const override { return position() / columns; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return QAccessible::queryAccessibleInterface(monthOf(widget())); }

private:
    int position() const
    {
        const CalendarView *month = monthOf(widget());
        return month ? std::max(positionOf(*month, widget()), 0) : 0;
    }
    const TovikCalendarCellData *cellData() const
    {
        const CalendarView *month = monthOf(widget());
        const int p = month ? positionOf(*month, widget()) : -1;
        return p >= 0 && std::size_t(p) < month->gridCells().size() ? &month->gridCells()[std::size_t(p)] : nullptr;
    }
};

// The time shown, as the display's value: whole seconds, read out as the text.
class StopwatchAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit StopwatchAccessible(StopwatchView *view)
        : QAccessibleWidget(view, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text type) const override
    {
        switch (type) {
        case QAccessible::Name:
            return ClockCalendarAccessibleText::stopwatchName();
        case QAccessible::Value:
            return view()->label()->text();
        case QAccessible::Description:
            return view()->toolTip();
        default:
            return QAccessibleWidget::text(type);
        }
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface *>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return view()->shownSeconds(); }
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override { return QVariant(); }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    StopwatchView *view() const { return static_cast<StopwatchView *>(widget()); }
};

// A round stopwatch control: a push button named by its caption, pressed as a click presses it.
class ControlButtonAccessible final : public QAccessibleWidget {
public:
    explicit ControlButtonAccessible(StopwatchControlButton *button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction()) {
            static_cast<StopwatchControlButton *>(widget())->press();
        }
    }
};

QAccessibleInterface *clockFaceAccessible(ClockFaceView *view)
{
    using TovikAccessibleParts::Part;
    const auto line = [view](auto text, auto frame, bool always) {
        return Part{
            QAccessible::StaticText,
            [view, text] { return (view->*text)(); },
            [view, frame] { return TovikGeometry::toQt(view->frames().*frame, view->height()).toAlignedRect(); },
            [view, always] {
                QAccessible::State state;
                state.invisible = !always && !view->showsDateAndLunar();
                return state;
            },
            {}};
    };
    using Frames = ClockFaceLayout::Frames;
    std::vector<Part> lines{line(&ClockFaceView::dateText, &Frames::date, false),
                            line(&ClockFaceView::timeText, &Frames::clock, true),
                            line(&ClockFaceView::lunarText, &Frames::lunar, false)};
    return new TovikAccessibleParts::Widget(view, QAccessible::Clock, std::move(lines));
}

QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
    if (className == QLatin1String("CalendarView")) {
        return new MonthAccessible(static_cast<CalendarView *>(object));
    }
    if (className == QLatin1String("CalendarPageView")) {
        return new CalendarPageAccessible(static_cast<CalendarPageView *>(object));
    }
    if (className == QLatin1String("CalendarDayCell")) {
        return new DayAccessible(static_cast<CalendarDayCell *>(object));
    }
    if (className == QLatin1String("ClockFaceView")) {
        return clockFaceAccessible(static_cast<ClockFaceView *>(object));
    }
    if (className == QLatin1String("StopwatchView")) {
        return new StopwatchAccessible(static_cast<StopwatchView *>(object));
    }
    if (className == QLatin1String("StopwatchControlButton")) {
        return new ControlButtonAccessible(static_cast<StopwatchControlButton *>(object));
    }
    return nullptr;
}

} // namespace

namespace ClockCalendarAccessibility {

void install()
{
    static const bool installed = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(installed);
}

} // namespace ClockCalendarAccessibility
