#pragma once

#include "DayvaneWidgetStore.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <TovikWidgetKit/WidgetConfiguration.h>

#include <vector>

// The widgets the extension publishes, in the order the host lists them: calendar, clock, stopwatch.
// The stopwatch widget and its buttons work on `store`.
class DayvaneWidgetBundle {
public:
    explicit DayvaneWidgetBundle(const StopwatchStore &store = dayvaneWidgetStopwatchStore());

    std::vector<WidgetConfiguration> body() const;

private:
    StopwatchStore m_store;
};
