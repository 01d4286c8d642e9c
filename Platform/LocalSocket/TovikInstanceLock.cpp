#include "TovikInstanceLock.h"

#include "TovikLocalSocket.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A holder that lets go removes the file; a process that opened it just before then locks a file nobody
// else can find any more. It then tries the file at the path again, a few times at most.
constexpr int attempts = 8;

bool sameFile(int fd, const std::filesystem::path &path)
{
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && S_ISREG(opened.st_mode)
           && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Anything at the path that none of our processes could have left there: a link, a pipe, a folder, a file
// of another user. Only a regular file of ours is someone's lock.
bool isForeign(const std::filesystem::path &path)
{
    struct stat named {};
    return ::lstat(path.c_str(), &named) == 0 && !(S_ISREG(named.st_mode) && named.st_uid == ::geteuid());
}

} // namespace

std::unique_ptr<TovikInstanceLock> TovikInstanceLock::tryAcquire(std::filesystem::path file, std::error_code &error)
{
    error.clear();
    for (int attempt = 0; attempt < attempts; ++attempt) {
        // Removed, never followed; the folder is this user's alone, so what is in it is the user's to mend.
        if (isForeign(file)) {
            error = TovikLocalSocket::removeEntry(file);
            if (error) {
                return nullptr;
            }
        }
        const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
        if (fd < 0 && errno == ELOOP) {
            // A link put there since the look.
            continue;
        }
        if (fd < 0) {
            error = std::error_code(errno, std::generic_category());
            return nullptr;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int reason = errno;
            ::close(fd);
            if (reason != EWOULDBLOCK) {
                error = std::error_code(reason, std::generic_category());
            }
            return nullptr;
        }
        if (sameFile(fd, file)) {
            return std::unique_ptr<TovikInstanceLock>(new TovikInstanceLock(fd, std::move(file)));
        }
        ::close(fd);
    }
    return nullptr;
}

TovikInstanceLock::TovikInstanceLock(int fd, std::filesystem::path path)
    : m_fd(fd)
    , m_path(std::move(path))
{
}

TovikInstanceLock::~TovikInstanceLock()
{
    // Removed before it is let go: a process that opened it earlier finds it gone once it gets the lock.
    ::unlink(m_path.c_str());
    ::close(m_fd);
}
