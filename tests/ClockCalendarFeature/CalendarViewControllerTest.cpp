// The two-month page: drags across both months, paging together, equal rows, width switch, day change.
#include "CalendarTestSupport.h"
#include "TovikTestClock.h"

#include <ClockCalendarFeature/CalendarViewController.h>
#include <Platform/Ui/TovikViewTicker.h>

#include <QToolButton>

using namespace CalendarTestSupport;

namespace {

class CalendarViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        page = controller.view();
        page->resize(720, 480);
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page));
        current = controller.currentMonthView();
        next = controller.nextMonthView();
        showMonths(2026, 1, at(2026, 1, 20, 9, 0));
    }

    // Pages the page to a month as the user would see it, with a pinned today.
    void showMonths(int year, int month, Instant today)
    {
        current->setDisplayedMonth(day(year, month, 1), true);
        current->updateMonth(today);
        next->updateMonth(today);
    }

    // A point over a day of `target`, in the coordinates of the view that took the press.
    static QPoint pointIn(const CalendarView &pressed, const CalendarView &target, Instant date)
    {
        return pressed.mapFrom(pressed.window(), target.mapTo(target.window(), centreOf(target, date)));
    }

    CalendarViewController controller{TovikClock::shared()};
    QWidget *page = nullptr;
    CalendarView *current = nullptr;
    CalendarView *next = nullptr;
};

} // namespace

TEST_F(CalendarViewControllerTest, DragFromJanuaryIntoFebruarySelectsBothParts)
{
    ASSERT_EQ(next->monthTitle(), QStringLiteral("2月 2026年"));
    press(*current, centreOf(*current, day(2026, 1, 30)));
    moveTo(*current, pointIn(*current, *next, day(2026, 2, 1)));
    moveTo(*current, pointIn(*current, *next, day(2026, 2, 3)));
    release(*current, pointIn(*current, *next, day(2026, 2, 3)));

    EXPECT_EQ(filledDays(*current), (std::set<int>{30, 31}));
    EXPECT_EQ(filledDays(*next), (std::set<int>{1, 2, 3}));
    EXPECT_EQ(current->selectedDates().size(), 5u);
    EXPECT_EQ(next->selectedDates().size(), 5u);
    EXPECT_EQ(visibleWorkdayCount(*current), QStringLiteral("工作日3天"));
    EXPECT_FALSE(next->workdayCountLabel()->isVisible());
}

TEST_F(CalendarViewControllerTest, ReverseDragShowsTheCountInTheMonthWhereItBegan)
{
    press(*next, centreOf(*next, day(2026, 2, 3)));
    moveTo(*next, pointIn(*next, *current, day(2026, 1, 30)));
    release(*next, pointIn(*next, *current, day(2026, 1, 30)));

    EXPECT_EQ(filledDays(*current), (std::set<int>{30, 31}));
    EXPECT_EQ(filledDays(*next), (std::set<int>{1, 2, 3}));
    EXPECT_EQ(visibleWorkdayCount(*next), QStringLiteral("工作日3天"));
    EXPECT_FALSE(current->workdayCountLabel()->isVisible());
}

TEST_F(CalendarViewControllerTest, DragBackIntoTheFirstMonthShrinksTheRange)
{
    press(*current, centreOf(*current, day(2026, 1, 28)));
    moveTo(*current, pointIn(*current, *next, day(2026, 2, 4)));
    moveTo(*current, centreOf(*current, day(2026, 1, 29)));
    // Over the gap between the months: the last range stays.
    moveTo(*current, QPoint(current->width() + 20, current->height() / 2));
    release(*current, QPoint(current->width() + 20, current->height() / 2));
    EXPECT_EQ(filledDays(*current), (std::set<int>{28, 29}));
    EXPECT_TRUE(filledDays(*next).empty());
    EXPECT_EQ(visibleWorkdayCount(*current), QStringLiteral("工作日2天"));
}

TEST_F(CalendarViewControllerTest, PressingTheOnlySelectedDayClearsBothMonthsAtThePress)
{
    const QPoint point = centreOf(*next, day(2026, 2, 2));
    press(*next, point);
    release(*next, point);
    ASSERT_EQ(filledDays(*next), std::set<int>{2});
    press(*next, point);
    EXPECT_TRUE(next->selectedDates().empty());
    EXPECT_TRUE(current->selectedDates().empty());
    // A drag that follows selects nothing.
    moveTo(*next, centreOf(*next, day(2026, 2, 5)));
    release(*next, centreOf(*next, day(2026, 2, 5)));
    EXPECT_TRUE(filledDays(*next).empty());
    EXPECT_FALSE(next->workdayCountLabel()->isVisible());
}

