#pragma once

#include <filesystem>
#include <memory>
#include <system_error>

// An exclusive lock on a file (flock) that makes its holder the one process of its kind for this user. It
// is held for the life of the object; the kernel lets go of it when the process dies, so a crashed holder
// never blocks the next one. The file is removed when the lock is let go.
class TovikInstanceLock {
public:
    // The lock, or none when another process holds it. Whatever none of our processes could have left at
    // the path (a link, a pipe, an empty folder, another user's file) is removed first, never followed; the
    // folder must be this user's alone. `error` is set when the file could not be used at all, which tells
    // an unusable path from a held lock.
    static std::unique_ptr<TovikInstanceLock> tryAcquire(std::filesystem::path file, std::error_code &error);
    ~TovikInstanceLock();
    TovikInstanceLock(const TovikInstanceLock &) = delete;
    TovikInstanceLock &operator=(const TovikInstanceLock &) = delete;

    const std::filesystem::path &path() const { return m_path; }

private:
    TovikInstanceLock(int fd, std::filesystem::path path);

    int m_fd;
    std::filesystem::path m_path;
};
