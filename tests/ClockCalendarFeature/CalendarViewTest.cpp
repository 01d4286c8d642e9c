// One month view on its own: the month it shows, paging, and selecting days with the mouse.
#include "CalendarTestSupport.h"

#include <Platform/Ui/TovikClock.h>

#include <QDir>
#include <QFile>
#include <QToolButton>

using namespace CalendarTestSupport;

namespace {

class CalendarViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.resize(420, 400);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    void showMonth(int year, int month, Instant today)
    {
        view.setDisplayedMonth(day(year, month, 1), false);
        view.updateMonth(today);
    }

    void click(Instant date)
    {
        const QPoint point = centreOf(view, date);
        press(view, point);
        release(view, point);
    }

    CalendarView view{TovikClock::shared()};
};

} // namespace

TEST_F(CalendarViewTest, ShowsTheMonthWithItsMarks)
{
    showMonth(2026, 1, at(2026, 1, 20, 9, 0));
    EXPECT_EQ(view.monthTitle(), QStringLiteral("1月 2026年"));
    // January 2026 starts on a Thursday: three empty cells of December come first.
    for (int p = 0; p < 3; ++p) {
        EXPECT_TRUE(view.dayCell(p)->dayText().isEmpty()) << p;
        EXPECT_TRUE(view.dayCell(p)->isMutedDay());
    }
    EXPECT_EQ(view.dayCell(3)->dayText(), QStringLiteral("1"));
    EXPECT_EQ(view.dayCell(3)->captionText(), QStringLiteral("元旦"));
    EXPECT_TRUE(view.dayCell(3)->isCaptionVisible());
    EXPECT_EQ(view.dayCell(6)->captionText(), QStringLiteral("上班")); // 4 January, a makeup Sunday
    EXPECT_EQ(view.dayCell(6)->numberColor(), QColor(0x32, 0xD7, 0x4B));
    const CalendarDayCell *today = view.dayCell(positionOf(view, day(2026, 1, 20)));
    EXPECT_TRUE(today->isTodayDay());
    EXPECT_EQ(today->numberColor(), QColor::fromRgbF(0.87f, 0.19f, 0.39f));
    EXPECT_EQ(view.monthWeekRowCount(), 5);
    showMonth(2026, 3, at(2026, 1, 20, 9, 0));
    EXPECT_EQ(view.monthWeekRowCount(), 6);
    showMonth(2027, 2, at(2026, 1, 20, 9, 0));
    EXPECT_EQ(view.monthWeekRowCount(), 4);
    // 1 January 2026 in the December 2025 grid is a trailing day: no caption, no number.
    showMonth(2025, 12, at(2026, 1, 20, 9, 0));
    EXPECT_FALSE(view.dayCell(34)->isCaptionVisible());
    EXPECT_TRUE(view.dayCell(34)->dayText().isEmpty());
}

TEST_F(CalendarViewTest, ClickSelectsOneDayAndCountsItsWorkday)
{
    struct Case {
        Instant date;
        const char *label;
    };
    const Case cases[] = {
        {day(2026, 1, 5), "工作日1天"},  // Monday
        {day(2026, 1, 10), "工作日0天"}, // Saturday
        {day(2026, 1, 1), "工作日0天"},  // 元旦
        {day(2026, 2, 14), "工作日1天"}, // makeup Saturday
    };
    for (const Case &c : cases) {
        const auto ymd = TovikGregorianCalendar::components(c.date);
        SCOPED_TRACE(testing::Message() << ymd.year << "-" << ymd.month << "-" << ymd.day);
        showMonth(ymd.year, ymd.month, at(2026, 3, 1, 12, 0));
        click(c.date);
        EXPECT_EQ(filledDays(view), std::set<int>{ymd.day});
        EXPECT_EQ(view.dayCell(positionOf(view, c.date))->selectionMaskedCorners(), 15u);
        EXPECT_EQ(visibleWorkdayCount(view), QString::fromUtf8(c.label));
    }
}

TEST_F(CalendarViewTest, ClickingTheOnlySelectedDayDeselectsItAtRelease)
{
    showMonth(2026, 1, at(2026, 1, 20, 9, 0));
    click(day(2026, 1, 7));
    const QPoint point = centreOf(view, day(2026, 1, 7));
    press(view, point);
    EXPECT_EQ(filledDays(view), std::set<int>{7});
    release(view, point);
    EXPECT_TRUE(filledDays(view).empty());
    EXPECT_TRUE(view.selectedDates().empty());
    EXPECT_FALSE(view.workdayCountLabel()->isVisible());
}

TEST_F(CalendarViewTest, PressingTheOnlySelectedDayAndDraggingKeepsASelection)
{
    showMonth(2026, 1, at(2026, 1, 20, 9, 0));
    click(day(2026, 1, 7));
    press(view, centreOf(view, day(2026, 1, 7)));
    moveTo(view, centreOf(view, day(2026, 1, 8)));
    moveTo(view, centreOf(view, day(2026, 1, 7)));
    release(view, centreOf(view, day(2026, 1, 7)));
    EXPECT_EQ(filledDays(view), std::set<int>{7});
}

