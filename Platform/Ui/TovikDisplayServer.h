#pragma once

// The display server our windows use. They place themselves, stay above or below others and take the focus
// through the X11 window manager's hints, which an ordinary Wayland client cannot ask for.
namespace TovikDisplayServer {

// Before the application object exists: in a Wayland session that offers XWayland, run as an X11 client,
// unless the user chose a platform (QT_QPA_PLATFORM).
void preferXWayland();

} // namespace TovikDisplayServer
