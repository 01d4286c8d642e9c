// The three mini windows as a user meets them: the clock shrinking to its time, the stopwatch band, the
// shared stopwatch reset from the mini window, the calendar's day check and its day selection in a panel.
#include "CalendarTestSupport.h"
#include "StopwatchLookup.h"
#include "TovikTestClock.h"

#include <ClockCalendarFeature/CalendarLunarSetting.h>
#include <ClockCalendarFeature/CalendarViewController.h>
#include <ClockCalendarFeature/ClockCalendarAccessibility.h>
#include <ClockCalendarFeature/ClockMiniWindows.h>
#include <ClockCalendarFeature/StopwatchView.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/Ui/TovikDeferredTask.h>
#include <TovikKit/FloatingPanel.h>
#include <TovikKit/FloatingPanelWindowController.h>
#include <TovikKit/TovikWindowChrome.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace CalendarTestSupport;

namespace {

const std::string prefix = "test.mini.window";

class ClockMiniWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        ClockCalendarAccessibility::install();
        for (const char *suffix : {"frameX", "frameY", "width", "height", "screenID", "screenRelativeX",
                                   "screenRelativeY", "pinned", "textOnly"}) {
            TovikSettingsStore::standard()->remove(prefix + "." + suffix);
        }
        m_savedInterval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(150);
    }
    void TearDown() override { QGuiApplication::styleHints()->setMouseDoubleClickInterval(m_savedInterval); }

    StopwatchStore store() const
    {
        return StopwatchStore(TovikSettingsStore::open(m_folder.filePath("suite.sqlite3").toStdString()),
                              "dayvane.stopwatch");
    }

    static void present(FloatingPanelWindowController &panel)
    {
        panel.present();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.window()));
    }

    QTemporaryDir m_folder;
    int m_savedInterval = 0;
};

TEST_F(ClockMiniWindowsTest, theClockShowsItsThreeLinesAtItsFirstSizeAndTheTimeAloneAtItsSmallest)
{
    TovikTestClock clock(at(2026, 2, 17, 9, 30));
    auto panel = ClockMiniWindow::makeClock(TovikClock::shared(), prefix);
    present(*panel);
    // The face reads out its lines but has no name of its own: it is the panel's one clock face.
    auto *face = panel->window()->findChild<ClockFaceView *>();
    ASSERT_TRUE(face);
    EXPECT_EQ(face->geometry(), QRect(14, 1, 312, 114));
    EXPECT_TRUE(face->showsDateAndLunar());
    EXPECT_EQ(face->lunarText(), QStringLiteral("丙午年正月初一 星期二"));

    panel->window()->resize(panel->window()->minimumSize());
    ASSERT_TRUE(QTest::qWaitFor([&] { return face->width() == 72 - 28; }));
    EXPECT_FALSE(face->showsDateAndLunar());
    EXPECT_EQ(face->timeText(), QStringLiteral("09:30:00"));
}

