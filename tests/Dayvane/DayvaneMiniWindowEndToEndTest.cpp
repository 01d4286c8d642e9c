// The real program under a real X server, window manager and compositor: a link from a second process
// shows the stopwatch mini window pinned above everything on every desktop in place of the main window;
// the pin button releases it; closing it brings the main window back. What is checked is what the X
// server holds, read on a connection of the test's own.
#include "TestChild.h"
#include "VirtualDisplay.h"

#include <gtest/gtest.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

class Display {
public:
    Display()
        : m_c(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
        // Every property change of the root (client list, ...) wakes the waits below.
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_c, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_c);
    }
    ~Display() { xcb_disconnect(m_c); }
    Display(const Display &) = delete;
    Display &operator=(const Display &) = delete;

    bool ok() const { return xcb_connection_has_error(m_c) == 0; }
    xcb_window_t root() const { return m_root; }

    xcb_atom_t atom(const char *name) const
    {
        Owned<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
                                  nullptr),
            &std::free);
        return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    }

    std::vector<std::uint32_t> numbers(xcb_window_t window, const char *name) const
    {
        Owned<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(m_c, xcb_get_property(m_c, 0, window, atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                                   nullptr),
            &std::free);
        if (!reply || reply->format != 32) {
            return {};
        }
        const auto *values = static_cast<const std::uint32_t *>(xcb_get_property_value(reply.get()));
        return {values, values + xcb_get_property_value_length(reply.get()) / 4};
    }

    std::string text(xcb_window_t window, const char *name) const
    {
        Owned<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(m_c, xcb_get_property(m_c, 0, window, atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                                   nullptr),
            &std::free);
        if (!reply || reply->format != 8) {
            return {};
        }
        return {static_cast<const char *>(xcb_get_property_value(reply.get())),
                static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
    }

    // The managed window whose title is `title`, if the window manager lists one.
    std::optional<xcb_window_t> client(const std::string &title) const
    {
        for (const std::uint32_t window : numbers(m_root, "_NET_CLIENT_LIST")) {
            if (text(window, "_NET_WM_NAME") == title) {
                return window;
            }
        }
        return std::nullopt;
    }

    bool isMapped(xcb_window_t window) const
    {
        Owned<xcb_get_window_attributes_reply_t> reply(
            xcb_get_window_attributes_reply(m_c, xcb_get_window_attributes(m_c, window), nullptr), &std::free);
        return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    bool isShaped(xcb_window_t window) const
    {
        Owned<xcb_shape_query_extents_reply_t> reply(
            xcb_shape_query_extents_reply(m_c, xcb_shape_query_extents(m_c, window), nullptr), &std::free);
        return reply && reply->bounding_shaped;
    }

    // The window's top-left corner on the root window.
    std::pair<int, int> origin(xcb_window_t window) const
    {
        Owned<xcb_translate_coordinates_reply_t> reply(
            xcb_translate_coordinates_reply(m_c, xcb_translate_coordinates(m_c, window, m_root, 0, 0), nullptr),
            &std::free);
        return reply ? std::pair<int, int>{reply->dst_x, reply->dst_y} : std::pair<int, int>{0, 0};
    }

    int width(xcb_window_t window) const
    {
        Owned<xcb_get_geometry_reply_t> reply(xcb_get_geometry_reply(m_c, xcb_get_geometry(m_c, window), nullptr),
                                              &std::free);
        return reply ? reply->width : 0;
    }

    void watch(xcb_window_t window)
    {
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_c, window, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_c);
    }

    // Checks `condition` each time the server reports something, up to `seconds`.
    bool waitFor(const std::function<bool()> &condition, int seconds = 20)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            // Some changes (a shape, a client list of another program) send us no event: look again soon.
            pollfd waiting{xcb_get_file_descriptor(m_c), POLLIN, 0};
            ::poll(&waiting, 1, 50);
            while (auto *event = xcb_poll_for_event(m_c)) {
                std::free(event);
            }
        }
        return true;
    }

private:
    xcb_connection_t *m_c;
    xcb_window_t m_root = XCB_WINDOW_NONE;
};

bool holds(const std::vector<std::uint32_t> &values, std::uint32_t value)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

bool click(int x, int y)
{
    // Moved there first, so the panel sees the pointer enter and shows its buttons.
    TestChild xdotool(
        {"xdotool", "mousemove", "--sync", std::to_string(x), std::to_string(y), "sleep", "0.2", "click", "1"});
    return xdotool.started() && xdotool.wait() == 0;
}

