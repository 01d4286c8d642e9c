#pragma once

#include <ClockCalendarShared/Instant.h>
#include <ClockCalendarShared/StopwatchState.h>
#include <ClockCalendarShared/StopwatchStore.h>
#include <TovikWidgetKit/WidgetTimeline.h>

// The stopwatch widget's data: the shared stopwatch as read at `date`.
struct StopwatchWidgetEntry {
    Instant date = 0;
    StopwatchState state;
    bool isGalleryPreview = false;

    bool operator==(const StopwatchWidgetEntry &) const = default;
};

class StopwatchWidgetProvider {
public:
    explicit StopwatchWidgetProvider(StopwatchStore store);

    StopwatchWidgetEntry placeholder(const TimelineProviderContext &context, Instant now) const;
    StopwatchWidgetEntry snapshot(const TimelineProviderContext &context, Instant now) const;
    // One entry; a paused stopwatch waits for the store's reload request, a running one comes back when
    // the elapsed time gains a digit.
    Timeline<StopwatchWidgetEntry> timeline(const TimelineProviderContext &context, Instant now) const;

private:
    static Instant nextPrefixChange(Instant now, const StopwatchState &state);

    StopwatchStore m_store;
};
