#include "DayvaneSingleInstance.h"

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

DayvaneSingleInstance DayvaneSingleInstance::refused(std::filesystem::path path, std::error_code error)
{
    DayvaneSingleInstance instance(State::refused);
    instance.m_unusable = TovikLocalSocket::Unusable{std::move(path), TovikLocalSocket::reasonOf(error)};
    return instance;
}

DayvaneSingleInstance DayvaneSingleInstance::claim(const TovikLocalProtocol::Request &request)
{
    std::optional<TovikLocalSocket::Unusable> unusable;
    const std::filesystem::path folder = TovikLocalSocket::ensureFolder(&unusable);
    if (unusable) {
        DayvaneSingleInstance instance(State::refused);
        instance.m_unusable = std::move(unusable);
        return instance;
    }
    return claim(folder, request);
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
            // Nobody else holds the lock, so a socket file left at the path is stale. Without a socket the
            // next start could not find this instance and would run beside it.
            auto listener = TovikLocalListener::replace(folder / "app.socket", &error);
            if (!listener) {
                return refused(folder / "app.socket", error);
            }
            return DayvaneSingleInstance(State::instance, std::move(lock), std::move(listener));
        }
        if (error) {
            return refused(folder / "app.lock", error);
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
