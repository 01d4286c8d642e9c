#include "ClockWidget.h"

#include "ClockCalendarWidgets.h"
#include "WidgetFactory.h"

#include <ClockCalendarShared/TovikGregorianCalendar.h>

#include <cstdio>

ClockWidgetEntry ClockWidgetProvider::placeholder(const TimelineProviderContext &, Instant now) const
{
    return {now, true};
}

// Live even in the gallery: the clock reads well there as it is.
ClockWidgetEntry ClockWidgetProvider::snapshot(const TimelineProviderContext &, Instant now) const
{
    return {now, false};
}

Timeline<ClockWidgetEntry> ClockWidgetProvider::timeline(const TimelineProviderContext &, Instant now) const
{
    // A zone changed since the last timeline gives today's date in the new one.
    TovikGregorianCalendar::followHostZone();
    // The date and the lunar subtitle are fixed in the entry; the time of day counts on by itself. Where
    // today began late (a skipped midnight), today's start plus one day keeps that late hour, so the start
    // of the day it lands in is taken.
    const std::optional<Instant> tomorrow =
        TovikGregorianCalendar::addingDays(TovikGregorianCalendar::startOfDay(now), 1);
    const Instant nextMidnight = tomorrow ? TovikGregorianCalendar::startOfDay(*tomorrow) : now + 86400;
    return {{{now, false}}, TimelineReloadPolicy::atInstant(nextMidnight)};
}

std::string clockWidgetTimeText(Instant now)
{
    const TovikGregorianCalendar::TimeOfDay time = TovikGregorianCalendar::timeOfDay(now);
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", time.hour, time.minute, time.second);
    return text;
}

namespace ClockCalendarWidgets {

WidgetConfiguration clock(const std::string &kind, const std::string &displayName, const std::string &openURL,
                          std::shared_ptr<const AppIntent> openIntent)
{
    WidgetConfiguration configuration =
        makeStaticConfiguration(kind, displayName, "显示当前日期、时、分、秒，以及今日农历与星期", openURL,
                                "ClockWidgetView", ClockWidgetProvider());
    if (openIntent) {
        configuration.intents.emplace("openIntent", std::move(openIntent));
    }
    return configuration;
}

} // namespace ClockCalendarWidgets
