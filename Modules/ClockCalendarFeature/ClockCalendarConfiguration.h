#pragma once

#include <ClockCalendarShared/StopwatchStore.h>
#include <Platform/Settings/TovikSettingsStore.h>

#include <memory>
#include <string>

// What the shell hands the tabbed content: the stopwatch to show, and where the selected tab is kept.
struct ClockCalendarConfiguration {
    StopwatchStore stopwatchStore;
    std::shared_ptr<TovikSettingsStore> preferences;
    std::string selectedTabKey;
};
