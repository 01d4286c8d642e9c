#pragma once

#include <filesystem>
#include <functional>
#include <string>

// Asks the widget host to reload the timelines of one widget kind. Inside the host's own process the
// request is a direct call; elsewhere it is one message on the host's per-user socket, and with no host
// running it does nothing. Never blocks the caller for more than a few milliseconds.
//
// The socket protocol, which the host follows: the host listens on a Unix stream socket at
// hostSocketPath() (in a 0700 folder of the user's runtime directory). A client connects, writes one line
// "reload <kind>\n" (the kind in UTF-8, without line breaks) and closes; it reads no answer. A client that
// cannot connect or write within about 5 ms gives up silently, so the host must accept promptly.
namespace WidgetCenter {

void reloadTimelines(const std::string &kind);

// The host installs its own handler so that requests from its own process skip the socket.
// An empty handler removes it. Safe to call from any thread.
void setInProcessHandler(std::function<void(const std::string &kind)> handler);

// $XDG_RUNTIME_DIR/dayvane/widget-host.socket; empty without a runtime directory.
std::filesystem::path hostSocketPath();

} // namespace WidgetCenter
