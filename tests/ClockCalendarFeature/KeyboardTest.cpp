// The main window's content driven from the keyboard alone: tab keys, the tab strip, the calendar's focus
// day and selection, the stopwatch page.
#include "CalendarTestSupport.h"
#include "StopwatchLookup.h"
#include "TabbedContentTest.h"

#include <ClockCalendarFeature/CalendarPageView.h>
#include <ClockCalendarFeature/ClockCalendarViewController.h>
#include <ClockCalendarFeature/StopwatchView.h>
#include <Platform/Settings/TovikSettingsStore.h>

#include <QApplication>
#include <QClipboard>
#include <QTemporaryDir>

#include <memory>

using namespace CalendarTestSupport;

namespace {

class KeyboardTest : public TabbedContentTest {
protected:
    KeyboardTest()
        : TabbedContentTest(at(2026, 1, 20, 9, 0))
    {
    }

    void SetUp() override { showContent(); }

    // Keys go where the user's would: to the widget that has the focus.
    static void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        }
    }

    // Shows the calendar page from the keyboard and finds its two months.
    void showCalendar()
    {
        key(Qt::Key_2, Qt::ControlModifier);
        ASSERT_EQ(controller->selectedIndex(), 1);
        ASSERT_EQ(QApplication::focusWidget(), window->findChild<CalendarPageView *>());
        current = monthNamed(*window, QStringLiteral("1月 2026年"));
        next = monthNamed(*window, QStringLiteral("2月 2026年"));
        ASSERT_TRUE(current && next);
    }

    // The day cells that wear the focus ring, as "month/day".
    std::set<QString> ringed() const
    {
        std::set<QString> days;
        for (const CalendarView *view : {current, next}) {
            for (int p = 0; p < CalendarLayout::gridCellCount; ++p) {
                if (view->dayCell(p)->showsFocusRing()) {
                    days.insert(view->monthTitle().section(QLatin1Char(' '), 0, 0) + view->dayCell(p)->dayText());
                }
            }
        }
        return days;
    }

    CalendarView *current = nullptr;
    CalendarView *next = nullptr;
};

} // namespace

TEST_F(KeyboardTest, TabKeysShowEachPageAndFocusWhatActsOnKeys)
{
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int tab;
    };
    const Step steps[] = {
        {Qt::Key_2, Qt::ControlModifier, 1},
        {Qt::Key_3, Qt::ControlModifier, 2},
        {Qt::Key_Tab, Qt::ControlModifier, 0},
        {Qt::Key_Tab, Qt::ControlModifier, 1},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 0},
        {Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, 2},
        {Qt::Key_1, Qt::ControlModifier, 0},
    };
    const auto focusOf = [this](int tab) -> QWidget * {
        switch (tab) {
        case 1:
            return window->findChild<CalendarPageView *>();
        case 2:
            return stopwatchDisplay(*window);
        default:
            return controller->segment();
        }
    };
    for (const Step &step : steps) {
        key(step.key, step.modifiers);
        EXPECT_EQ(controller->selectedIndex(), step.tab) << step.key;
        EXPECT_EQ(QApplication::focusWidget(), focusOf(step.tab)) << step.key;
    }
}

TEST_F(KeyboardTest, TabStripTakesTheFocusFromTabAndMovesWithTheArrows)
{
    key(Qt::Key_2, Qt::ControlModifier);
    key(Qt::Key_Tab); // from the calendar, round to the strip
    ASSERT_TRUE(controller->segment()->hasFocus());

    const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Right, 2}, {Qt::Key_Right, 2}, {Qt::Key_Left, 1},
                                             {Qt::Key_Left, 0},  {Qt::Key_End, 2},   {Qt::Key_Home, 0}};
    for (const auto &[pressed, tab] : steps) {
        QTest::keyClick(controller->segment(), pressed);
        EXPECT_EQ(controller->selectedIndex(), tab) << pressed;
        EXPECT_TRUE(controller->segment()->hasFocus());
    }
}

TEST_F(KeyboardTest, ShiftRightAcrossTheMonthBoundaryCountsAsADragDoes)
{
    showCalendar();
    EXPECT_EQ(ringed(), (std::set<QString>{QStringLiteral("1月20")}));
    key(Qt::Key_Right, {}, 10); // to Friday 30 January
    EXPECT_EQ(ringed(), (std::set<QString>{QStringLiteral("1月30")}));
    EXPECT_TRUE(current->selectedDates().empty());

    key(Qt::Key_Space);
    EXPECT_EQ(visibleWorkdayCount(*current), QStringLiteral("工作日1天"));
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(visibleWorkdayCount(*current), QStringLiteral("工作日1天")); // 31 January is a Saturday
    key(Qt::Key_Right, Qt::ShiftModifier, 3);
    EXPECT_EQ(filledDays(*current), (std::set<int>{30, 31}));
    EXPECT_EQ(filledDays(*next), (std::set<int>{1, 2, 3}));
    EXPECT_EQ(visibleWorkdayCount(*current), QStringLiteral("工作日3天"));
    EXPECT_EQ(visibleWorkdayCount(*next), QString());
    EXPECT_EQ(ringed(), (std::set<QString>{QStringLiteral("2月3")}));

    // Back over the anchor the range turns round it.
    key(Qt::Key_Left, Qt::ShiftModifier, 5);
    EXPECT_EQ(filledDays(*current), (std::set<int>{29, 30}));
    EXPECT_TRUE(filledDays(*next).empty());
    EXPECT_EQ(visibleWorkdayCount(*current), QStringLiteral("工作日2天"));
}

