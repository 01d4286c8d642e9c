#pragma once

#include "StopwatchState.h"

#include <functional>
#include <memory>
#include <string>

class TovikSettingsStore;

// Reads and writes the stopwatch in a settings suite that the application and the widget share. Every
// operation re-reads the suite, so neither side keeps a copy that could drift. Without a suite it is inert.
class StopwatchStore {
public:
    StopwatchStore(std::shared_ptr<TovikSettingsStore> defaults, const std::string &keyPrefix,
                   std::function<void()> onChange = {});

    StopwatchState load() const;
    StopwatchState toggle(Instant now) const;
    StopwatchState reset() const;
    void save(const StopwatchState &state) const;

    const std::shared_ptr<TovikSettingsStore> &defaults() const { return m_defaults; }
    const std::string &accumulatedSecondsKey() const { return m_accumulatedSecondsKey; }
    const std::string &startedAtKey() const { return m_startedAtKey; }

    // The one store of each deliverable: the shared suite "K9PZQW41RT.local.tovik.dayvane", prefix
    // "dayvane.stopwatch", reloading the stopwatch widget after every write. Defined in DayvaneCore.
    static const StopwatchStore &dayvane();

private:
    void write(TovikSettingsStore &suite, const StopwatchState &state) const;
    void notify() const;

    std::shared_ptr<TovikSettingsStore> m_defaults;
    std::string m_accumulatedSecondsKey;
    std::string m_startedAtKey;
    std::function<void()> m_onChange;
};
