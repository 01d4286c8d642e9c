#include "ShellStoresTest.h"

#include <ClockCalendarFeature/ClockCalendarViewController.h>
#include <ClockCalendarShared/StopwatchStore.h>
#include <Dayvane/DayvaneAppDelegate.h>
#include <Dayvane/DayvaneWindowController.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <TovikKit/TovikFrameText.h>
#include <TovikKit/TovikScreenPlacement.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

class DayvaneShellTest : public ShellStoresTest {
protected:
    std::unique_ptr<DayvaneWindowController> makeWindow()
    {
        return std::make_unique<DayvaneWindowController>(m_preferences, StopwatchStore(m_suite, "test.stopwatch"));
    }

    std::unique_ptr<DayvaneAppDelegate> makeDelegate(bool moving = false)
    {
        return std::make_unique<DayvaneAppDelegate>(DayvaneAppDelegate::Services{
            [moving] { return moving; }, [this] { return makeWindow(); }, [this] { ++m_quits; },
            [this](const QByteArray &token) { m_tokens.append(token); }});
    }

    // The quit rule is decided one event-loop turn after a window hides: once a turn queued after it has
    // run, so has the check.
    static void settle()
    {
        bool turned = false;
        QTimer::singleShot(0, [&turned] { turned = true; });
        ASSERT_TRUE(QTest::qWaitFor([&turned] { return turned; }));
    }

    static QRect primaryAvailable() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    int m_quits = 0;
    QByteArrayList m_tokens;
};

TEST_F(DayvaneShellTest, launchShowsTheCentredMainWindow)
{
    auto delegate = makeDelegate();
    ASSERT_TRUE(delegate->launch());
    QWidget *window = delegate->mainWindowController()->window();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Dayvane"));
    EXPECT_EQ(window->size(), QSize(720, 480));
    EXPECT_EQ(window->minimumSize(), QSize(520, 360));
    // Placement sets the outer corner; the content's size is what is centred.
    const QRect outer(window->frameGeometry().topLeft(), window->size());
    EXPECT_NEAR(outer.center().x(), primaryAvailable().center().x(), 1);
    EXPECT_NEAR(outer.center().y(), primaryAvailable().center().y(), 1);
    EXPECT_FALSE(m_preferences->contains(DayvaneWindowController::frameKey)) << "opening writes no frame";
    EXPECT_EQ(delegate->mainWindowController()->content()->configuration().selectedTabKey, "dayvane.selectedTab");
}

TEST_F(DayvaneShellTest, aMoveInProgressOpensNoWindow)
{
    auto delegate = makeDelegate(true);
    EXPECT_FALSE(delegate->launch());
    EXPECT_EQ(delegate->mainWindowController(), nullptr);
}

TEST_F(DayvaneShellTest, theFrameComesBackExactlyAfterClosing)
{
    const QRect moved(primaryAvailable().topLeft() + QPoint(30, 40), QSize(640, 400));
    QPoint outerCorner;
    {
        auto controller = makeWindow();
        controller->showWindow();
        controller->window()->setGeometry(moved);
        outerCorner = controller->window()->frameGeometry().topLeft();
        controller->window()->close();
        EXPECT_FALSE(controller->window()->isVisible());
    }
    const auto text = m_preferences->text(DayvaneWindowController::frameKey);
    ASSERT_TRUE(text);
    const QRectF primary(QGuiApplication::primaryScreen()->geometry());
    EXPECT_EQ(TovikFrameText::parse(*text),
              TovikScreenPlacement::toGlobalYUp(QRectF(outerCorner, moved.size()), primary));

    auto reopened = makeWindow();
    reopened->showWindow();
    EXPECT_EQ(reopened->window()->geometry(), moved);
}

TEST_F(DayvaneShellTest, unsoundStoredFramesAreCentred)
{
    for (const char *stored : {"{{garbage", "{{100000, 100000}, {720, 480}}", "{{10, 10}, {0, 0}}"}) {
        SCOPED_TRACE(stored);
        m_preferences->set(DayvaneWindowController::frameKey, stored);
        auto controller = makeWindow();
        const QRect geometry = controller->window()->geometry();
        EXPECT_EQ(geometry.size(), QSize(720, 480));
        EXPECT_NEAR(geometry.center().x(), primaryAvailable().center().x(), 1);
        EXPECT_EQ(m_preferences->text(DayvaneWindowController::frameKey), stored) << "the bad value is not erased";
    }
}

