#pragma once

#include <ClockCalendarShared/Instant.h>
#include <ClockCalendarShared/TovikCalendarGrid.h>
#include <TovikWidgetKit/WidgetTimeline.h>

#include <functional>

// The calendar widget's data: the current month as the application's calendar page lays it out.
struct CalendarWidgetEntry {
    Instant date = 0;
    TovikCalendarGrid grid;
    bool isGalleryPreview = false;
    bool showsLunar = false; // the large family writes the lunar captions under the days

    bool operator==(const CalendarWidgetEntry &) const = default;
};

class CalendarWidgetProvider {
public:
    // `showsLunar` answers the application's switch as each entry is made; none means off.
    explicit CalendarWidgetProvider(std::function<bool()> showsLunar = {});

    CalendarWidgetEntry placeholder(const TimelineProviderContext &context, Instant now) const;
    // In the widget gallery the snapshot is marked as a preview.
    CalendarWidgetEntry snapshot(const TimelineProviderContext &context, Instant now) const;
    // One entry, reloaded at the start of the next day.
    Timeline<CalendarWidgetEntry> timeline(const TimelineProviderContext &context, Instant now) const;

private:
    CalendarWidgetEntry entry(Instant now, bool isGalleryPreview) const;

    std::function<bool()> m_showsLunar;
};
