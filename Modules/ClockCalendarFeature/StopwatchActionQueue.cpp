#include "StopwatchActionQueue.h"

#include <utility>

StopwatchActionQueue::StopwatchActionQueue(StopwatchStore store, QObject *owner)
    : QObject(owner)
    , m_store(std::move(store))
{
    m_retry.setInterval(retryIntervalMs);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        if (drain() && onSettled) {
            onSettled();
        }
    });
}

StopwatchState StopwatchActionQueue::refresh()
{
    if (const std::optional<StopwatchState> loaded = m_store.tryLoad()) {
        m_stored = *loaded;
    }
    return shown();
}

void StopwatchActionQueue::toggle(Instant now)
{
    add({false, now});
}

void StopwatchActionQueue::reset()
{
    add({true, 0});
}

void StopwatchActionQueue::add(const Action &action)
{
    m_waiting.push_back(action);
    drain();
}

bool StopwatchActionQueue::drain()
{
    bool settled = false;
    while (!m_waiting.empty()) {
        const Action &action = m_waiting.front();
        const StopwatchStore::Attempt attempt = action.resets
                                                    ? m_store.reset(StopwatchStore::Wait::briefly)
                                                    : m_store.toggle(action.at, StopwatchStore::Wait::briefly);
        if (attempt.outcome == StopwatchStore::Outcome::busy) {
            break;
        }
        // A failure has already been tried on the file opened afresh; the suite would refuse it forever.
        if (attempt.outcome == StopwatchStore::Outcome::done) {
            m_stored = attempt.state;
        }
        m_waiting.pop_front();
        settled = true;
    }
    if (m_waiting.empty()) {
        m_retry.stop();
    } else if (!m_retry.isActive()) {
        m_retry.start();
    }
    return settled;
}

StopwatchState StopwatchActionQueue::shown() const
{
    StopwatchState state = m_stored;
    for (const Action &action : m_waiting) {
        state = action.resets ? StopwatchState{} : state.toggled(action.at);
    }
    return state;
}
