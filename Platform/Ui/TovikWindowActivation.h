#pragma once

#include <QByteArray>

// The activation token a launcher hands a process it starts (XDG_ACTIVATION_TOKEN on Wayland,
// DESKTOP_STARTUP_ID on X11), and its use by the process of ours that raises a window on that one's behalf.
namespace TovikWindowActivation {

// The token this process was started with, or empty. Read it before the application object exists,
// since Qt takes the variables for its own first window.
QByteArray startupToken();

// Lets the next window this process activates take the focus with a token another process was started
// with: on X11 it becomes Qt's startup id (completed when a window maps) and its _TIME the time of the
// activation; on Wayland it is the token of the next activation. Does nothing for an empty token or on
// other platforms.
void useToken(const QByteArray &token);

// A token with which another process of ours may take the focus for the user's latest click in this one,
// as a launcher would hand it over: on X11 a startup id stamped with that click's time; empty elsewhere.
QByteArray handOverToken();

} // namespace TovikWindowActivation
