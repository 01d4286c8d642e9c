#include "WidgetCenter.h"

#include <Platform/LocalSocket/TovikLocalProtocol.h>
#include <Platform/LocalSocket/TovikLocalSocket.h>

#include <chrono>
#include <mutex>

namespace {

// The longest a reload request may hold up its caller (a click handler or an intent).
constexpr std::chrono::milliseconds requestBudget(5);

std::mutex &handlerMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::function<void(const std::string &)> &inProcessHandler()
{
    static std::function<void(const std::string &)> handler;
    return handler;
}

} // namespace

namespace WidgetCenter {

void setInProcessHandler(std::function<void(const std::string &kind)> handler)
{
    std::lock_guard lock(handlerMutex());
    inProcessHandler() = std::move(handler);
}

std::filesystem::path hostSocketPath()
{
    const std::filesystem::path folder = TovikLocalSocket::folder();
    return folder.empty() ? folder : folder / "widget-host.socket";
}

void reloadTimelines(const std::string &kind)
{
    std::function<void(const std::string &)> handler;
    {
        std::lock_guard lock(handlerMutex());
        handler = inProcessHandler();
    }
    if (handler) {
        handler(kind);
        return;
    }
    const auto line = TovikLocalProtocol::encode({TovikLocalProtocol::Kind::reload, {kind}, {}});
    const std::filesystem::path socket = hostSocketPath();
    if (line && !socket.empty()) {
        TovikLocalSocket::post(socket, *line, requestBudget);
    }
}

} // namespace WidgetCenter