TEST_F(CalendarViewControllerTest, PressOnAMarginClearsOnlyThatMonth)
{
    drag(*current, centreOf(*current, day(2026, 1, 30)), pointIn(*current, *next, day(2026, 2, 3)));
    const QPoint margin(next->width() / 2, next->height() - 3);
    press(*next, margin);
    release(*next, margin);
    EXPECT_TRUE(filledDays(*next).empty());
    EXPECT_EQ(filledDays(*current), (std::set<int>{30, 31}));
    EXPECT_EQ(visibleWorkdayCount(*current), QStringLiteral("工作日3天"));
}

TEST_F(CalendarViewControllerTest, PagingMovesBothMonthsAndClearsTheSelection)
{
    drag(*current, centreOf(*current, day(2026, 1, 30)), pointIn(*current, *next, day(2026, 2, 3)));
    QTest::mouseClick(next->nextButton(), Qt::LeftButton);
    EXPECT_EQ(current->monthTitle(), QStringLiteral("2月 2026年"));
    EXPECT_EQ(next->monthTitle(), QStringLiteral("3月 2026年"));
    EXPECT_TRUE(current->selectedDates().empty());
    EXPECT_TRUE(next->selectedDates().empty());
    EXPECT_TRUE(filledDays(*current).empty());

    drag(*current, centreOf(*current, day(2026, 2, 27)), pointIn(*current, *next, day(2026, 3, 2)));
    ASSERT_FALSE(filledDays(*next).empty());
    QTest::mouseClick(current->previousButton(), Qt::LeftButton);
    QTest::mouseClick(current->previousButton(), Qt::LeftButton);
    EXPECT_EQ(current->monthTitle(), QStringLiteral("12月 2025年"));
    EXPECT_EQ(next->monthTitle(), QStringLiteral("1月 2026年"));
    EXPECT_TRUE(filledDays(*current).empty());
    EXPECT_TRUE(filledDays(*next).empty());
    EXPECT_FALSE(current->workdayCountLabel()->isVisible());
}

TEST_F(CalendarViewControllerTest, BothMonthsShowTheRowsTheLongerOneNeeds)
{
    struct Case {
        int month;
        int rows;
    };
    // March 2026 needs 6 rows, April 5, May 5; February 2027 needs 4, March 2027 5.
    for (const Case c : {Case{3, 6}, Case{4, 5}, Case{2, 6}}) {
        showMonths(2026, c.month, at(2026, 1, 20, 9, 0));
        EXPECT_EQ(current->visibleWeekRowCount(), c.rows) << c.month;
        EXPECT_EQ(next->visibleWeekRowCount(), c.rows) << c.month;
        EXPECT_EQ(next->dayCell(35)->isVisible(), c.rows == 6) << c.month;
    }
    showMonths(2027, 2, at(2026, 1, 20, 9, 0));
    EXPECT_EQ(current->monthWeekRowCount(), 4);
    EXPECT_EQ(current->visibleWeekRowCount(), 5);
}

TEST_F(CalendarViewControllerTest, ContentWidthOf640SwitchesBetweenOneAndTwoMonths)
{
    ASSERT_TRUE(resizeAndWait(*page, QSize(647, 480)));
    EXPECT_TRUE(current->isVisible());
    EXPECT_FALSE(next->isVisible());
    EXPECT_TRUE(current->previousButton()->isVisible());
    EXPECT_TRUE(current->nextButton()->isVisible());
    EXPECT_EQ(current->geometry(), QRect(4, 6, 639, 468));

    ASSERT_TRUE(resizeAndWait(*page, QSize(648, 480)));
    EXPECT_TRUE(next->isVisible());
    EXPECT_EQ(current->geometry(), QRect(4, 6, 300, 468));
    EXPECT_EQ(next->geometry(), QRect(344, 6, 300, 468));
    EXPECT_TRUE(current->previousButton()->isVisible());
    EXPECT_FALSE(current->nextButton()->isVisible());
    EXPECT_FALSE(next->previousButton()->isVisible());
    EXPECT_TRUE(next->nextButton()->isVisible());

    // One month pages forward on its own and the hidden next month follows.
    ASSERT_TRUE(resizeAndWait(*page, QSize(400, 400)));
    QTest::mouseClick(current->nextButton(), Qt::LeftButton);
    EXPECT_EQ(current->monthTitle(), QStringLiteral("2月 2026年"));
    EXPECT_EQ(next->monthTitle(), QStringLiteral("3月 2026年"));
}

TEST_F(CalendarViewControllerTest, TopInsetKeepsSpaceAboveTheMonths)
{
    controller.setTopContentInset(16);
    ASSERT_TRUE(resizeAndWait(*page, QSize(720, 500)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return current->geometry().y() == 22; }));
    EXPECT_EQ(current->geometry(), QRect(4, 22, 336, 472));
    EXPECT_EQ(next->geometry(), QRect(380, 22, 336, 472));
}

