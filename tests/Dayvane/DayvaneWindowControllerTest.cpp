// Where the main window opens from a stored frame, on the offscreen platform with two screens side by side:
// a 1440 x 900 primary and a 1920 x 1080 screen to its right (see the test's platform configuration).
#include "ShellStoresTest.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <Dayvane/DayvaneWindowController.h>
#include <Platform/Settings/TovikSettingsStore.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

void PrintTo(const QRect &rect, std::ostream *out)
{
    *out << "(" << rect.x() << ", " << rect.y() << ", " << rect.width() << " x " << rect.height() << ")";
}

namespace {

class DayvaneWindowControllerTest : public ShellStoresTest {
protected:
    void SetUp() override
    {
        ShellStoresTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        ASSERT_EQ(QGuiApplication::screens().size(), 2) << "the test runs with its own two-screen platform";
    }

    QRect openWithStoredFrame(const char *stored)
    {
        m_preferences->set(DayvaneWindowController::frameKey, stored);
        const DayvaneWindowController controller(m_preferences, StopwatchStore(m_suite, "test.stopwatch"));
        return controller.window()->geometry();
    }
};

TEST_F(DayvaneWindowControllerTest, storedFramesAreFittedIntoTheScreenTheyLandOn)
{
    const QRect primary(0, 0, 1440, 900);
    const QRect secondary(1440, 0, 1920, 1080);
    ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry(), primary);
    struct Case {
        const char *stored;
        QRect expected; // Qt's y-down global geometry
    };
    const Case cases[] = {
        // Absurd: covers both screens; it gets the one it overlaps most, and no more than that screen.
        {"{{-5000, -5000}, {100000, 100000}}", secondary},
        // Saved on a bigger monitor: shrunk to the screen, with its top edge on the screen.
        {"{{0, 0}, {2560, 1400}}", primary},
        // Below the minimum: enlarged, then moved up so that nothing hangs below the screen.
        {"{{100, 100}, {300, 200}}", QRect(100, 440, 520, 360)},
        // Hanging off the right of the second screen: moved back onto it.
        {"{{3000, 100}, {720, 480}}", QRect(2640, 320, 720, 480)},
        // Most of it on the second screen, taller than that screen: shrunk to it there.
        {"{{1400, -200}, {900, 1400}}", QRect(1440, 0, 900, 1080)},
        // Sound frames stay exactly as they were.
        {"{{100, 200}, {800, 500}}", QRect(100, 200, 800, 500)},
        // Exactly the second screen's size, partly above it: moved onto it.
        {"{{2000, 100}, {1920, 1080}}", secondary},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored);
        const QRect geometry = openWithStoredFrame(c.stored);
        EXPECT_EQ(geometry, c.expected);
    }
}

TEST_F(DayvaneWindowControllerTest, aShownWindowKeepsItsDecorationsOnTheScreen)
{
    m_preferences->set(DayvaneWindowController::frameKey, "{{0, 0}, {2560, 1400}}");
    const DayvaneWindowController controller(m_preferences, StopwatchStore(m_suite, "test.stopwatch"));
    QWidget *window = controller.window();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    ASSERT_NE(window->frameGeometry(), window->geometry()) << "the platform draws decorations";
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QTRY_VERIFY2(available.contains(window->frameGeometry()), "the decorated window lies on the screen");
    EXPECT_EQ(window->frameGeometry().top(), available.top());
    EXPECT_EQ(window->frameGeometry().bottom(), available.bottom());
    window->hide();
}

TEST_F(DayvaneWindowControllerTest, unsoundFramesOpenCentredOnThePrimaryScreen)
{
    for (const char *stored :
         {"{{garbage", "{{9000, 9000}, {720, 480}}", "{{10, 10}, {0, 0}}", "{{10, 10}, {-720, 480}}"}) {
        SCOPED_TRACE(stored);
        EXPECT_EQ(openWithStoredFrame(stored), QRect(360, 210, 720, 480));
    }
}

} // namespace
