// The main window and the mini windows taking turns, and links choosing which mini window opens.
#include "AccessibleLookup.h"
#include "ShellStoresTest.h"

#include <ClockCalendarFeature/ClockCalendarViewController.h>
#include <ClockCalendarShared/StopwatchStore.h>
#include <Dayvane/DayvaneAppDelegate.h>
#include <Dayvane/DayvaneWindowController.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <TovikKit/FloatingPanel.h>
#include <TovikKit/FloatingPanelWindowController.h>
#include <TovikKit/TovikWindowChrome.h>

#include <QAbstractButton>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

class DayvaneMiniWindowsTest : public ShellStoresTest {
protected:
    void SetUp() override
    {
        ShellStoresTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        // Panels keep their state in the standard store; every case starts from panels never opened.
        for (const char *prefix : {"dayvane.calendar.window", "dayvane.clock.window", "dayvane.stopwatch.window"}) {
            for (const char *suffix : {"frameX", "frameY", "width", "height", "screenID", "screenRelativeX",
                                       "screenRelativeY", "pinned", "textOnly"}) {
                TovikSettingsStore::standard()->remove(std::string(prefix) + "." + suffix);
            }
        }
        m_delegate = std::make_unique<DayvaneAppDelegate>(
            DayvaneAppDelegate::Services{[] { return false; },
                                         [this] {
                                             return std::make_unique<DayvaneWindowController>(
                                                 m_preferences, StopwatchStore(m_suite, "test.stopwatch"));
                                         },
                                         [this] { ++m_quits; },
                                         {}});
        ASSERT_TRUE(m_delegate->launch());
    }

    DayvaneWindowController *shell() const { return m_delegate->mainWindowController(); }
    QWidget *mainWindow() const { return shell()->window(); }
    FloatingPanelWindowController *panel(DayvaneDeepLink link) const
    {
        const auto found = shell()->miniWindows().find(link);
        return found != shell()->miniWindows().end() ? found->second.get() : nullptr;
    }
    std::set<DayvaneDeepLink> visiblePanels() const
    {
        std::set<DayvaneDeepLink> visible;
        for (const auto &[link, controller] : shell()->miniWindows()) {
            if (controller->window()->isVisible()) {
                visible.insert(link);
            }
        }
        return visible;
    }

    std::unique_ptr<DayvaneAppDelegate> m_delegate;
    int m_quits = 0;
};

TEST_F(DayvaneMiniWindowsTest, theMainWindowComesBackOnlyWhenTheLastVisibleMiniWindowCloses)
{
    shell()->show(DayvaneDeepLink::clock);
    shell()->show(DayvaneDeepLink::calendar);
    ASSERT_EQ(visiblePanels(), (std::set{DayvaneDeepLink::calendar, DayvaneDeepLink::clock}));
    EXPECT_FALSE(mainWindow()->isVisible());

    panel(DayvaneDeepLink::clock)->closeStandaloneWindow();
    EXPECT_EQ(visiblePanels(), std::set{DayvaneDeepLink::calendar});
    EXPECT_FALSE(mainWindow()->isVisible()) << "another mini window is still shown";

    // Closed from the keyboard this time, as a user with the panel focused would.
    FloatingPanel *calendar = panel(DayvaneDeepLink::calendar)->window();
    calendar->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(calendar));
    QTest::keyClick(calendar, Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(visiblePanels().empty());
    EXPECT_TRUE(mainWindow()->isVisible());
    EXPECT_EQ(m_quits, 0);
}

TEST_F(DayvaneMiniWindowsTest, theFirstLinkThatParsesOpensItsPanelAndLaterOnesAreIgnored)
{
    m_delegate->openUrls({QStringLiteral("https://example.com/calendar"), QStringLiteral("dayvane://calendar"),
                          QStringLiteral("dayvane://clock")});
    EXPECT_EQ(visiblePanels(), std::set{DayvaneDeepLink::calendar});
    EXPECT_EQ(shell()->miniWindows().size(), 1U) << "the clock panel is not even made";
    EXPECT_FALSE(mainWindow()->isVisible());

    m_delegate->openUrls({QStringLiteral("dayvane://nowhere"), QStringLiteral("DAYVANE://clock")});
    EXPECT_EQ(shell()->miniWindows().size(), 1U) << "links that do not parse change nothing";
}

