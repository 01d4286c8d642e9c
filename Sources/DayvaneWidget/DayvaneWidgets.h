#pragma once

#include <ClockCalendarShared/StopwatchStore.h>
#include <TovikWidgetKit/WidgetConfiguration.h>

// The extension's three widgets, each its kind and its configuration; clicking one opens the matching
// page of the application through its deep link.

struct DayvaneCalendarWidget {
    static constexpr const char *kind = "DayvaneCalendarWidget";
    static WidgetConfiguration body();
};

struct DayvaneClockWidget {
    static constexpr const char *kind = "DayvaneClockWidget";
    static WidgetConfiguration body();
};

// Its buttons toggle and reset the stopwatch in `store`, which its timeline reads.
struct DayvaneStopwatchWidget {
    static constexpr const char *kind = "DayvaneStopwatchWidget";
    static WidgetConfiguration body(const StopwatchStore &store);
};
