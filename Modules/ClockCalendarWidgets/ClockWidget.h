#pragma once

#include <ClockCalendarShared/Instant.h>
#include <TovikWidgetKit/WidgetTimeline.h>

#include <string>

// The clock widget's data: the instant it stands for. The view counts the seconds itself, so a timeline
// only has to change with the day.
struct ClockWidgetEntry {
    Instant date = 0;
    bool isGalleryPreview = false;

    bool operator==(const ClockWidgetEntry &) const = default;
};

class ClockWidgetProvider {
public:
    ClockWidgetEntry placeholder(const TimelineProviderContext &context, Instant now) const;
    ClockWidgetEntry snapshot(const TimelineProviderContext &context, Instant now) const;
    // One entry, reloaded after the next local midnight.
    Timeline<ClockWidgetEntry> timeline(const TimelineProviderContext &context, Instant now) const;
};

// The clock's live text at `now`: the wall time of day in the host zone, H:MM:SS before ten o'clock and
// HH:MM:SS from then on. Read from the wall clock rather than counted from midnight, so that the hour is
// right on the days the clocks change.
std::string clockWidgetTimeText(Instant now);
