#pragma once

#include <ClockCalendarShared/StopwatchStore.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/Ui/TovikClock.h>

#include <memory>
#include <string>

// What the shell hands the tabbed content: the clock its pages read, the stopwatch to show, and where the
// selected tab is kept.
struct ClockCalendarConfiguration {
    const TovikClock &clock;
    StopwatchStore stopwatchStore;
    std::shared_ptr<TovikSettingsStore> preferences;
    std::string selectedTabKey;
};
