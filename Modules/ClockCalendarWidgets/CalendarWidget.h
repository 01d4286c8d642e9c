#pragma once

#include "WidgetTimeline.h"

#include <ClockCalendarShared/Instant.h>
#include <ClockCalendarShared/TovikCalendarGrid.h>

// The calendar widget's data: the current month as the application's calendar page lays it out.
struct CalendarWidgetEntry {
    Instant date = 0;
    TovikCalendarGrid grid;
    bool isGalleryPreview = false;

    bool operator==(const CalendarWidgetEntry &) const = default;
};

class CalendarWidgetProvider {
public:
    CalendarWidgetEntry placeholder(const TimelineProviderContext &context, Instant now) const;
    // In the widget gallery the snapshot is marked as a preview.
    CalendarWidgetEntry snapshot(const TimelineProviderContext &context, Instant now) const;
    // One entry, reloaded at the start of the next day.
    Timeline<CalendarWidgetEntry> timeline(const TimelineProviderContext &context, Instant now) const;
};
