#include "TovikLocalListener.h"

#include "TovikLocalSocket.h"

#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

std::unique_ptr<TovikLocalListener> TovikLocalListener::replace(std::filesystem::path socket, std::error_code *error)
{
    const auto failed = [error](std::error_code reason) -> std::unique_ptr<TovikLocalListener> {
        if (error) {
            *error = reason;
        }
        return nullptr;
    };
    sockaddr_un address{};
    if (!TovikLocalSocket::fillAddress(socket, address)) {
        return failed(std::make_error_code(std::errc::filename_too_long));
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return failed(std::error_code(errno, std::generic_category()));
    }
    if (const std::error_code removed = TovikLocalSocket::removeEntry(socket)) {
        ::close(fd);
        return failed(removed);
    }
    // A socket file takes the mode the umask leaves; it is narrowed before anyone can be let in.
    struct stat info {};
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::chmod(socket.c_str(), 0600) != 0 || ::listen(fd, SOMAXCONN) != 0 || ::stat(socket.c_str(), &info) != 0) {
        const std::error_code reason(errno, std::generic_category());
        ::close(fd);
        return failed(reason);
    }
    return std::unique_ptr<TovikLocalListener>(new TovikLocalListener(fd, std::move(socket), info.st_dev, info.st_ino));
}

TovikLocalListener::TovikLocalListener(int fd, std::filesystem::path path, dev_t device, ino_t inode)
    : m_fd(fd)
    , m_path(std::move(path))
    , m_device(device)
    , m_inode(inode)
{
}

TovikLocalListener::~TovikLocalListener()
{
    struct stat info {};
    if (::stat(m_path.c_str(), &info) == 0 && info.st_dev == m_device && info.st_ino == m_inode) {
        ::unlink(m_path.c_str());
    }
    ::close(m_fd);
}

int TovikLocalListener::acceptPeer()
{
    m_stalled = false;
    for (;;) {
        const int connection = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR || errno == ECONNABORTED) {
                continue;
            }
            m_stalled = errno != EAGAIN;
            return -1;
        }
        if (TovikLocalSocket::peerUser(connection) == ::geteuid()) {
            return connection;
        }
        ::close(connection);
    }
}
