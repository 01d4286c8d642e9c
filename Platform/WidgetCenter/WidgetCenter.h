#pragma once

#include <filesystem>
#include <functional>
#include <string>

// Asks the widget host to reload the timelines of one widget kind. Inside the host's own process the
// request is a direct call; elsewhere it is one reload request on the host's per-user socket
// (TovikLocalProtocol.h), whose answer it does not wait for, and with no host running it does nothing.
// Never blocks the caller for more than a few milliseconds, so the host must accept promptly.
namespace WidgetCenter {

void reloadTimelines(const std::string &kind);

// The host installs its own handler so that requests from its own process skip the socket.
// An empty handler removes it. Safe to call from any thread.
void setInProcessHandler(std::function<void(const std::string &kind)> handler);

// $XDG_RUNTIME_DIR/dayvane/widget-host.socket; empty without a runtime directory.
std::filesystem::path hostSocketPath();

} // namespace WidgetCenter
