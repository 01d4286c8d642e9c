#include "StopwatchStore.h"

#include <Platform/Settings/TovikSettingsStore.h>

#include <algorithm>
#include <cmath>

StopwatchStore::StopwatchStore(std::shared_ptr<TovikSettingsStore> defaults, const std::string &keyPrefix,
                               std::function<void()> onChange)
    : m_defaults(std::move(defaults))
    , m_accumulatedSecondsKey(keyPrefix + ".accumulatedSeconds")
    , m_startedAtKey(keyPrefix + ".startedAt")
    , m_onChange(std::move(onChange))
{
}

StopwatchState StopwatchStore::load() const
{
    StopwatchState state;
    if (!m_defaults) {
        return state;
    }
    // One read transaction: a concurrent toggle is seen whole or not at all.
    m_defaults->snapshot([&](const TovikSettingsStore &suite) {
        const double accumulated = suite.number(m_accumulatedSecondsKey).value_or(0);
        state.accumulatedSeconds = std::isfinite(accumulated) && accumulated > 0 ? accumulated : 0;
        // A start that is not a finite number cannot be counted from; the stopwatch reads as paused.
        if (const std::optional<double> started = suite.number(m_startedAtKey); started && std::isfinite(*started)) {
            state.startedAt = *started;
        }
    });
    return state;
}

StopwatchState StopwatchStore::toggle(Instant now) const
{
    StopwatchState state;
    if (!m_defaults) {
        state.startedAt = now;
        return state;
    }
    // Read and write under one write lock, so a toggle from the other process is never lost.
    const bool committed = m_defaults->transaction([&](TovikSettingsStore &suite) {
        state = load();
        if (!state.startedAt) {
            state.startedAt = now;
        } else {
            const double run = std::max(0.0, now - *state.startedAt);
            state.accumulatedSeconds = std::max(0.0, state.accumulatedSeconds + run);
            state.startedAt.reset();
        }
        write(suite, state);
    });
    if (!committed) {
        return load();
    }
    notify();
    return state;
}

StopwatchState StopwatchStore::reset() const
{
    const StopwatchState state;
    save(state);
    return state;
}

void StopwatchStore::save(const StopwatchState &state) const
{
    if (m_defaults && m_defaults->transaction([&](TovikSettingsStore &suite) { write(suite, state); })) {
        notify();
    }
}

void StopwatchStore::write(TovikSettingsStore &suite, const StopwatchState &state) const
{
    suite.set(m_accumulatedSecondsKey, state.accumulatedSeconds);
    if (state.startedAt) {
        suite.set(m_startedAtKey, *state.startedAt);
    } else {
        suite.remove(m_startedAtKey);
    }
}

void StopwatchStore::notify() const
{
    if (m_onChange) {
        m_onChange();
    }
}