TEST(ClockMiniWindowStopwatchLayout, theTextBandIsCentredAcrossTheInsetWidth)
{
    struct Fit {
        QSizeF box;
        double maximum;
        double minimum;
    };
    struct Case {
        const char *name;
        QSizeF bounds;
        double fitted;
        Fit expectedFit;
        QRectF expectedFrame; // y-up
    };
    const Case cases[] = {
        // r = 392 x 114; 392 / 4.9 = 80 is below 114 x 0.78; band ceil(1.16 x 60) = 70.
        {"first size", {420, 116}, 60, {{392, 114}, 80, 12}, {14, 23, 392, 70}},
        // r = 152 x 62: 62 x 0.78 = 48.36 loses to 152 / 4.9.
        {"smallest panel", {180, 64}, 30, {{152, 62}, 152 / 4.9, 12}, {14, 14.5, 152, 35}},
        // The limit never drops below 14; the band never exceeds the inset height.
        {"tiny", {40, 10}, 12, {{12, 8}, 14, 12}, {14, 1, 12, 8}},
        // A small font still gets a 20-point band.
        {"small font", {300, 100}, 14, {{272, 98}, 272 / 4.9, 12}, {14, 40, 272, 20}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Fit> asked;
        const auto layout = ClockMiniWindow::stopwatchLayout(c.bounds, [&](QSizeF box, double maximum, double minimum) {
            asked.push_back({box, maximum, minimum});
            return c.fitted;
        });
        ASSERT_TRUE(layout);
        ASSERT_EQ(asked.size(), 1U);
        EXPECT_EQ(asked[0].box, c.expectedFit.box);
        EXPECT_DOUBLE_EQ(asked[0].maximum, c.expectedFit.maximum);
        EXPECT_DOUBLE_EQ(asked[0].minimum, c.expectedFit.minimum);
        EXPECT_DOUBLE_EQ(layout->fontSize, c.fitted);
        EXPECT_EQ(layout->frame, c.expectedFrame);
    }
    const auto never = [](QSizeF, double, double) -> double {
        ADD_FAILURE() << "no fit for bounds without room";
        return 0;
    };
    EXPECT_FALSE(ClockMiniWindow::stopwatchLayout({29, 50}, never)) << "inset width of 1 point";
    EXPECT_FALSE(ClockMiniWindow::stopwatchLayout({100, 3}, never)) << "inset height of 1 point";
}

TEST_F(ClockMiniWindowsTest, aDoubleClickInTheMiniWindowResetsTheStopwatchTheMainPageShows)
{
    TovikTestClock clock(at(2026, 3, 2, 10, 0));
    store().save({95, at(2026, 3, 2, 9, 59)});
    StopwatchView mainPage(TovikClock::shared(), store(), true);
    mainPage.resize(324, 131);
    mainPage.show();
    EXPECT_EQ(mainPage.label()->text(), QStringLiteral("00:02:35"));

    auto panel = ClockMiniWindow::makeStopwatch(TovikClock::shared(), store(), prefix);
    present(*panel);
    StopwatchView *mini = stopwatchDisplay(*panel->window());
    ASSERT_TRUE(mini);
    EXPECT_EQ(stopwatchToggleButton(*mini), nullptr) << "no buttons in the mini window";
    const QPoint digits = mini->label()->geometry().center();
    const QPoint placed = panel->window()->pos();
    QTest::mouseClick(mini, Qt::LeftButton, {}, digits);
    QTest::mouseDClick(mini, Qt::LeftButton, {}, digits);
    QTest::mouseRelease(mini, Qt::LeftButton, {}, digits);
    EXPECT_EQ(store().load(), (StopwatchState{0, std::nullopt}));
    EXPECT_EQ(panel->window()->pos(), placed) << "the clicks did not move the panel";
    // The main page learns of it at its next tick, as it would of the widget's buttons.
    QTRY_COMPARE_WITH_TIMEOUT(mainPage.label()->text(), QStringLiteral("00:00:00"), 3000);

    // The keys act on the mini window's stopwatch at once.
    panel->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(panel->window()));
    ASSERT_EQ(QApplication::focusWidget(), mini) << "the panel's keys reach the stopwatch";
    QTest::keyClick(panel->window()->windowHandle(), Qt::Key_Space);
    EXPECT_TRUE(store().load().isRunning());
    QTest::keyClick(panel->window()->windowHandle(), Qt::Key_Backspace);
    EXPECT_EQ(store().load(), (StopwatchState{0, std::nullopt}));

    // The Menu key opens the panel's menu, though the focused stopwatch has a menu of its own; on X11 it
    // arrives as a key and as a menu event, and opens one menu.
    QContextMenuEvent fromKeyboard(QContextMenuEvent::Keyboard, QPoint(10, 10),
                                   panel->window()->mapToGlobal(QPoint(10, 10)));
    QCoreApplication::sendEvent(panel->window()->windowHandle(), &fromKeyboard);
    QTest::keyClick(panel->window()->windowHandle(), Qt::Key_Menu);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    const QList<QAction *> entries = menu->actions();
    EXPECT_TRUE(std::any_of(entries.begin(), entries.end(),
                            [](const QAction *entry) { return entry->text() == QStringLiteral("纯文字显示"); }));
    menu->close();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(ClockMiniWindowsTest, aPressOnTheDigitsDraggedPastTheDragDistanceMovesThePanelInsteadOfClicking)
{
    const int distance = QGuiApplication::styleHints()->startDragDistance();
    struct Case {
        const char *name;
        bool clickedBefore;
        QPoint drag;
        bool moves;
        bool toggles;
    };
    const Case cases[] = {
        {"a click", false, {0, 0}, false, true},
        {"a press that stays within the drag distance", false, {distance - 1, 0}, false, true},
        {"a press dragged past it", false, {30, 20}, true, false},
        // The first click still toggles; the dragged second press neither resets nor toggles again.
        {"the second press of a double click, dragged", true, {30, 20}, true, true},
    };
    TovikTestClock clock(at(2026, 3, 2, 10, 0));
    auto panel = ClockMiniWindow::makeStopwatch(TovikClock::shared(), store(), prefix);
    present(*panel);
    FloatingPanel *window = panel->window();
    QWindow *handle = window->windowHandle();
    StopwatchView *mini = stopwatchDisplay(*panel->window());
    ASSERT_TRUE(mini);
    const QPoint digits = mini->mapTo(window, mini->label()->geometry().center());
    const auto pending = [&] { return mini->findChild<TovikDeferredTask *>()->isPending(); };
    // Events as the window system reports them, 20 ms apart, so a press soon after a click makes a double
    // click; the rows lie a second apart.
    int timestamp = 1'000'000;
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        timestamp += 20;
        qt_handleMouseEvent(handle, at, window->mapToGlobal(at), buttons,
                            type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, type, {}, timestamp);
    };
    for (const Case &c : cases) {
        timestamp += 1000;
        SCOPED_TRACE(c.name);
        store().save({95, std::nullopt});
        mini->refresh();
        const QPoint before = window->pos();
        if (c.clickedBefore) {
            send(QEvent::MouseButtonPress, digits, Qt::LeftButton);
            send(QEvent::MouseButtonRelease, digits, Qt::NoButton);
        }
        const QPoint target = window->mapToGlobal(digits + c.drag);
        send(QEvent::MouseButtonPress, digits, Qt::LeftButton);
        send(QEvent::MouseMove, digits + c.drag, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return (window->pos() != before) == c.moves; }));
        send(QEvent::MouseButtonRelease, window->mapFromGlobal(target), Qt::NoButton);
        EXPECT_EQ(window->pos(), c.moves ? before + c.drag : before);
        EXPECT_GE(store().load().elapsed(clock.now()), 95) << "never reset";
        EXPECT_EQ(pending() || store().load().isRunning(), c.toggles);
        if (c.toggles) {
            QTRY_VERIFY_WITH_TIMEOUT(store().load().isRunning(), 3000);
        }
    }
}

