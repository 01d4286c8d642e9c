#pragma once

#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QWidget;
class QWindow;

// The window-manager hints of a floating panel or a desktop widget on X11 (EWMH) and its shape without a
// compositor. The pure
// part builds client messages, property values and shape rectangles from atoms the caller resolved; the
// live part sends them through Qt's own X connection and does nothing on other platforms.
namespace TovikEwmh {

// The atoms the messages need, resolved once per connection.
struct Atoms {
    xcb_atom_t wmState = XCB_ATOM_NONE;
    xcb_atom_t above = XCB_ATOM_NONE;
    xcb_atom_t sticky = XCB_ATOM_NONE;
    xcb_atom_t skipTaskbar = XCB_ATOM_NONE;
    xcb_atom_t skipPager = XCB_ATOM_NONE;
    xcb_atom_t wmDesktop = XCB_ATOM_NONE;
    xcb_atom_t currentDesktop = XCB_ATOM_NONE;
    xcb_atom_t below = XCB_ATOM_NONE;
};

// The atom names, in the order of the Atoms members.
std::array<const char *, 8> atomNames();

enum class StateAction : std::uint32_t { remove = 0, add = 1 };

// "All desktops" as a _NET_WM_DESKTOP value.
inline constexpr std::uint32_t allDesktops = 0xFFFFFFFF;

// A _NET_WM_STATE request for a mapped window, changing one or two state atoms (second may be none), from
// a normal application.
xcb_client_message_event_t stateMessage(xcb_window_t window, StateAction action, xcb_atom_t first, xcb_atom_t second,
                                        const Atoms &atoms);
// A _NET_WM_DESKTOP request for a mapped window.
xcb_client_message_event_t desktopMessage(xcb_window_t window, std::uint32_t desktop, const Atoms &atoms);

// The messages that pin a panel (above, sticky, on all desktops) or release it to the current desktop,
// and keep it out of the task bar and pager either way.
std::vector<xcb_client_message_event_t> pinMessages(xcb_window_t window, bool pinned, std::uint32_t currentDesktop,
                                                    const Atoms &atoms);
// The messages that put a window on the current desktop only: no longer sticky, on that desktop's number.
std::vector<xcb_client_message_event_t> currentDesktopMessages(xcb_window_t window, std::uint32_t currentDesktop,
                                                               const Atoms &atoms);
// The _NET_WM_STATE value a panel starts with before it is first mapped.
std::vector<xcb_atom_t> initialState(bool pinned, const Atoms &atoms);

// The messages that keep a mapped desktop widget below normal windows, on every desktop, out of the task
// bar and pager; and the _NET_WM_STATE it starts with before it is first mapped.
std::vector<xcb_client_message_event_t> desktopLayerMessages(xcb_window_t window, const Atoms &atoms);
std::vector<xcb_atom_t> desktopLayerState(const Atoms &atoms);

// The selection a compositing manager owns on screen `screenNumber`: "_NET_WM_CM_S0" for screen 0.
std::string compositorSelection(int screenNumber);

// Rows of a width x height rounded rectangle (device pixels), rows with the same inset merged: the X shape
// that clips a window to its rounded surface when no compositor draws transparency.
std::vector<xcb_rectangle_t> roundedShape(int width, int height, double radius);
// The _KDE_NET_WM_BLUR_BEHIND_REGION value (x, y, width, height per rectangle) that blurs the desktop behind
// the rounded surface only, so no blur shows past its corners.
std::vector<std::uint32_t> blurBehindRegion(int width, int height, double radius);

// Live, on Qt's X connection; all are no-ops off X11.
bool isAvailable();
bool compositorRunning();
// Before the window is mapped (`mapped` false): the initial state property; while it is mapped: the
// requests.
void applyPin(QWidget &window, bool pinned, bool mapped);
// Takes a mapped window off the other desktops and onto the current one.
void moveToCurrentDesktop(QWidget &window);
void moveToCurrentDesktop(QWindow &window);
// Clips the window to its rounded surface, or removes the clip (radius 0 or a compositor running).
void applyRoundedShape(QWidget &window, double radius);
// Asks the window manager to blur what lies behind the window's rounded surface (KWin does; others ignore
// the request), or withdraws the request.
void applyBlurBehind(QWidget &window, double radius, bool blurred);
// Puts a desktop widget on the desktop layer: the initial state before it is mapped, the requests after.
void applyDesktopLayer(QWindow &window, bool mapped);
// Clips the window to its rounded surface whether or not a compositor runs (its content is opaque).
void clipToRoundedShape(QWindow &window, double radius);

} // namespace TovikEwmh
