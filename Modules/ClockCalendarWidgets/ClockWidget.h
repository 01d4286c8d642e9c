#pragma once

#include "WidgetTimeline.h"

#include <ClockCalendarShared/Instant.h>

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
