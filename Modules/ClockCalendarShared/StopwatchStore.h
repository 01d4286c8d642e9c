#pragma once

#include "StopwatchState.h"

#include <Platform/Settings/TovikSettingsStore.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

// Reads and writes the stopwatch in a settings suite that the application and the widget share. Every
// operation re-reads the suite, so neither side keeps a copy that could drift. Without a suite it is inert.
// Given the boot clock, a running stopwatch also stores its start on it, so that setting the wall clock
// (by hand or by NTP) changes no elapsed time until the machine boots again.
class StopwatchStore {
public:
    // The wall clock and the boot clock (CLOCK_BOOTTIME: never set, counts suspend, the same in every
    // process) read at one moment, with the boot they belong to.
    struct ClockReading {
        Instant wall = 0;
        double boot = 0;
        std::string bootId;
    };
    using Clocks = std::function<std::optional<ClockReading>()>;
    // This machine's clocks; none where the boot clock or the boot id cannot be read.
    static std::optional<ClockReading> systemClocks();

    using Wait = TovikSettingsStore::Wait;
    using Outcome = TovikSettingsStore::Outcome;

    // What an action came to: done with the state it stored, or nothing stored because another process
    // held the suite (busy) or the suite could not be written (failed).
    struct Attempt {
        Outcome outcome = Outcome::failed;
        StopwatchState state; // the stored state; the default when nothing was stored
        bool operator==(const Attempt &) const = default;
    };

    StopwatchStore(std::shared_ptr<TovikSettingsStore> defaults, const std::string &keyPrefix,
                   std::function<void()> onChange = {}, Clocks clocks = {});

    StopwatchState load() const;
    // A read that waits only briefly for another process's lock: none when the suite could not be read now.
    std::optional<StopwatchState> tryLoad() const;
    // Without a suite an action returns the state it would have stored, writes nothing and tells nobody.
    Attempt toggle(Instant now, Wait wait = Wait::patiently) const;
    Attempt reset(Wait wait = Wait::patiently) const;
    Attempt save(const StopwatchState &state, Wait wait = Wait::patiently) const;

    const std::shared_ptr<TovikSettingsStore> &defaults() const { return m_defaults; }
    const std::string &accumulatedSecondsKey() const { return m_accumulatedSecondsKey; }
    const std::string &startedAtKey() const { return m_startedAtKey; }

private:
    // Stores what `next` makes of the state (the stored one, read in the same transaction, when `reads`).
    Attempt change(Wait wait, bool reads, const std::function<StopwatchState(const StopwatchState &)> &next) const;
    StopwatchState read(const TovikSettingsStore &suite, const std::optional<ClockReading> &clocks) const;
    void write(TovikSettingsStore &suite, const StopwatchState &state, const std::optional<ClockReading> &clocks) const;
    std::optional<ClockReading> readClocks() const;

    std::shared_ptr<TovikSettingsStore> m_defaults;
    std::string m_accumulatedSecondsKey;
    std::string m_startedAtKey;
    std::string m_startedAtBootTimeKey;
    std::string m_bootIdKey;
    std::function<void()> m_onChange;
    Clocks m_clocks;
};
