// The stopwatch mini window over a checkerboard under a real X server, window manager and compositor: at
// the lowest strength its glass lets the squares through, opaque it hides them; what is checked is what
// the compositor put on the screen. The screens are kept as pictures next to the test.
#include "StopwatchLookup.h"
#include "TestChild.h"
#include "VirtualDisplay.h"

#include <ClockCalendarFeature/ClockCalendarAccessibility.h>
#include <ClockCalendarFeature/ClockMiniWindows.h>
#include <ClockCalendarFeature/StopwatchView.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/Ui/TovikClock.h>
#include <TovikKit/FloatingPanel.h>
#include <TovikKit/FloatingPanelWindowController.h>
#include <TovikKit/TovikCompositorWatch.h>
#include <TovikKit/TovikEwmh.h>
#include <TovikKit/TovikWindowChrome.h>

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <poll.h>
#include <string>

namespace {

// Light and dark squares of 16 pixels.
class Checkerboard final : public QWidget {
public:
    Checkerboard()
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        for (int y = 0; y < height(); y += 16) {
            for (int x = 0; x < width(); x += 16) {
                painter.fillRect(x, y, 16, 16, ((x + y) / 16) % 2 == 0 ? Qt::white : Qt::black);
            }
        }
    }
};

xcb_connection_t *connection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// What the screen shows in `area` (root coordinates), as the compositor painted it.
QImage screen(const QRect &area)
{
    xcb_connection_t *c = connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, static_cast<std::int16_t>(area.x()),
                                          static_cast<std::int16_t>(area.y()), static_cast<std::uint16_t>(area.width()),
                                          static_cast<std::uint16_t>(area.height()), 0xFFFFFFFF),
                            nullptr),
        &std::free);
    if (!reply || reply->depth != 24) {
        return {};
    }
    const QImage view(xcb_get_image_data(reply.get()), area.width(), area.height(), area.width() * 4,
                      QImage::Format_RGB32);
    return view.copy();
}

int depthOf(QWidget &window)
{
    xcb_connection_t *c = connection();
    const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> reply(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, static_cast<xcb_window_t>(window.winId())), nullptr), &std::free);
    return reply ? reply->depth : 0;
}

bool hasProperty(xcb_window_t window, const char *name)
{
    xcb_connection_t *c = connection();
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE) {
        return false;
    }
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 0), nullptr),
        &std::free);
    return reply && reply->type != XCB_ATOM_NONE;
}

// The spread of grey levels along the strip of glass above the digits, clear of the rounded corners and
// of the chrome's buttons.
int spread(const QImage &panel)
{
    int lowest = 255;
    int highest = 0;
    for (int y = 4; y < 14; ++y) {
        for (int x = 48; x < panel.width() - 64; ++x) {
            const int grey = qGray(panel.pixel(x, y));
            lowest = std::min(lowest, grey);
            highest = std::max(highest, grey);
        }
    }
    return highest - lowest;
}

void keep(const QImage &image, const char *name)
{
    image.save(QStringLiteral(DAYVANE_SCREENSHOT_DIR "/%1.png").arg(QLatin1String(name)));
}

