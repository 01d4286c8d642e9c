#include "DayvaneSingleInstance.h"

#include <Platform/LocalSocket/TovikLocalSocket.h>

#include <thread>

namespace {

// Between attempts while the instance is not listening yet, or has just let go of the lock.
constexpr std::chrono::milliseconds retryPause(2);

} // namespace

DayvaneSingleInstance::DayvaneSingleInstance(State state, std::unique_ptr<TovikInstanceLock> lock,
                                             std::unique_ptr<TovikLocalListener> listener)
    : m_state(state)
    , m_lock(std::move(lock))
    , m_listener(std::move(listener))
{
}

DayvaneSingleInstance DayvaneSingleInstance::claim(const std::filesystem::path &folder,
                                                   const TovikLocalProtocol::Request &request,
                                                   std::chrono::milliseconds patience)
{
    if (folder.empty()) {
        return DayvaneSingleInstance(State::alone);
    }
    const auto line = TovikLocalProtocol::encode(request);
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        std::error_code error;
        if (auto lock = TovikInstanceLock::tryAcquire(folder / "app.lock", error)) {
            // Nobody else holds the lock, so a socket file left at the path is stale.
            return DayvaneSingleInstance(State::instance, std::move(lock),
                                         TovikLocalListener::replace(folder / "app.socket"));
        }
        if (error) {
            return DayvaneSingleInstance(State::alone);
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (!line || left.count() <= 0) {
            return DayvaneSingleInstance(State::unanswered);
        }
        // No reply at all: the instance is not listening yet, or it ended after taking the connection.
        if (const auto reply = TovikLocalSocket::exchange(folder / "app.socket", *line, left)) {
            return DayvaneSingleInstance(TovikLocalProtocol::decodeReply(*reply) == TovikLocalProtocol::Reply::ok
                                             ? State::handedOver
                                             : State::unanswered);
        }
        std::this_thread::sleep_for(retryPause);
    }
}
