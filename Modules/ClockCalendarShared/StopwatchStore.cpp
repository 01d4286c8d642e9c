#include "StopwatchStore.h"

#include <cmath>
#include <ctime>
#include <fstream>

namespace {

// Under this the wall and boot clocks differ by their drift alone; beyond it the wall clock was set.
constexpr double wallClockStep = 0.5;

double secondsOf(clockid_t clock)
{
    timespec now{};
    ::clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace

std::optional<StopwatchStore::ClockReading> StopwatchStore::systemClocks()
{
    static const std::string bootId = [] {
        std::string id;
        std::getline(std::ifstream("/proc/sys/kernel/random/boot_id"), id);
        return id;
    }();
    if (bootId.empty()) {
        return std::nullopt;
    }
    return ClockReading{secondsOf(CLOCK_REALTIME), secondsOf(CLOCK_BOOTTIME), bootId};
}

StopwatchStore::StopwatchStore(std::shared_ptr<TovikSettingsStore> defaults, const std::string &keyPrefix,
                               std::function<void()> onChange, Clocks clocks)
    : m_defaults(std::move(defaults))
    , m_accumulatedSecondsKey(keyPrefix + ".accumulatedSeconds")
    , m_startedAtKey(keyPrefix + ".startedAt")
    , m_startedAtBootTimeKey(keyPrefix + ".startedAtBootTime")
    , m_bootIdKey(keyPrefix + ".bootId")
    , m_onChange(std::move(onChange))
    , m_clocks(std::move(clocks))
{
}

std::optional<StopwatchStore::ClockReading> StopwatchStore::readClocks() const
{
    return m_clocks ? m_clocks() : std::nullopt;
}

StopwatchState StopwatchStore::read(const TovikSettingsStore &suite, const std::optional<ClockReading> &clocks) const
{
    StopwatchState state;
    const double accumulated = suite.number(m_accumulatedSecondsKey).value_or(0);
    state.accumulatedSeconds = std::isfinite(accumulated) && accumulated > 0 ? accumulated : 0;
    // A start that is not a finite number cannot be counted from; the stopwatch reads as paused.
    if (const std::optional<double> started = suite.number(m_startedAtKey); started && std::isfinite(*started)) {
        state.startedAt = *started;
    }
    // Within the boot that started it, the run is measured on the boot clock and given as the wall instant it
    // began at by the wall clock as it reads now. After a reboot (or from a build that stored no boot start)
    // the wall clock is all there is.
    const std::optional<double> bootStart = clocks ? suite.number(m_startedAtBootTimeKey) : std::nullopt;
    if (state.startedAt && bootStart && std::isfinite(*bootStart) && suite.text(m_bootIdKey) == clocks->bootId) {
        const Instant startedByBootClock = clocks->wall - (clocks->boot - *bootStart);
        if (std::abs(startedByBootClock - *state.startedAt) >= wallClockStep) {
            state.startedAt = startedByBootClock;
        }
    }
    return state;
}

StopwatchState StopwatchStore::load() const
{
    StopwatchState state;
    if (m_defaults) {
        // One read transaction: a concurrent toggle is seen whole or not at all.
        m_defaults->snapshot([&](const TovikSettingsStore &suite) { state = read(suite, readClocks()); });
    }
    return state;
}

std::optional<StopwatchState> StopwatchStore::tryLoad() const
{
    StopwatchState state;
    if (m_defaults
        && m_defaults->snapshot([&](const TovikSettingsStore &suite) { state = read(suite, readClocks()); },
                                Wait::briefly)
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
            const std::optional<ClockReading> clocks = readClocks();
            state = next(reads ? read(suite, clocks) : StopwatchState{});
            write(suite, state, clocks);
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

void StopwatchStore::write(TovikSettingsStore &suite, const StopwatchState &state,
                           const std::optional<ClockReading> &clocks) const
{
    suite.set(m_accumulatedSecondsKey, state.accumulatedSeconds);
    if (state.startedAt) {
        suite.set(m_startedAtKey, *state.startedAt);
    } else {
        suite.remove(m_startedAtKey);
    }
    if (state.startedAt && clocks) {
        suite.set(m_startedAtBootTimeKey, clocks->boot - (clocks->wall - *state.startedAt));
        suite.set(m_bootIdKey, clocks->bootId);
    } else {
        suite.remove(m_startedAtBootTimeKey);
        suite.remove(m_bootIdKey);
    }
}
