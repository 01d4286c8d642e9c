#include "TovikEwmh.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/shape.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// EWMH source indication: the request comes from a normal application.
constexpr std::uint32_t sourceApplication = 1;

xcb_client_message_event_t message(xcb_window_t window, xcb_atom_t type, std::array<std::uint32_t, 5> data)
{
    xcb_client_message_event_t event = {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    for (std::size_t i = 0; i < data.size(); ++i) {
        event.data.data32[i] = data[i];
    }
    return event;
}

} // namespace

namespace TovikEwmh {

std::array<const char *, 8> atomNames()
{
    return {"_NET_WM_STATE",
            "_NET_WM_STATE_ABOVE",
            "_NET_WM_STATE_STICKY",
            "_NET_WM_STATE_SKIP_TASKBAR",
            "_NET_WM_STATE_SKIP_PAGER",
            "_NET_WM_DESKTOP",
            "_NET_CURRENT_DESKTOP",
            "_NET_WM_STATE_BELOW"};
}

xcb_client_message_event_t stateMessage(xcb_window_t window, StateAction action, xcb_atom_t first, xcb_atom_t second,
                                        const Atoms &atoms)
{
    return message(window, atoms.wmState, {static_cast<std::uint32_t>(action), first, second, sourceApplication, 0});
}

xcb_client_message_event_t desktopMessage(xcb_window_t window, std::uint32_t desktop, const Atoms &atoms)
{
    return message(window, atoms.wmDesktop, {desktop, sourceApplication, 0, 0, 0});
}

std::vector<xcb_client_message_event_t> pinMessages(xcb_window_t window, bool pinned, std::uint32_t currentDesktop,
                                                    const Atoms &atoms)
{
    const StateAction action = pinned ? StateAction::add : StateAction::remove;
    return {
        stateMessage(window, action, atoms.above, atoms.sticky, atoms),
        desktopMessage(window, pinned ? allDesktops : currentDesktop, atoms),
        stateMessage(window, StateAction::add, atoms.skipTaskbar, atoms.skipPager, atoms),
    };
}

std::vector<xcb_client_message_event_t> currentDesktopMessages(xcb_window_t window, std::uint32_t currentDesktop,
                                                               const Atoms &atoms)
{
    return {stateMessage(window, StateAction::remove, atoms.sticky, XCB_ATOM_NONE, atoms),
            desktopMessage(window, currentDesktop, atoms)};
}

std::vector<xcb_atom_t> initialState(bool pinned, const Atoms &atoms)
{
    std::vector<xcb_atom_t> state = {atoms.skipTaskbar, atoms.skipPager};
    if (pinned) {
        state.push_back(atoms.above);
        state.push_back(atoms.sticky);
    }
    return state;
}

std::vector<xcb_client_message_event_t> desktopLayerMessages(xcb_window_t window, const Atoms &atoms)
{
    return {
        stateMessage(window, StateAction::add, atoms.below, atoms.sticky, atoms),
        desktopMessage(window, allDesktops, atoms),
        stateMessage(window, StateAction::add, atoms.skipTaskbar, atoms.skipPager, atoms),
    };
}

std::vector<xcb_atom_t> desktopLayerState(const Atoms &atoms)
{
    return {atoms.below, atoms.sticky, atoms.skipTaskbar, atoms.skipPager};
}

std::string compositorSelection(int screenNumber)
{
    return "_NET_WM_CM_S" + std::to_string(screenNumber);
}

std::vector<xcb_rectangle_t> roundedShape(int width, int height, double radius)
{
    std::vector<xcb_rectangle_t> rows;
    if (width <= 0 || height <= 0) {
        return rows;
    }
    const double r = std::min({std::max(radius, 0.0), width / 2.0, height / 2.0});
    // How far row y (its centre) is cut in by a corner circle of radius r.
    const auto inset = [r, height](int y) {
        const double fromEdge = std::min(y + 0.5, height - y - 0.5);
        if (fromEdge >= r) {
            return 0;
        }
        const double dy = r - fromEdge;
        return static_cast<int>(std::lround(r - std::sqrt(r * r - dy * dy)));
    };
    for (int y = 0; y < height; ++y) {
        const int cut = inset(y);
        if (!rows.empty() && rows.back().x == cut && rows.back().y + rows.back().height == y) {
            ++rows.back().height;
            continue;
        }
        rows.push_back({static_cast<std::int16_t>(cut), static_cast<std::int16_t>(y),
                        static_cast<std::uint16_t>(std::max(width - 2 * cut, 0)), 1});
    }
    return rows;
}

std::vector<std::uint32_t> blurBehindRegion(int width, int height, double radius)
{
    std::vector<std::uint32_t> region;
    for (const xcb_rectangle_t &row : roundedShape(width, height, radius)) {
        region.insert(region.end(),
                      {static_cast<std::uint32_t>(row.x), static_cast<std::uint32_t>(row.y), row.width, row.height});
    }
    return region;
}

namespace {

xcb_connection_t *connection()
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_screen_t *firstScreen(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data;
}

xcb_atom_t intern(xcb_connection_t *c, const char *name)
{
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

const Atoms &atomsOf(xcb_connection_t *c)
{
    static const Atoms atoms = [c] {
        const auto names = atomNames();
        return Atoms{intern(c, names[0]), intern(c, names[1]), intern(c, names[2]), intern(c, names[3]),
                     intern(c, names[4]), intern(c, names[5]), intern(c, names[6]), intern(c, names[7])};
    }();
    return atoms;
}

std::uint32_t currentDesktop(xcb_connection_t *c, xcb_window_t root, const Atoms &atoms)
{
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, atoms.currentDesktop, XCB_ATOM_CARDINAL, 0, 1), nullptr),
        &std::free);
    if (reply && xcb_get_property_value_length(reply.get()) == 4) {
        return *static_cast<const std::uint32_t *>(xcb_get_property_value(reply.get()));
    }
    return 0;
}

