#include "CalendarWidget.h"

#include "ClockCalendarWidgets.h"
#include "WidgetFactory.h"

#include <ClockCalendarShared/TovikChinaHolidayCalendar.h>
#include <ClockCalendarShared/TovikGregorianCalendar.h>

CalendarWidgetEntry CalendarWidgetProvider::placeholder(const TimelineProviderContext &, Instant now) const
{
    return {now, TovikCalendarGrid::make(now, now), true};
}

CalendarWidgetEntry CalendarWidgetProvider::snapshot(const TimelineProviderContext &context, Instant now) const
{
    return {now, TovikCalendarGrid::make(now, now), context.isPreview};
}

Timeline<CalendarWidgetEntry> CalendarWidgetProvider::timeline(const TimelineProviderContext &, Instant now) const
{
    // Each new timeline, at least one a day, follows holiday files put in place since the last.
    TovikChinaHolidayCalendar::reloadArrangements();
    TovikGregorianCalendar::followHostZone();
    // Today's mark and, at a month's end, the month itself change with the day.
    const std::optional<Instant> tomorrow = TovikGregorianCalendar::addingDays(now, 1);
    const Instant reload = TovikGregorianCalendar::startOfDay(tomorrow.value_or(now));
    return {{{now, TovikCalendarGrid::make(now, now), false}}, TimelineReloadPolicy::atInstant(reload)};
}

namespace ClockCalendarWidgets {

WidgetConfiguration calendar(const std::string &kind, const std::string &displayName, const std::string &openURL)
{
    return makeStaticConfiguration(kind, displayName, "显示当前月份日历", openURL, "CalendarWidgetView",
                                   CalendarWidgetProvider());
}

} // namespace ClockCalendarWidgets
