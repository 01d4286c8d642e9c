#include "CalendarWidget.h"

#include "ClockCalendarWidgets.h"
#include "WidgetFactory.h"

#include <ClockCalendarShared/TovikChinaHolidayCalendar.h>
#include <ClockCalendarShared/TovikGregorianCalendar.h>

CalendarWidgetProvider::CalendarWidgetProvider(std::function<bool()> showsLunar)
    : m_showsLunar(std::move(showsLunar))
{
}

CalendarWidgetEntry CalendarWidgetProvider::entry(Instant now, bool isGalleryPreview) const
{
    return {now, TovikCalendarGrid::make(now, now), isGalleryPreview, m_showsLunar && m_showsLunar()};
}

CalendarWidgetEntry CalendarWidgetProvider::placeholder(const TimelineProviderContext &, Instant now) const
{
    return entry(now, true);
}

CalendarWidgetEntry CalendarWidgetProvider::snapshot(const TimelineProviderContext &context, Instant now) const
{
    return entry(now, context.isPreview);
}

Timeline<CalendarWidgetEntry> CalendarWidgetProvider::timeline(const TimelineProviderContext &, Instant now) const
{
    // Each new timeline, at least one a day, follows holiday files put in place since the last.
    TovikChinaHolidayCalendar::reloadArrangements();
    TovikGregorianCalendar::followHostZone();
    // Today's mark and, at a month's end, the month itself change with the day.
    const std::optional<Instant> tomorrow = TovikGregorianCalendar::addingDays(now, 1);
    const Instant reload = TovikGregorianCalendar::startOfDay(tomorrow.value_or(now));
    return {{entry(now, false)}, TimelineReloadPolicy::atInstant(reload)};
}

namespace ClockCalendarWidgets {

WidgetConfiguration calendar(const std::string &kind, const std::string &displayName, const std::string &openURL,
                             std::function<bool()> showsLunar)
{
    return makeStaticConfiguration(kind, displayName, "显示当前月份日历", openURL, "CalendarWidgetView",
                                   CalendarWidgetProvider(std::move(showsLunar)));
}

} // namespace ClockCalendarWidgets