TEST_F(CalendarViewTest, ClickingOneOfSeveralSelectedDaysLeavesItAlone)
{
    showMonth(2026, 1, at(2026, 1, 20, 9, 0));
    drag(view, centreOf(view, day(2026, 1, 5)), centreOf(view, day(2026, 1, 9)));
    click(day(2026, 1, 6));
    EXPECT_EQ(filledDays(view), std::set<int>{6});
    EXPECT_EQ(visibleWorkdayCount(view), QStringLiteral("工作日1天"));
}

TEST_F(CalendarViewTest, DragOverTheNationalDayWeekCountsThreeWorkdays)
{
    showMonth(2026, 10, at(2026, 9, 1, 12, 0));
    drag(view, centreOf(view, day(2026, 10, 1)), centreOf(view, day(2026, 10, 10)));
    EXPECT_EQ(filledDays(view), (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(view.selectedDates().size(), 10u);
    EXPECT_EQ(visibleWorkdayCount(view), QStringLiteral("工作日3天"));
    // At the right-most day of the top selected row (4 October, a Sunday at position 6); that is the first
    // grid row, so the label sits just inside the cell's top rather than over the weekday titles.
    const QRect label = view.workdayCountLabel()->geometry();
    const QRectF cell = view.dayCellFrame(6);
    EXPECT_NEAR(label.x() + label.width(), cell.right() - 3, 1.0);
    EXPECT_NEAR(label.y(), cell.top() + 1, 1.0);

    // The same run dragged backwards selects the same days.
    drag(view, centreOf(view, day(2026, 10, 10)), centreOf(view, day(2026, 10, 1)));
    EXPECT_EQ(view.selectedDates().size(), 10u);
    EXPECT_EQ(visibleWorkdayCount(view), QStringLiteral("工作日3天"));
}

TEST_F(CalendarViewTest, SelectedRunsAreRoundedAlongTheirOutline)
{
    // January 2026: position p shows day p - 2.
    showMonth(2026, 1, at(2026, 3, 1, 12, 0));
    struct Case {
        int first, last;
        std::vector<unsigned> masks;
    };
    const Case cases[] = {
        {11, 16, {5, 0, 10, 5, 0, 10}},
        {5, 13, {4, 8, 5, 0, 0, 0, 0, 0, 2}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << ".." << c.last);
        drag(view, centreOf(view, c.first), centreOf(view, c.last));
        for (int p = 0; p < CalendarLayout::gridCellCount; ++p) {
            const bool inRun = p >= c.first && p <= c.last;
            EXPECT_EQ(view.dayCell(p)->isSelectedDay(), inRun) << p;
            EXPECT_EQ(view.dayCell(p)->selectionMaskedCorners(), inRun ? c.masks[p - c.first] : 0u) << p;
        }
    }
}

TEST_F(CalendarViewTest, DraggingOffTheGridCollapsesAndOverANeighbourKeepsTheRange)
{
    showMonth(2026, 1, at(2026, 3, 1, 12, 0));
    press(view, centreOf(view, day(2026, 1, 5)));
    moveTo(view, centreOf(view, day(2026, 1, 8)));
    EXPECT_EQ(filledDays(view), (std::set<int>{5, 6, 7, 8}));
    moveTo(view, centreOf(view, 1)); // 30 December, a day of the previous month
    EXPECT_EQ(filledDays(view), (std::set<int>{5, 6, 7, 8}));
    moveTo(view, QPoint(view.width() / 2, 5)); // the header
    EXPECT_EQ(filledDays(view), std::set<int>{5});
    release(view, QPoint(view.width() / 2, 5));
    EXPECT_EQ(filledDays(view), std::set<int>{5});
}

TEST_F(CalendarViewTest, PressOutsideTheMonthsDaysClearsAndStartsNoDrag)
{
    showMonth(2026, 1, at(2026, 3, 1, 12, 0));
    int began = 0;
    int ended = 0;
    view.onDragBegan = [&](Instant, bool) { ++began; };
    view.onDragEnded = [&] { ++ended; };
    for (const QPoint margin : {QPoint(3, view.height() - 3), centreOf(view, 0), QPoint(view.width() / 2, 50)}) {
        SCOPED_TRACE(testing::Message() << margin.x() << "," << margin.y());
        click(day(2026, 1, 12));
        ASSERT_EQ(began, 1);
        press(view, margin);
        EXPECT_TRUE(view.selectedDates().empty());
        EXPECT_TRUE(filledDays(view).empty());
        EXPECT_FALSE(view.workdayCountLabel()->isVisible());
        moveTo(view, centreOf(view, day(2026, 1, 14)));
        EXPECT_TRUE(filledDays(view).empty());
        release(view, centreOf(view, day(2026, 1, 14)));
        EXPECT_EQ(began, 1);
        began = 0;
    }
    EXPECT_EQ(ended, 6);
}

TEST_F(CalendarViewTest, PagingShowsTheNeighbouringMonthAndDropsTheSelection)
{
    showMonth(2026, 1, at(2026, 1, 20, 9, 0));
    std::vector<Instant> changes;
    view.onDisplayedMonthChanged = [&](Instant month) { changes.push_back(month); };
    drag(view, centreOf(view, day(2026, 1, 5)), centreOf(view, day(2026, 1, 9)));
    QTest::mouseClick(view.previousButton(), Qt::LeftButton);
    EXPECT_EQ(view.monthTitle(), QStringLiteral("12月 2025年"));
    EXPECT_EQ(changes, std::vector<Instant>{day(2025, 12, 1)});
    EXPECT_TRUE(view.selectedDates().empty());
    EXPECT_TRUE(filledDays(view).empty());
    EXPECT_FALSE(view.workdayCountLabel()->isVisible());
    QTest::mouseClick(view.nextButton(), Qt::LeftButton);
    QTest::mouseClick(view.nextButton(), Qt::LeftButton);
    EXPECT_EQ(view.monthTitle(), QStringLiteral("2月 2026年"));

    changes.clear();
    view.setDisplayedMonth(at(2026, 3, 15, 14, 30), false);
    EXPECT_EQ(view.displayedMonth(), day(2026, 3, 1));
    EXPECT_TRUE(changes.empty());
}

TEST_F(CalendarViewTest, WorkdayLabelAndCellsLeaveClicksToTheView)
{
    showMonth(2026, 1, at(2026, 3, 1, 12, 0));
    click(day(2026, 1, 14));
    ASSERT_TRUE(view.workdayCountLabel()->isVisible());
    EXPECT_EQ(view.childAt(view.workdayCountLabel()->geometry().center()), nullptr);
    EXPECT_EQ(view.childAt(centreOf(view, day(2026, 1, 20))), nullptr);
}

TEST_F(CalendarViewTest, PushedSelectionMarksOnlyThisMonthsDays)
{
    showMonth(2026, 1, at(2026, 3, 1, 12, 0));
    view.applySelection({day(2026, 2, 1), day(2026, 2, 2)}, std::nullopt);
    EXPECT_TRUE(filledDays(view).empty());
    EXPECT_FALSE(view.workdayCountLabel()->isVisible());

    view.applySelection({at(2026, 1, 31, 15, 0), day(2026, 2, 1)}, 7);
    EXPECT_EQ(filledDays(view), std::set<int>{31});
    EXPECT_EQ(visibleWorkdayCount(view), QStringLiteral("工作日7天"));

    view.updateMonth(at(2026, 3, 1, 12, 0));
    EXPECT_TRUE(filledDays(view).empty());
    EXPECT_FALSE(view.workdayCountLabel()->isVisible());
}

// The count over a first-row day would cover 周日 and the divider: it sits inside the day's cell instead,
// right-aligned; over a lower row it stays above its cell.
TEST_F(CalendarViewTest, WorkdayCountOverTheFirstRowStaysClearOfTheWeekdayTitles)
{
    showMonth(2026, 3, at(2026, 3, 20, 9, 0)); // 1 March 2026 is a Sunday, alone in the first row
    click(day(2026, 3, 1));
    const QRect label = view.workdayCountLabel()->geometry();
    const QRectF sunday = view.dayCellFrame(positionOf(view, day(2026, 3, 1)));
    ASSERT_EQ(visibleWorkdayCount(view), QStringLiteral("工作日0天"));
    EXPECT_GE(label.top(), sunday.top());
    EXPECT_LE(label.bottom(), sunday.bottom());
    EXPECT_NEAR(label.right() + 1, sunday.right() - 3, 1);

    click(day(2026, 3, 8));
    const QRect lower = view.workdayCountLabel()->geometry();
    const QRectF nextSunday = view.dayCellFrame(positionOf(view, day(2026, 3, 8)));
    EXPECT_NEAR(lower.bottom() + 1, nextSunday.top() - 1, 1);
    EXPECT_NEAR(lower.right() + 1, nextSunday.right() - 3, 1);
}

TEST_F(CalendarViewTest, AHolidayFilePutInPlaceIsShownAtTheNextPageChange)
{
    const QString folder = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/dayvane/holidays");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(folder + QStringLiteral("/2028.json"));
    file.remove();
    showMonth(2028, 1, at(2026, 1, 20, 9, 0));
    const int springFestival = positionOf(view, day(2028, 1, 26));
    EXPECT_FALSE(view.dayCell(springFestival)->isCaptionVisible());

    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"year": 2028, "days": [{"name": "春节", "date": "2028-01-26", "isOffDay": true}]})");
    file.close();
    showMonth(2028, 2, at(2026, 1, 20, 9, 0));
    showMonth(2028, 1, at(2026, 1, 20, 9, 0));
    EXPECT_EQ(view.dayCell(springFestival)->captionText(), QStringLiteral("春节"));
    EXPECT_TRUE(view.dayCell(springFestival)->isCaptionVisible());
    file.remove();
}