TEST(MiniWindowGlass, theGlassShowsTheDesktopThroughAsTheStrengthAllowsAndOpaqueHidesIt)
{
    if (const std::optional<std::string> missing =
            missingProgram({"/usr/bin/Xvfb", "/usr/bin/openbox", "/usr/bin/xcompmgr"})) {
        GTEST_SKIP() << *missing << " is not installed (scripts/install-deps)";
    }
    const VirtualDisplay server;
    ASSERT_FALSE(server.name().empty()) << "Xvfb did not start";
    ::setenv("DISPLAY", server.name().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    int argc = 1;
    char name[] = "MiniWindowGlassTest";
    char *argv[] = {name, nullptr};
    QApplication application(argc, argv);

    TestChild windowManager(openboxCommand());
    ASSERT_TRUE(windowManager.started());
    // Ready once it manages windows: it then keeps a client list, empty as it may be.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
    ASSERT_TRUE(QTest::qWaitFor([&] { return hasProperty(root, "_NET_CLIENT_LIST"); }, 20000))
        << "openbox did not start";
    TestChild compositor({"xcompmgr"});
    ASSERT_TRUE(compositor.started());
    ASSERT_TRUE(QTest::qWaitFor([] { return TovikEwmh::compositorRunning(); }, 20000)) << "xcompmgr did not start";
    TovikCompositorWatch::instance()->recheck();

    Checkerboard board;
    board.setGeometry(0, 0, 640, 320);
    board.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&board));

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const StopwatchStore store(TovikSettingsStore::open(folder.filePath("suite.sqlite3").toStdString()),
                               "test.stopwatch");
    store.save({3725, std::nullopt});
    TovikWindowChrome::setSettings({TovikWindowBackgroundSettings::Mode::glass, 0}, TovikSettingsStore::standard());
    ClockCalendarAccessibility::install();
    auto panel = ClockMiniWindow::makeStopwatch(TovikClock::shared(), store, "test.glass.stopwatch");
    panel->present();
    FloatingPanel *window = panel->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    window->move(40, 40);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->geometry().topLeft() == QPoint(40, 40); }, 10000));
    // The pointer away from the panel, which opened under it: the glass alone, without the chrome.
    QCursor::setPos(1200, 700);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel->isChromeVisible(); }, 10000));
    EXPECT_EQ(depthOf(*window), 32) << "an alpha channel for the compositor to blend";
    EXPECT_TRUE(hasProperty(static_cast<xcb_window_t>(window->winId()), "_KDE_NET_WM_BLUR_BEHIND_REGION"))
        << "blur asked of a window manager that has it";

    const QRect area = window->frameGeometry();
    struct Case {
        const char *picture;
        TovikWindowBackgroundSettings settings;
        bool showsThrough;
    };
    const Case cases[] = {
        {"stopwatch-glass-0", {TovikWindowBackgroundSettings::Mode::glass, 0}, true},
        {"stopwatch-glass-50", {TovikWindowBackgroundSettings::Mode::glass, 0.5}, true},
        {"stopwatch-opaque", {TovikWindowBackgroundSettings::Mode::opaque, 0}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.picture);
        TovikWindowChrome::setSettings(c.settings, TovikSettingsStore::standard());
        // What is left of the 255 grey levels between the light and the dark squares under the surface.
        const double opacity = TovikGlassSurface::surfaceOpacity(TovikGlassSurface::glassOpacity(true, false),
                                                                 c.settings.resolve(false, false).backingAlpha);
        const int expected = qRound(255 * (1 - opacity));
        EXPECT_EQ(expected > 40, c.showsThrough);
        EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(spread(screen(area)) - expected) <= 3; }, 10000))
            << "grey levels along the glass spread by " << spread(screen(area)) << ", not " << expected;
        keep(screen(area.adjusted(-20, -20, 20, 20)), c.picture);
    }

    // The digits' menu, kept as a picture: copy, then the panel's own entries.
    StopwatchView *digits = stopwatchDisplay(*window);
    ASSERT_TRUE(digits);
    QImage menuShot;
    QTimer::singleShot(0, digits, [&] {
        if (!QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 5000)) {
            return;
        }
        if (QWidget *menu = QApplication::activePopupWidget()) {
            // Painted once its middle is neither of the squares' colours.
            const QRect middle(menu->frameGeometry().center(), QSize(1, 1));
            const bool painted = QTest::qWaitFor(
                [&] {
                    const QImage pixel = screen(middle);
                    return !pixel.isNull() && qGray(pixel.pixel(0, 0)) != 0 && qGray(pixel.pixel(0, 0)) != 255;
                },
                5000);
            EXPECT_TRUE(painted) << "the menu did not show";
            menuShot = screen(area.united(menu->frameGeometry()).adjusted(-20, -20, 20, 20));
            menu->close();
        }
    });
    // Through the window, which turns a right press into a menu request.
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, digits->mapTo(window, digits->rect().center()));
    ASSERT_FALSE(menuShot.isNull()) << "no menu on a right click";
    keep(menuShot, "stopwatch-menu");
    TovikWindowChrome::setSettings(TovikWindowBackgroundSettings::defaultSettings(), TovikSettingsStore::standard());
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