TEST_F(ClockMiniWindowsTest, theCalendarChecksTheDayOnlyWhileItsPanelIsShown)
{
    TovikTestClock clock(at(2026, 1, 31, 23, 59));
    auto panel = ClockMiniWindow::makeCalendar(TovikClock::shared(), prefix);
    TovikViewController *content = panel->contentController();
    // The page's own timer, beside its calendar page.
    const auto dayTicker = [content] { return content->findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly); };
    EXPECT_EQ(dayTicker(), nullptr) << "not before it appears";
    present(*panel);
    ASSERT_NE(dayTicker(), nullptr);
    EXPECT_TRUE(dayTicker()->isActive());
    EXPECT_EQ(dayTicker()->interval(), 60'000);
    EXPECT_EQ(content->findChild<CalendarViewController *>()->topContentInset(), 16);

    panel->closeStandaloneWindow();
    EXPECT_EQ(dayTicker(), nullptr);

    present(*panel);
    ASSERT_NE(dayTicker(), nullptr);
    EXPECT_TRUE(dayTicker()->isActive());
}

TEST_F(ClockMiniWindowsTest, aDragOnDaysSelectsThemAndADragOnTheHeaderMovesThePanel)
{
    TovikTestClock clock(at(2026, 1, 15, 12, 0));
    auto panel = ClockMiniWindow::makeCalendar(TovikClock::shared(), prefix);
    present(*panel);
    FloatingPanel *window = panel->window();
    QWindow *handle = window->windowHandle();
    CalendarView *month = monthNamed(*window, QStringLiteral("1月 2026年"));
    ASSERT_TRUE(month);
    const QPoint start = month->mapTo(window, centreOf(*month, day(2026, 1, 5)));
    const QPoint end = month->mapTo(window, centreOf(*month, day(2026, 1, 7)));
    const QPoint before = window->pos();

    QTest::mousePress(handle, Qt::LeftButton, {}, start);
    QTest::mouseMove(handle, end);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, end);
    EXPECT_EQ(filledDays(*month), (std::set<int>{5, 6, 7}));
    EXPECT_EQ(window->pos(), before);

    // The strip above the days (the top inset) belongs to no control: it carries the panel.
    const QPoint header(window->width() / 2, 6);
    const QPoint target = window->mapToGlobal(header + QPoint(30, 20));
    QTest::mousePress(handle, Qt::LeftButton, {}, header);
    QTest::mouseMove(handle, header + QPoint(30, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->pos() == before + QPoint(30, 20); }));
    // Released where the pointer now is, over the panel that moved with it.
    QTest::mouseRelease(handle, Qt::LeftButton, {}, window->mapFromGlobal(target));
    EXPECT_EQ(window->pos(), before + QPoint(30, 20));
    EXPECT_EQ(filledDays(*month), (std::set<int>{5, 6, 7})) << "moving keeps the selection";
}