TEST_F(DayvaneMiniWindowsTest, aLinkOpenedTwiceShowsTheSamePanelWhereItWas)
{
    m_delegate->openUrls({QStringLiteral("dayvane://clock")});
    FloatingPanelWindowController *first = panel(DayvaneDeepLink::clock);
    ASSERT_NE(first, nullptr);
    first->togglePin();
    first->window()->move(first->window()->pos() + QPoint(40, 30));
    const QPoint moved = first->window()->pos();

    m_delegate->openUrls({QStringLiteral("dayvane://Clock")});
    EXPECT_EQ(panel(DayvaneDeepLink::clock), first);
    EXPECT_EQ(first->window()->pos(), moved) << "only the first presentation centres";
    EXPECT_FALSE(first->isPinned());
    EXPECT_FALSE(mainWindow()->isVisible());
}

TEST_F(DayvaneMiniWindowsTest, theTabStripButtonAndCtrlMOpenTheShownPagesMiniWindow)
{
    ClockCalendarViewController *content = shell()->content();
    content->selectTab(static_cast<int>(ClockCalendarTab::stopwatch));
    auto *button = findByAccessibleName<QAbstractButton>(*mainWindow(), QStringLiteral("小窗显示"));
    ASSERT_TRUE(button);
    ASSERT_TRUE(button->isVisibleTo(mainWindow())) << "the shell asks for the button";
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(visiblePanels(), std::set{DayvaneDeepLink::stopwatch});
    EXPECT_FALSE(mainWindow()->isVisible());

    panel(DayvaneDeepLink::stopwatch)->closeStandaloneWindow();
    ASSERT_TRUE(mainWindow()->isVisible());
    content->selectTab(static_cast<int>(ClockCalendarTab::calendar));
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow()));
    QTest::keyClick(mainWindow(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(visiblePanels(), std::set{DayvaneDeepLink::calendar});
}

TEST_F(DayvaneMiniWindowsTest, ctrlQQuitsFromTheMainWindowAndFromAMiniWindow)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow()));
    QTest::keyClick(mainWindow(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(m_quits, 1);
    shell()->show(DayvaneDeepLink::calendar);
    QWidget *calendar = panel(DayvaneDeepLink::calendar)->window();
    calendar->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(calendar));
    QTest::keyClick(calendar, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(m_quits, 2);
}

TEST_F(DayvaneMiniWindowsTest, aSecondLaunchBringsForwardTheMiniWindowsThatStandInForTheMainWindow)
{
    shell()->show(DayvaneDeepLink::clock);
    QWidget *clock = panel(DayvaneDeepLink::clock)->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(clock));
    // Another of our windows took the focus meanwhile, as another program's would.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    m_delegate->reopen({});
    EXPECT_TRUE(QTest::qWaitForWindowActive(clock));
    EXPECT_FALSE(mainWindow()->isVisible()) << "the mini window stands in for it";

    panel(DayvaneDeepLink::clock)->closeStandaloneWindow();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    m_delegate->reopen({});
    EXPECT_TRUE(QTest::qWaitForWindowActive(mainWindow()));
}

TEST_F(DayvaneMiniWindowsTest, openInMainWindowHidesThePanelAndShowsItsPage)
{
    shell()->show(DayvaneDeepLink::clock);
    shell()->show(DayvaneDeepLink::stopwatch);
    ASSERT_EQ(shell()->content()->selectedIndex(), static_cast<int>(ClockCalendarTab::clock));

    // Through the panel's menu, as a user reaches it on a titled panel whose button stays hidden.
    std::unique_ptr<QMenu> menu = panel(DayvaneDeepLink::stopwatch)->makeContextMenu();
    QAction *open = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->text() == QStringLiteral("在主窗口打开")) {
            open = action;
        }
    }
    ASSERT_NE(open, nullptr);
    open->trigger();
    EXPECT_EQ(visiblePanels(), std::set{DayvaneDeepLink::clock}) << "the other panel stays";
    EXPECT_TRUE(mainWindow()->isVisible());
    EXPECT_EQ(shell()->content()->selectedIndex(), static_cast<int>(ClockCalendarTab::stopwatch));
}

} // namespace
