#pragma once

#include <filesystem>
#include <memory>
#include <sys/types.h>
#include <system_error>

// The listening end of a per-user socket, without an event loop: binds, hands out connections of peers of
// this user only, and removes its socket file when it goes, unless another listener has replaced it since.
class TovikLocalListener {
public:
    // Listens at the path, replacing whatever is there (an empty folder too, a link itself), with a socket
    // file only this user may use (0600). Only the holder of the name's lock (TovikInstanceLock) may do
    // this, since a live listener's file would be taken over too. `error`, when given, tells why none.
    static std::unique_ptr<TovikLocalListener> replace(std::filesystem::path socket, std::error_code *error = nullptr);
    ~TovikLocalListener();
    TovikLocalListener(const TovikLocalListener &) = delete;
    TovikLocalListener &operator=(const TovikLocalListener &) = delete;

    // Non-blocking; becomes readable when a connection waits.
    int fd() const { return m_fd; }
    const std::filesystem::path &path() const { return m_path; }

    // The next waiting connection of a peer of this user, non-blocking and closed on exec; -1 when none
    // waits or none can be taken now. Connections of other users are closed unanswered on the way.
    int acceptPeer();
    // Whether the last -1 of acceptPeer meant a connection waits that could not be taken (the process is
    // out of descriptors, the system out of memory): the socket stays readable, so watching it would spin.
    bool stalled() const { return m_stalled; }

private:
    TovikLocalListener(int fd, std::filesystem::path path, dev_t device, ino_t inode);

    int m_fd;
    std::filesystem::path m_path;
    dev_t m_device;
    ino_t m_inode;
    bool m_stalled = false;
};