TEST_F(CalendarViewControllerTest, DayChangeMovesTheTodayMarkOnce)
{
    ASSERT_TRUE(resizeAndWait(*page, QSize(648, 480)));
    showMonths(2026, 1, at(2026, 1, 31, 23, 59));
    const int jan31 = positionOf(*current, day(2026, 1, 31));
    const int feb1 = positionOf(*next, day(2026, 2, 1));
    ASSERT_TRUE(current->dayCell(jan31)->isTodayDay());
    drag(*current, centreOf(*current, day(2026, 1, 30)), pointIn(*current, *next, day(2026, 2, 2)));

    controller.refreshTodayIfNeeded(at(2026, 1, 31, 23, 59, 40));
    EXPECT_EQ(filledDays(*current), (std::set<int>{30, 31}));
    EXPECT_TRUE(current->dayCell(jan31)->isTodayDay());

    controller.refreshTodayIfNeeded(at(2026, 2, 1, 0, 0, 5));
    EXPECT_FALSE(current->dayCell(jan31)->isTodayDay());
    EXPECT_TRUE(next->dayCell(feb1)->isTodayDay());
    EXPECT_EQ(next->dayCell(feb1)->numberColor(), QColor::fromRgbF(0.87f, 0.19f, 0.39f));
    EXPECT_TRUE(filledDays(*current).empty());
    EXPECT_TRUE(filledDays(*next).empty());
    // Today is on the page already: the months stay.
    EXPECT_EQ(current->monthTitle(), QStringLiteral("1月 2026年"));

    drag(*next, centreOf(*next, day(2026, 2, 9)), centreOf(*next, day(2026, 2, 10)));
    controller.refreshTodayIfNeeded(at(2026, 2, 1, 18, 0));
    EXPECT_EQ(filledDays(*next), (std::set<int>{9, 10}));
}

TEST(CalendarViewControllerDayCheck, TheTodayMarkMovesAtMidnightWhileThePageStaysShown)
{
    const Instant midnight = day(2026, 3, 11);
    TovikTestClock clock(midnight - 0.5);
    CalendarViewController controller{TovikClock::shared()};
    QWidget *page = controller.view();
    page->resize(720, 480);
    page->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page));
    auto *dayCheck = page->findChild<TovikViewTicker *>();
    ASSERT_NE(dayCheck, nullptr);
    EXPECT_EQ(todayMarks(controller), std::set<int>{10});
    EXPECT_EQ(dayCheck->scheduledDelayMs(), 500);

    clock.setNow(midnight + 0.25);
    EXPECT_EQ(todayMarks(controller), std::set<int>{11});
    EXPECT_EQ(dayCheck->scheduledDelayMs(), 86400000 - 250);

    // The timer itself brings the next day, with no tick in between.
    clock.runFrom(day(2026, 3, 12) - 0.05);
    EXPECT_EQ(todayMarks(controller), std::set<int>{11});
    EXPECT_LE(dayCheck->scheduledDelayMs(), 50);
    QTRY_COMPARE(todayMarks(controller), std::set<int>{12});
    EXPECT_GT(dayCheck->scheduledDelayMs(), 86000000);

    // Hidden, the page checks nothing; shown again, it checks at once.
    page->hide();
    EXPECT_FALSE(dayCheck->isRunning());
    clock.setNow(day(2026, 3, 13) + 60);
    EXPECT_EQ(todayMarks(controller), std::set<int>{12});
    page->show();
    EXPECT_EQ(todayMarks(controller), std::set<int>{13});
}

struct NewYearCase {
    const char *name;
    QSize size;                     // 400 wide shows one month, 648 two
    std::optional<Instant> pagedTo; // a month the user paged to before midnight
    const char *monthAfter;         // the first month shown after it
    bool showsToday;
};

// At midnight into a new month, a page that showed the old today follows it; one paged away stays.
TEST(CalendarViewControllerDayCheck, APageShowingTodayFollowsItIntoTheNewMonth)
{
    const NewYearCase cases[] = {
        {"one month", QSize(400, 400), std::nullopt, "1月 2027年", true},
        {"two months", QSize(648, 480), std::nullopt, "12月 2026年", true},
        {"paged back", QSize(400, 400), day(2026, 11, 1), "11月 2026年", false},
        {"paged on", QSize(400, 400), day(2027, 2, 1), "2月 2027年", false},
    };
    for (const NewYearCase &c : cases) {
        SCOPED_TRACE(c.name);
        TovikTestClock clock(at(2026, 12, 31, 23, 59, 45));
        CalendarViewController controller{TovikClock::shared()};
        QWidget *page = controller.view();
        page->show();
        ASSERT_TRUE(resizeAndWait(*page, c.size));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page));
        if (c.pagedTo) {
            controller.currentMonthView()->setDisplayedMonth(*c.pagedTo, true);
        }

        clock.setNow(at(2027, 1, 1, 0, 0, 5));
        EXPECT_EQ(controller.currentMonthView()->monthTitle(), QString::fromUtf8(c.monthAfter));
        EXPECT_EQ(todayMarks(controller, true), c.showsToday ? std::set<int>{1} : std::set<int>{});
    }
}