TEST(DayvaneMiniWindowEndToEnd, aLinkShowsThePinnedPanelInPlaceOfTheMainWindow)
{
    if (const std::optional<std::string> missing =
            missingProgram({"/usr/bin/Xvfb", "/usr/bin/openbox", "/usr/bin/xcompmgr", "/usr/bin/xdotool"})) {
        GTEST_SKIP() << *missing << " is not installed (scripts/install-deps)";
    }
    const VirtualDisplay server;
    ASSERT_FALSE(server.name().empty()) << "Xvfb did not start";
    ::setenv("DISPLAY", server.name().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);

    Display display;
    ASSERT_TRUE(display.ok());
    TestChild windowManager(openboxCommand());
    ASSERT_TRUE(windowManager.started());
    ASSERT_TRUE(display.waitFor([&] {
        return !display.text(display.root(), "_NET_SUPPORTING_WM_CHECK").empty()
               || !display.numbers(display.root(), "_NET_SUPPORTING_WM_CHECK").empty();
    })) << "openbox did not start";

    // A user who never opened a mini window: fresh settings and sockets.
    std::string home = (std::filesystem::temp_directory_path() / "dayvane-mini-XXXXXX").string();
    ASSERT_NE(::mkdtemp(home.data()), nullptr);
    const std::filesystem::path folder(home);
    std::filesystem::create_directories(folder / "runtime");
    std::filesystem::permissions(folder / "runtime", std::filesystem::perms::owner_all);
    ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (folder / "runtime").c_str(), 1);
    const std::unique_ptr<const std::filesystem::path, void (*)(const std::filesystem::path *)> removal(
        &folder, [](const std::filesystem::path *path) { std::filesystem::remove_all(*path); });
    TestChild application({DAYVANE_PROGRAM});
    ASSERT_TRUE(application.started());
    std::optional<xcb_window_t> mainWindow;
    ASSERT_TRUE(display.waitFor([&] { return (mainWindow = display.client("Dayvane")).has_value(); }))
        << "the main window did not open";
    display.watch(*mainWindow);

    TestChild link({DAYVANE_PROGRAM, "dayvane://stopwatch"});
    ASSERT_TRUE(link.started());
    EXPECT_EQ(link.wait(), 0) << "the second process hands the link over and ends";

    std::optional<xcb_window_t> panel;
    ASSERT_TRUE(display.waitFor([&] { return (panel = display.client("计时器")).has_value(); }))
        << "the stopwatch mini window did not open";
    display.watch(*panel);
    const xcb_atom_t above = display.atom("_NET_WM_STATE_ABOVE");
    const xcb_atom_t sticky = display.atom("_NET_WM_STATE_STICKY");
    const auto desktop = [&] { return display.numbers(*panel, "_NET_WM_DESKTOP"); };
    const std::vector<std::uint32_t> allDesktops{0xFFFFFFFF};
    // openbox keeps a window on every desktop without listing the sticky state: its desktop number says it.
    const bool listsSticky = holds(display.numbers(display.root(), "_NET_SUPPORTED"), sticky);
    EXPECT_TRUE(display.waitFor([&] {
        const auto state = display.numbers(*panel, "_NET_WM_STATE");
        return display.isMapped(*panel) && holds(state, above) && (holds(state, sticky) || !listsSticky)
               && desktop() == allDesktops;
    })) << "pinned: above others, on every desktop";
    EXPECT_TRUE(display.waitFor([&] { return !display.isMapped(*mainWindow); })) << "the main window made way";
    EXPECT_TRUE(display.isShaped(*panel)) << "without a compositor the panel is cut to its rounded shape";

    // A compositor starting is followed live: the panel's translucent corners need no shape any more.
    TestChild compositor({"xcompmgr"});
    ASSERT_TRUE(compositor.started());
    EXPECT_TRUE(display.waitFor([&] { return !display.isShaped(*panel); }));

    // The pin button sits 8 points from the right and 6 from the top, 17 points square.
    const auto [x, y] = display.origin(*panel);
    const int width = display.width(*panel);
    ASSERT_TRUE(click(x + width - 25 + 8, y + 6 + 8));
    EXPECT_TRUE(display.waitFor([&] {
        const auto state = display.numbers(*panel, "_NET_WM_STATE");
        return !holds(state, above) && !holds(state, sticky) && desktop() != allDesktops;
    })) << "released: ordinary stacking on the current desktop";

    // Released and left behind on another desktop, it is fetched to the one in use by a second launch.
    const auto activeWindow = [&] { return display.numbers(display.root(), "_NET_ACTIVE_WINDOW"); };
    TestChild switchDesktop({"xdotool", "set_desktop", "1"});
    ASSERT_EQ(switchDesktop.wait(), 0);
    ASSERT_TRUE(display.waitFor([&] { return display.numbers(display.root(), "_NET_CURRENT_DESKTOP").at(0) == 1; }));
    TestChild reopen({DAYVANE_PROGRAM});
    EXPECT_EQ(reopen.wait(), 0);
    EXPECT_TRUE(display.waitFor([&] {
        return desktop() == std::vector<std::uint32_t>{1} && display.isMapped(*panel)
               && activeWindow() == std::vector<std::uint32_t>{*panel};
    })) << "a second launch brings the mini window forward on the desktop in use";
    EXPECT_FALSE(display.isMapped(*mainWindow));

    // The close button: 8 points from the left, 7 from the top, 14 points square.
    ASSERT_TRUE(click(x + 8 + 7, y + 7 + 7));
    EXPECT_TRUE(display.waitFor([&] { return display.isMapped(*mainWindow) && !display.isMapped(*panel); }))
        << "closing the last mini window brings the main window back";
}

} // namespace
