#include "ZonePin.h"

#include <ClockCalendarWidgets/CalendarWidget.h>
#include <ClockCalendarWidgets/ClockWidget.h>

#include <gtest/gtest.h>

// In São Paulo 2018-11-04 began at 01:00 (summer time skipped midnight) and 2019-02-16 lasted 25 hours:
// the day still changes at the first instant of the next day, neither a day early nor an hour late.
namespace {

const bool zonePinned = pinZone("America/Sao_Paulo");

const TimelineProviderContext home{WidgetFamily::systemLarge, false};

struct DayCase {
    const char *name;
    Instant now;
    Instant reload;
};

const DayCase dayCases[] = {
    {"eve of the skipped midnight", instantAt(2018, 11, 3, 12, 0, -3), instantAt(2018, 11, 4, 1, 0, -2)},
    {"first hour after the gap", instantAt(2018, 11, 4, 1, 30, -2), instantAt(2018, 11, 5, 0, 0, -2)},
    {"day after the gap", instantAt(2018, 11, 4, 23, 0, -2), instantAt(2018, 11, 5, 0, 0, -2)},
    {"first 23:30 of the long day", instantAt(2019, 2, 16, 23, 30, -2), instantAt(2019, 2, 17, 0, 0, -3)},
    {"second 23:30 of the long day", instantAt(2019, 2, 16, 23, 30, -3), instantAt(2019, 2, 17, 0, 0, -3)},
};

TEST(SkippedMidnightTimeline, ClockAndCalendarReloadAtTheFirstInstantOfTomorrow)
{
    for (const DayCase &c : dayCases) {
        EXPECT_EQ(ClockWidgetProvider().timeline(home, c.now).policy.after, c.reload) << c.name;
        EXPECT_EQ(CalendarWidgetProvider().timeline(home, c.now).policy.after, c.reload) << c.name;
    }
}

} // namespace
