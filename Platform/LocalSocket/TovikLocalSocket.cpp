#include "TovikLocalSocket.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace TovikLocalSocket {

namespace {

using Clock = std::chrono::steady_clock;

// Longer replies are not ours.
constexpr std::size_t maximumReplyBytes = 256;

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

int millisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

bool waitFor(int fd, short events, Clock::time_point deadline)
{
    pollfd watched{fd, events, 0};
    for (;;) {
        const int ready = ::poll(&watched, 1, millisecondsLeft(deadline));
        if (ready > 0) {
            return (watched.revents & events) != 0;
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
}

bool connectBefore(int fd, const sockaddr_un &address, Clock::time_point deadline)
{
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
            return true;
        }
        if (errno == EINPROGRESS) {
            int error = 0;
            socklen_t length = sizeof error;
            return waitFor(fd, POLLOUT, deadline) && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0
                   && error == 0;
        }
        // A full listen queue answers EAGAIN at once; try again briefly rather than wait on it.
        if ((errno != EAGAIN && errno != EINTR) || millisecondsLeft(deadline) == 0) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
}

bool sendBefore(int fd, std::string_view line, Clock::time_point deadline)
{
    std::size_t sent = 0;
    while (sent < line.size()) {
        const ssize_t count = ::send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count > 0) {
            sent += static_cast<std::size_t>(count);
        } else if (count >= 0 || !(errno == EINTR || (errno == EAGAIN && waitFor(fd, POLLOUT, deadline)))) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> receiveLineBefore(int fd, Clock::time_point deadline)
{
    std::string reply;
    char buffer[128];
    for (;;) {
        const ssize_t count = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (count > 0) {
            reply.append(buffer, static_cast<std::size_t>(count));
            if (const std::size_t end = reply.find('\n'); end != std::string::npos) {
                return reply.substr(0, end);
            }
            if (reply.size() > maximumReplyBytes) {
                return std::nullopt;
            }
        } else if (count >= 0 || !(errno == EINTR || (errno == EAGAIN && waitFor(fd, POLLIN, deadline)))) {
            return std::nullopt;
        }
    }
}

// A connected socket to a listener of this user, or -1.
int connectToOurs(const std::filesystem::path &socket, Clock::time_point deadline)
{
    sockaddr_un address{};
    if (!fillAddress(socket, address)) {
        return -1;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    if (!connectBefore(fd, address, deadline) || peerUser(fd) != ::geteuid()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A folder of this user that no other user may enter, where a name of ours cannot be someone else's.
bool isOursAlone(const std::filesystem::path &path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
           && (info.st_mode & 0077) == 0;
}

} // namespace

std::filesystem::path folder()
{
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || runtime[0] != '/') {
        return {};
    }
    return std::filesystem::path(runtime) / "dayvane";
}

std::filesystem::path ensureFolder(std::optional<Unusable> *unusable)
{
    std::filesystem::path path = folder();
    const auto refuse = [&](std::string reason) {
        if (unusable) {
            *unusable = Unusable{path, std::move(reason)};
        }
        return std::filesystem::path();
    };
    if (path.empty()) {
        return {};
    }
    // Twice at most: once more after a link in its place is gone.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
            return refuse(reasonOf(std::error_code(errno, std::generic_category())));
        }
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) {
            return refuse(reasonOf(std::error_code(errno, std::generic_category())));
        }
        if (S_ISLNK(info.st_mode)) {
            if (!isOursAlone(path.parent_path())) {
                return refuse("是一个符号链接，而它所在的 XDG_RUNTIME_DIR 不只属于你，不能替换");
            }
            if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
                return refuse(reasonOf(std::error_code(errno, std::generic_category())));
            }
            continue;
        }
        if (!S_ISDIR(info.st_mode)) {
            return refuse("不是文件夹");
        }
        if (info.st_uid != ::geteuid()) {
            return refuse("属于另一个用户");
        }
        if ((info.st_mode & 0077) != 0 && ::chmod(path.c_str(), 0700) != 0) {
            return refuse(reasonOf(std::error_code(errno, std::generic_category())));
        }
        return path;
    }
    return refuse("一再被换成符号链接");
}

std::error_code removeEntry(const std::filesystem::path &path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return errno == ENOENT ? std::error_code() : std::error_code(errno, std::generic_category());
    }
    if ((S_ISDIR(info.st_mode) ? ::rmdir(path.c_str()) : ::unlink(path.c_str())) != 0 && errno != ENOENT) {
        return std::error_code(errno, std::generic_category());
    }
    return {};
}

std::string reasonOf(std::error_code error)
{
    struct Reason {
        int number;
        const char *text;
    };
    static constexpr Reason reasons[] = {
        {ENOTEMPTY, "是一个不空的文件夹"},
        {EEXIST, "是一个不空的文件夹"},
        {EISDIR, "是一个文件夹"},
        {ELOOP, "是一个符号链接"},
        {ENOTDIR, "所在的路径中有一项不是文件夹"},
        {ENOENT, "所在的文件夹不存在"},
        {EACCES, "没有权限"},
        {EPERM, "没有权限"},
        {EROFS, "位于只读的文件系统上"},
        {ENOSPC, "磁盘空间不足"},
        {EMFILE, "打开的文件太多"},
        {ENFILE, "打开的文件太多"},
        {ENAMETOOLONG, "路径太长"},
    };
    for (const Reason &reason : reasons) {
        if (error.value() == reason.number) {
            return reason.text;
        }
    }
    return "系统错误 " + std::to_string(error.value()) + "（" + error.message() + "）";
}

std::string Unusable::message() const
{
    return "无法使用 " + path.string() + "：" + reason;
}

std::optional<std::string> exchange(const std::filesystem::path &socket, std::string_view line,
                                    std::chrono::milliseconds budget)
{
    const auto deadline = Clock::now() + budget;
    const SocketGuard guard(connectToOurs(socket, deadline));
    if (guard.fd() < 0 || !sendBefore(guard.fd(), line, deadline)) {
        return std::nullopt;
    }
    return receiveLineBefore(guard.fd(), deadline);
}

bool post(const std::filesystem::path &socket, std::string_view line, std::chrono::milliseconds budget)
{
    const auto deadline = Clock::now() + budget;
    const SocketGuard guard(connectToOurs(socket, deadline));
    return guard.fd() >= 0 && sendBefore(guard.fd(), line, deadline);
}

std::optional<uid_t> peerUser(int fd)
{
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0 || length != sizeof credentials) {
        return std::nullopt;
    }
    return credentials.uid;
}

bool fillAddress(const std::filesystem::path &socket, sockaddr_un &address)
{
    address = {};
    address.sun_family = AF_UNIX;
    const std::string &native = socket.native();
    if (native.empty() || native.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, native.c_str(), native.size());
    return true;
}

} // namespace TovikLocalSocket
