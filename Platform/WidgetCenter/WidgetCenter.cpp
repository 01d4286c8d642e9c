#include "WidgetCenter.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

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

class SocketGuard {
public:
    explicit SocketGuard(int fd)
        : m_fd(fd)
    {
    }
    ~SocketGuard()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    SocketGuard(const SocketGuard &) = delete;
    SocketGuard &operator=(const SocketGuard &) = delete;

    int fd() const { return m_fd; }

private:
    int m_fd;
};

int millisecondsLeft(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

bool waitUntilWritable(int fd, std::chrono::steady_clock::time_point deadline)
{
    pollfd watched{fd, POLLOUT, 0};
    for (;;) {
        const int ready = ::poll(&watched, 1, millisecondsLeft(deadline));
        if (ready > 0) {
            return (watched.revents & POLLOUT) && !(watched.revents & (POLLERR | POLLHUP));
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
}

bool connectBefore(int fd, const sockaddr_un &address, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
            return true;
        }
        if (errno == EINPROGRESS) {
            int error = 0;
            socklen_t length = sizeof error;
            return waitUntilWritable(fd, deadline) && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0
                   && error == 0;
        }
        // A full listen queue answers EAGAIN at once; try again briefly rather than wait on it.
        if ((errno != EAGAIN && errno != EINTR) || millisecondsLeft(deadline) == 0) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
}

bool sendBefore(int fd, const std::string &message, std::chrono::steady_clock::time_point deadline)
{
    std::size_t sent = 0;
    while (sent < message.size()) {
        const ssize_t count = ::send(fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count > 0) {
            sent += static_cast<std::size_t>(count);
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else if (count < 0 && errno == EAGAIN && waitUntilWritable(fd, deadline)) {
            continue;
        } else {
            return false;
        }
    }
    return true;
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
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || runtime[0] != '/') {
        return {};
    }
    return std::filesystem::path(runtime) / "dayvane" / "widget-host.socket";
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
    // A line break inside the kind would split the one-line message.
    if (kind.empty() || kind.find_first_of("\r\n") != std::string::npos) {
        return;
    }
    const std::filesystem::path socketPath = hostSocketPath();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    struct stat info {};
    if (socketPath.empty() || socketPath.native().size() >= sizeof address.sun_path
        || ::stat(socketPath.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) {
        return;
    }
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.native().size());

    const auto deadline = std::chrono::steady_clock::now() + requestBudget;
    const SocketGuard socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.fd() < 0 || !connectBefore(socket.fd(), address, deadline)) {
        return;
    }
    sendBefore(socket.fd(), "reload " + kind + "\n", deadline);
}

} // namespace WidgetCenter
