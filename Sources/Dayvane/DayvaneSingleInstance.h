#pragma once

#include <Platform/LocalSocket/TovikInstanceLock.h>
#include <Platform/LocalSocket/TovikLocalListener.h>
#include <Platform/LocalSocket/TovikLocalProtocol.h>
#include <Platform/LocalSocket/TovikLocalSocket.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>

// Keeps the application to one process per user. Whoever holds the lock app.lock in the per-user socket
// folder is the instance, and listens on app.socket at once; every other process hands its request over
// there and ends. Decided before the application object, let alone a window, exists.
class DayvaneSingleInstance {
public:
    enum class State {
        instance,   // this process holds the lock (and listens, unless the socket could not be made)
        handedOver, // the running instance carried the request out
        alone,      // no runtime folder at all (no XDG_RUNTIME_DIR): this process runs without a guard
        unanswered, // another process holds the lock but did not carry the request out in time
        refused,    // the folder, lock or socket cannot be used; unusable() says which and why
    };

    // How long a later process waits for an instance that is still starting, or busy, or ending.
    static constexpr std::chrono::milliseconds defaultPatience{10000};

    // Becomes the instance in `folder` (TovikLocalSocket::ensureFolder(), empty when there is none), or
    // hands `request` to the one that is, retrying while it starts to listen or ends.
    static DayvaneSingleInstance claim(const std::filesystem::path &folder, const TovikLocalProtocol::Request &request,
                                       std::chrono::milliseconds patience = defaultPatience);
    // The same in this user's runtime folder, made or mended first.
    static DayvaneSingleInstance claim(const TovikLocalProtocol::Request &request);

    State state() const { return m_state; }
    // What could not be used, when refused.
    const std::optional<TovikLocalSocket::Unusable> &unusable() const { return m_unusable; }
    // The instance's listener, for its server to take; none in every other state.
    std::unique_ptr<TovikLocalListener> takeListener() { return std::move(m_listener); }

private:
    explicit DayvaneSingleInstance(State state, std::unique_ptr<TovikInstanceLock> lock = {},
                                   std::unique_ptr<TovikLocalListener> listener = {});
    static DayvaneSingleInstance refused(std::filesystem::path path, std::error_code error);

    State m_state;
    std::optional<TovikLocalSocket::Unusable> m_unusable;
    std::unique_ptr<TovikInstanceLock> m_lock;
    std::unique_ptr<TovikLocalListener> m_listener;
};