void send(xcb_connection_t *c, xcb_window_t root, const std::vector<xcb_client_message_event_t> &messages)
{
    for (const xcb_client_message_event_t &event : messages) {
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char *>(&event));
    }
    xcb_flush(c);
}

void setInitialState(xcb_connection_t *c, xcb_window_t id, const std::vector<xcb_atom_t> &state, const Atoms &atoms)
{
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atoms.wmState, XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(state.size()), state.data());
    xcb_flush(c);
}

void setShape(xcb_connection_t *c, xcb_window_t id, int width, int height, double radius)
{
    if (radius <= 0) {
        xcb_shape_mask(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, id, 0, 0, XCB_PIXMAP_NONE);
    } else {
        const std::vector<xcb_rectangle_t> rows = TovikEwmh::roundedShape(width, height, radius);
        xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_YX_BANDED, id, 0, 0,
                             static_cast<std::uint32_t>(rows.size()), rows.data());
    }
    xcb_flush(c);
}

} // namespace

bool isAvailable()
{
    return connection() != nullptr;
}

bool compositorRunning()
{
    xcb_connection_t *c = connection();
    if (!c) {
        return false;
    }
    // Qt talks to the default screen of $DISPLAY, which is its first.
    const std::string name = compositorSelection(0);
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, intern(c, name.c_str())), nullptr), &std::free);
    return reply && reply->owner != XCB_WINDOW_NONE;
}

void applyPin(QWidget &window, bool pinned, bool mapped)
{
    xcb_connection_t *c = connection();
    if (!c) {
        return;
    }
    const Atoms &atoms = atomsOf(c);
    const auto id = static_cast<xcb_window_t>(window.winId());
    xcb_screen_t *screen = firstScreen(c);
    if (!mapped) {
        setInitialState(c, id, initialState(pinned, atoms), atoms);
        return;
    }
    send(c, screen->root, pinMessages(id, pinned, currentDesktop(c, screen->root, atoms), atoms));
}

namespace {

// Asks the window manager to put `window` on the desktop in use.
void sendToCurrentDesktop(xcb_window_t window)
{
    xcb_connection_t *c = connection();
    if (!c) {
        return;
    }
    const Atoms &atoms = atomsOf(c);
    const xcb_window_t root = firstScreen(c)->root;
    send(c, root, currentDesktopMessages(window, currentDesktop(c, root, atoms), atoms));
}

} // namespace

void moveToCurrentDesktop(QWidget &window)
{
    sendToCurrentDesktop(static_cast<xcb_window_t>(window.winId()));
}

void moveToCurrentDesktop(QWindow &window)
{
    sendToCurrentDesktop(static_cast<xcb_window_t>(window.winId()));
}

void applyRoundedShape(QWidget &window, double radius)
{
    xcb_connection_t *c = connection();
    if (!c) {
        return;
    }
    const qreal ratio = window.devicePixelRatioF();
    setShape(c, static_cast<xcb_window_t>(window.winId()), qRound(window.width() * ratio),
             qRound(window.height() * ratio), compositorRunning() ? 0 : radius * ratio);
}

void applyBlurBehind(QWidget &window, double radius, bool blurred)
{
    xcb_connection_t *c = connection();
    if (!c) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    // Resolved once per connection: the request comes again with every resize.
    static xcb_connection_t *resolvedOn = nullptr;
    static xcb_atom_t property = XCB_ATOM_NONE;
    if (resolvedOn != c) {
        property = intern(c, "_KDE_NET_WM_BLUR_BEHIND_REGION");
        resolvedOn = c;
    }
    if (!blurred) {
        xcb_delete_property(c, id, property);
    } else {
        const qreal ratio = window.devicePixelRatioF();
        const std::vector<std::uint32_t> region =
            blurBehindRegion(qRound(window.width() * ratio), qRound(window.height() * ratio), radius * ratio);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, property, XCB_ATOM_CARDINAL, 32,
                            static_cast<std::uint32_t>(region.size()), region.data());
    }
    xcb_flush(c);
}

void applyDesktopLayer(QWindow &window, bool mapped)
{
    xcb_connection_t *c = connection();
    if (!c) {
        return;
    }
    const Atoms &atoms = atomsOf(c);
    const auto id = static_cast<xcb_window_t>(window.winId());
    if (!mapped) {
        setInitialState(c, id, desktopLayerState(atoms), atoms);
        return;
    }
    send(c, firstScreen(c)->root, desktopLayerMessages(id, atoms));
}

void clipToRoundedShape(QWindow &window, double radius)
{
    xcb_connection_t *c = connection();
    if (!c) {
        return;
    }
    const qreal ratio = window.devicePixelRatio();
    setShape(c, static_cast<xcb_window_t>(window.winId()), qRound(window.width() * ratio),
             qRound(window.height() * ratio), radius * ratio);
}

} // namespace TovikEwmh
