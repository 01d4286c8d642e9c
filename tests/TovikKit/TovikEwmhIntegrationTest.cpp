// A pinned panel under a real X server and window manager: the window manager records the states the
// panel asked for, and the compositor's presence is seen when one starts.
#include "TestChild.h"
#include "VirtualDisplay.h"

#include <TovikKit/FloatingPanel.h>
#include <TovikKit/TovikEwmh.h>

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::vector<std::uint32_t> property(xcb_connection_t *c, xcb_window_t window, const char *name)
{
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, atom(c, name), XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 32) {
        return {};
    }
    const auto *values = static_cast<const std::uint32_t *>(xcb_get_property_value(reply.get()));
    return std::vector<std::uint32_t>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

bool hasProperty(xcb_connection_t *c, xcb_window_t window, const char *name)
{
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, atom(c, name), XCB_GET_PROPERTY_TYPE_ANY, 0, 0),
                               nullptr),
        &std::free);
    return reply && reply->type != XCB_ATOM_NONE;
}

bool holds(const std::vector<std::uint32_t> &values, std::uint32_t value)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

TEST(TovikEwmhIntegration, aPinnedPanelIsAboveStickyOnEveryDesktopAndOutOfTheTaskBar)
{
    if (!std::filesystem::exists("/usr/bin/Xvfb")) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    const VirtualDisplay server;
    ASSERT_FALSE(server.name().empty()) << "Xvfb did not start";
    ::setenv("DISPLAY", server.name().c_str(), 1);

    // Our own connection watches the root window until the window manager announces itself.
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    ASSERT_FALSE(xcb_connection_has_error(c));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    TestChild windowManager(openboxCommand());
    ASSERT_TRUE(windowManager.started());
    // Ready once it manages windows: it then keeps a client list, empty as it may be.
    const auto ready = [&] { return hasProperty(c, root, "_NET_CLIENT_LIST"); };
    for (int round = 0; round < 200 && !ready(); ++round) {
        pollfd waiting{xcb_get_file_descriptor(c), POLLIN, 0};
        ::poll(&waiting, 1, 100);
        while (auto *event = xcb_poll_for_event(c)) {
            std::free(event);
        }
    }
    ASSERT_TRUE(ready()) << "openbox did not start";

    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    int argc = 1;
    char name[] = "TovikEwmhIntegrationTest";
    char *argv[] = {name, nullptr};
    QApplication application(argc, argv);
    ASSERT_TRUE(TovikEwmh::isAvailable());

    FloatingPanel panel(
        {QStringLiteral("计时器"), "test.window", {420, 116}, {180, 64}, 12, false, QString(), nullptr});
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    const auto window = static_cast<xcb_window_t>(panel.winId());
    const xcb_atom_t above = atom(c, "_NET_WM_STATE_ABOVE");
    const xcb_atom_t sticky = atom(c, "_NET_WM_STATE_STICKY");
    const xcb_atom_t skipTaskbar = atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    const auto state = [&] { return property(c, window, "_NET_WM_STATE"); };
    // The state a panel is mapped with, before any request: pinned and out of the task bar.
    EXPECT_TRUE(QTest::qWaitFor([&] { return holds(state(), above) && holds(state(), skipTaskbar); }, 10000));

    panel.setPinned(false);
    panel.setPinned(true);
    // A window manager without a sticky state (openbox) shows it only as the all-desktops number.
    const bool listsSticky = holds(property(c, root, "_NET_SUPPORTED"), sticky);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const auto now = state();
            return holds(now, above) && (holds(now, sticky) || !listsSticky)
                   && holds(now, atom(c, "_NET_WM_STATE_SKIP_TASKBAR"))
                   && holds(now, atom(c, "_NET_WM_STATE_SKIP_PAGER"));
        },
        10000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return property(c, window, "_NET_WM_DESKTOP") == std::vector<std::uint32_t>{0xFFFFFFFF}; }, 10000));

    panel.setPinned(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !holds(state(), above) && !holds(state(), sticky); }, 10000));
    EXPECT_TRUE(holds(state(), atom(c, "_NET_WM_STATE_SKIP_TASKBAR")));

    // Pinned again, then presented on the current desktop: off the other desktops.
    panel.setPinned(true);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return property(c, window, "_NET_WM_DESKTOP") == std::vector<std::uint32_t>{0xFFFFFFFF}; }, 10000));
    TovikScreenPlacement::presentOnActiveDesktop(panel, false);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return property(c, window, "_NET_WM_DESKTOP") == property(c, root, "_NET_CURRENT_DESKTOP"); }, 10000));

    EXPECT_FALSE(TovikEwmh::compositorRunning());
    TestChild compositor({"xcompmgr"});
    ASSERT_TRUE(compositor.started());
    EXPECT_TRUE(QTest::qWaitFor([] { return TovikEwmh::compositorRunning(); }, 10000));

    panel.close();
    xcb_disconnect(c);
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