TEST_F(DayvaneShellTest, closingTheOnlyWindowQuits)
{
    auto delegate = makeDelegate();
    ASSERT_TRUE(delegate->launch());
    QWidget *window = delegate->mainWindowController()->window();
    window->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_quits == 1; }));
    EXPECT_EQ(delegate->mainWindowController()->window(), window) << "closing only hides the window";
}

TEST_F(DayvaneShellTest, aVisibleToolWindowKeepsTheApplicationRunning)
{
    auto delegate = makeDelegate();
    ASSERT_TRUE(delegate->launch());
    QWidget panel(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    panel.resize(200, 100);
    panel.show();

    delegate->mainWindowController()->window()->close();
    settle();
    EXPECT_EQ(m_quits, 0);

    panel.hide();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_quits == 1; }));
}

TEST_F(DayvaneShellTest, hidingOneWindowWhileShowingAnotherDoesNotQuit)
{
    auto delegate = makeDelegate();
    ASSERT_TRUE(delegate->launch());
    QWidget panel(nullptr, Qt::Tool);
    delegate->mainWindowController()->window()->hide();
    panel.show();
    settle();
    EXPECT_EQ(m_quits, 0);
}

TEST_F(DayvaneShellTest, requestsFromAnotherProcess)
{
    using TovikLocalProtocol::Kind;
    auto delegate = makeDelegate();
    ASSERT_TRUE(delegate->launch());
    QWidget *window = delegate->mainWindowController()->window();
    QWidget keepAlive(nullptr, Qt::Tool);
    keepAlive.show();

    struct Step {
        TovikLocalProtocol::Request request;
        bool visibleAfter;
    };
    const Step steps[] = {
        {{Kind::open, {"https://example.com"}, "t1"}, false},
        {{Kind::open, {"dayvane:clock"}, "t2"}, false},
        {{Kind::reopen, {}, "t3"}, true},
        {{Kind::open, {"mailto:x@example.com", "dayvane://Stopwatch/anything?x=1"}, "t4"}, false},
        // The stopwatch's mini window shows in place of the main window now: that is what comes forward.
        {{Kind::reopen, {}, ""}, false},
        {{Kind::reload, {"DayvaneStopwatchWidget"}, ""}, false},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(TovikLocalProtocol::encode(step.request).value_or("?"));
        window->hide();
        delegate->handleRequest(step.request);
        EXPECT_EQ(window->isVisible(), step.visibleAfter);
    }
    EXPECT_EQ(m_tokens, (QByteArrayList{"t3", "t4"})) << "only a request that raises a window uses its token";
    const auto &minis = delegate->mainWindowController()->miniWindows();
    ASSERT_EQ(minis.size(), 1U);
    EXPECT_EQ(minis.begin()->first, DayvaneDeepLink::stopwatch) << "the link opens its mini window instead";
    settle();
    EXPECT_EQ(m_quits, 0);
}

TEST_F(DayvaneShellTest, reopenRestoresAMinimisedWindowAndKeepsItsOtherState)
{
    auto delegate = makeDelegate();
    ASSERT_TRUE(delegate->launch());
    QWidget *window = delegate->mainWindowController()->window();
    window->setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
    ASSERT_TRUE(window->isMinimized());

    delegate->handleRequest({TovikLocalProtocol::Kind::reopen, {}, ""});
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isMaximized());
    EXPECT_TRUE(window->isVisible());
}

TEST(DayvaneAppDelegate, menusAndTooltipsDoNotCountAsWindows)
{
    QWidget popup(nullptr, Qt::Popup);
    QWidget tooltip(nullptr, Qt::ToolTip);
    QWidget tool(nullptr, Qt::Tool);
    popup.show();
    tooltip.show();
    EXPECT_FALSE(DayvaneAppDelegate::anyWindowVisible({&popup, &tooltip, &tool}));
    tool.show();
    EXPECT_TRUE(DayvaneAppDelegate::anyWindowVisible({&popup, &tooltip, &tool}));
}

} // namespace