TEST_F(KeyboardTest, ShiftExtendsADraggedSelectionOntoTheNextPage)
{
    showCalendar();
    current->setDisplayedMonth(day(2026, 5, 1), true);
    ASSERT_EQ(next->monthTitle(), QStringLiteral("6月 2026年"));
    const QPoint monday = centreOf(*next, day(2026, 6, 29));
    QTest::mouseClick(next, Qt::LeftButton, {}, monday);
    ASSERT_EQ(visibleWorkdayCount(*next), QStringLiteral("工作日1天"));

    key(Qt::Key_Right, Qt::ShiftModifier, 3);
    EXPECT_EQ(current->monthTitle(), QStringLiteral("6月 2026年"));
    EXPECT_EQ(next->monthTitle(), QStringLiteral("7月 2026年"));
    EXPECT_EQ(filledDays(*current), (std::set<int>{29, 30}));
    EXPECT_EQ(filledDays(*next), (std::set<int>{1, 2}));
    EXPECT_EQ(visibleWorkdayCount(*current), QStringLiteral("工作日4天"));
    EXPECT_EQ(visibleWorkdayCount(*next), QString());
}

TEST_F(KeyboardTest, PagingTodayEscapeAndTheRingFollowTheFocus)
{
    showCalendar();
    key(Qt::Key_Space);
    ASSERT_EQ(current->selectedDates().size(), 1u);
    key(Qt::Key_Down); // a plain arrow moves the ring only
    EXPECT_EQ(current->selectedDates().size(), 1u);
    EXPECT_EQ(ringed(), (std::set<QString>{QStringLiteral("1月27")}));

    key(Qt::Key_Escape);
    EXPECT_TRUE(current->selectedDates().empty());
    EXPECT_FALSE(current->workdayCountLabel()->isVisible());

    key(Qt::Key_PageDown);
    EXPECT_EQ(current->monthTitle(), QStringLiteral("2月 2026年"));
    EXPECT_EQ(ringed(), (std::set<QString>{QStringLiteral("2月27")}));
    key(Qt::Key_Down, {}, 2); // 13 March, on the right-hand month
    EXPECT_EQ(ringed(), (std::set<QString>{QStringLiteral("3月13")}));
    key(Qt::Key_Down, {}, 3); // 3 April pages on by one month
    EXPECT_EQ(current->monthTitle(), QStringLiteral("3月 2026年"));
    EXPECT_EQ(ringed(), (std::set<QString>{QStringLiteral("4月3")}));
    key(Qt::Key_PageUp, {}, 2);
    EXPECT_EQ(current->monthTitle(), QStringLiteral("1月 2026年"));

    key(Qt::Key_PageDown, {}, 4);
    key(Qt::Key_Home);
    EXPECT_EQ(current->monthTitle(), QStringLiteral("1月 2026年"));
    EXPECT_EQ(ringed(), (std::set<QString>{QStringLiteral("1月20")}));
    key(Qt::Key_Return);
    EXPECT_EQ(filledDays(*current), (std::set<int>{20}));

    // The ring is the keyboard's: it goes with the focus.
    controller->segment()->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(ringed().empty());
}

TEST_F(KeyboardTest, StopwatchKeysActAtOnce)
{
    key(Qt::Key_3, Qt::ControlModifier);
    StopwatchView *view = stopwatchDisplay(*window);
    ASSERT_TRUE(view);
    ASSERT_TRUE(view->hasFocus());
    EXPECT_TRUE(view->showsFocusRing());
    const StopwatchStore store(suite, "test.stopwatch");

    key(Qt::Key_Space);
    EXPECT_TRUE(store.load().isRunning()); // no double-click wait for a key
    EXPECT_EQ(stopwatchToggleButton(*view)->title(), QStringLiteral("暂停"));
    key(Qt::Key_Return);
    EXPECT_FALSE(store.load().isRunning());

    store.save(StopwatchState{3725, std::nullopt});
    view->refresh();
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("01:02:05"));

    key(Qt::Key_Delete);
    EXPECT_EQ(store.load().elapsed(clock.now()), 0);
    EXPECT_EQ(view->label()->text(), QStringLiteral("00:00:00"));
    key(Qt::Key_Space);
    key(Qt::Key_Backspace);
    EXPECT_FALSE(store.load().isRunning());
}

TEST_F(KeyboardTest, TheStopwatchRingMarksKeyboardFocusOnly)
{
    key(Qt::Key_3, Qt::ControlModifier);
    StopwatchView *view = stopwatchDisplay(*window);
    ASSERT_TRUE(view);
    ASSERT_TRUE(view->showsFocusRing());

    // A window that hands its focus on when it opens, or a click, shows no ring; the next key brings it back.
    view->clearFocus();
    view->setFocus(Qt::ActiveWindowFocusReason);
    ASSERT_TRUE(view->hasFocus());
    EXPECT_FALSE(view->showsFocusRing());
    key(Qt::Key_Space);
    EXPECT_TRUE(view->showsFocusRing());
    QTest::mouseClick(view, Qt::LeftButton, {}, view->rect().center());
    EXPECT_FALSE(view->showsFocusRing());
    view->clearFocus();
    view->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(view->showsFocusRing());
}
