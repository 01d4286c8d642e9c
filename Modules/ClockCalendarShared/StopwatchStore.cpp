#include "StopwatchStore.h"

#include <cmath>

StopwatchStore::StopwatchStore(std::shared_ptr<TovikSettingsStore> defaults, const std::string &keyPrefix,
                               std::function<void()> onChange)
    : m_defaults(std::move(defaults))
    , m_accumulatedSecondsKey(keyPrefix + ".accumulatedSeconds")
    , m_startedAtKey(keyPrefix + ".startedAt")
    , m_onChange(std::move(onChange))
{
}

StopwatchState StopwatchStore::read(const TovikSettingsStore &suite) const
{
    StopwatchState state;
    const double accumulated = suite.number(m_accumulatedSecondsKey).value_or(0);
    state.accumulatedSeconds = std::isfinite(accumulated) && accumulated > 0 ? accumulated : 0;
    // A start that is not a finite number cannot be counted from; the stopwatch reads as paused.
    if (const std::optional<double> started = suite.number(m_startedAtKey); started && std::isfinite(*started)) {
        state.startedAt = *started;
    }
    return state;
}

StopwatchState StopwatchStore::load() const
{
    StopwatchState state;
    if (m_defaults) {
        // One read transaction: a concurrent toggle is seen whole or not at all.
        m_defaults->snapshot([&](const TovikSettingsStore &suite) { state = read(suite); });
    }
    return state;
}

std::optional<StopwatchState> StopwatchStore::tryLoad() const
{
    StopwatchState state;
    if (m_defaults
        && m_defaults->snapshot([&](const TovikSettingsStore &suite) { state = read(suite); }, Wait::briefly)
               != Outcome::done) {
        return std::nullopt;
    }
    return state;
}

StopwatchStore::Attempt StopwatchStore::toggle(Instant now, Wait wait) const
{
    return change(wait, true, [now](const StopwatchState &stored) { return stored.toggled(now); });
}

StopwatchStore::Attempt StopwatchStore::reset(Wait wait) const
{
    // The previous contents do not matter, so they are not read.
    return change(wait, false, [](const StopwatchState &) { return StopwatchState{}; });
}

StopwatchStore::Attempt StopwatchStore::save(const StopwatchState &state, Wait wait) const
{
    return change(wait, false, [&state](const StopwatchState &) { return state; });
}

StopwatchStore::Attempt StopwatchStore::change(Wait wait, bool reads,
                                               const std::function<StopwatchState(const StopwatchState &)> &next) const
{
    if (!m_defaults) {
        return {Outcome::done, next(StopwatchState{})};
    }
    StopwatchState state;
    // Read and write under one write lock, so a toggle from the other process is never lost.
    const Outcome outcome = m_defaults->transaction(
        [&](TovikSettingsStore &suite) {
            state = next(reads ? read(suite) : StopwatchState{});
            write(suite, state);
        },
        wait);
    if (outcome != Outcome::done) {
        return {outcome, StopwatchState{}};
    }
    if (m_onChange) {
        m_onChange();
    }
    return {outcome, state};
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