QAction *lunarSwitch(QMenu &menu)
{
    const QList<QAction *> actions = menu.actions();
    const auto found = std::find_if(actions.begin(), actions.end(),
                                    [](QAction *action) { return action->text() == QStringLiteral("显示农历"); });
    return found == actions.end() ? nullptr : *found;
}

// The menu the page opens for a context request (right click, Menu key), looked at while it is up.
QStringList pageMenuEntries(QWidget *page, QContextMenuEvent::Reason reason)
{
    QStringList entries;
    QTimer::singleShot(0, [&] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            for (QAction *action : menu->actions()) {
                entries << action->text() + (action->isChecked() ? QStringLiteral(" ✓") : QString());
            }
            menu->close();
        }
    });
    QContextMenuEvent request(reason, QPoint(40, 80), page->mapToGlobal(QPoint(40, 80)));
    QApplication::sendEvent(page, &request);
    return entries;
}

TEST_F(ClockMiniWindowsTest, theLunarSwitchOfThePanelMenuAndOfThePageMenuIsOneSettingFollowedLive)
{
    CalendarLunarSetting &setting = CalendarLunarSetting::shared();
    setting.setShowsLunar(false);
    TovikTestClock clock(at(2026, 12, 10, 12, 0));
    auto panel = ClockMiniWindow::makeCalendar(TovikClock::shared(), prefix);
    present(*panel);
    CalendarViewController page{TovikClock::shared()};
    page.view()->resize(720, 480);
    CalendarView *panelMonth = monthNamed(*panel->window(), QStringLiteral("12月 2026年"));
    ASSERT_TRUE(panelMonth);
    CalendarDayCell *heavySnow = panelMonth->dayCell(positionOf(*panelMonth, day(2026, 12, 7)));
    CalendarDayCell *pageHeavySnow =
        page.currentMonthView()->dayCell(positionOf(*page.currentMonthView(), day(2026, 12, 7)));
    EXPECT_EQ(pageMenuEntries(page.view(), QContextMenuEvent::Keyboard), QStringList{QStringLiteral("显示农历")});
    EXPECT_FALSE(heavySnow->isCaptionVisible()) << "off by default";

    std::unique_ptr<QMenu> panelMenu = panel->makeContextMenu();
    std::unique_ptr<QMenu> pageMenu = page.makeContextMenu();
    ASSERT_TRUE(lunarSwitch(*panelMenu) && lunarSwitch(*pageMenu));
    lunarSwitch(*panelMenu)->trigger();
    EXPECT_TRUE(lunarSwitch(*pageMenu)->isChecked()) << "an open menu follows";
    EXPECT_EQ(TovikSettingsStore::standard()->boolean(CalendarLunarSetting::key), true);
    for (CalendarDayCell *cell : {heavySnow, pageHeavySnow}) {
        EXPECT_EQ(cell->captionText(), QStringLiteral("大雪"));
        EXPECT_TRUE(cell->isCaptionVisible());
    }
    EXPECT_EQ(pageMenuEntries(page.view(), QContextMenuEvent::Mouse), QStringList{QStringLiteral("显示农历 ✓")});

    lunarSwitch(*pageMenu)->trigger();
    EXPECT_FALSE(lunarSwitch(*panelMenu)->isChecked());
    EXPECT_EQ(TovikSettingsStore::standard()->boolean(CalendarLunarSetting::key), false);
    EXPECT_FALSE(heavySnow->isCaptionVisible());
    EXPECT_FALSE(pageHeavySnow->isCaptionVisible());
}

} // namespace
