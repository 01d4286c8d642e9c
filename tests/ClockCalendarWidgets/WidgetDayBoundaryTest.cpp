#include "ZonePin.h"

#include <ClockCalendarShared/TovikCalendarGrid.h>
#include <ClockCalendarWidgets/CalendarWidget.h>
#include <ClockCalendarWidgets/ClockWidget.h>

#include <gtest/gtest.h>

// The clock and the calendar widget come back when the day changes in Beijing time.
namespace {

const bool zonePinned = pinZone("Asia/Shanghai");

const TimelineProviderContext home{WidgetFamily::systemMedium, false};
const TimelineProviderContext gallery{WidgetFamily::systemSmall, true};

struct DayCase {
    const char *name;
    Instant now;
    Instant reload;
};

const DayCase dayCases[] = {
    {"noon", instantAt(2026, 2, 15, 12, 0), instantAt(2026, 2, 16, 0, 0)},
    {"midnight itself", instantAt(2026, 2, 15, 0, 0), instantAt(2026, 2, 16, 0, 0)},
    {"last second", instantAt(2026, 2, 15, 23, 59) + 59, instantAt(2026, 2, 16, 0, 0)},
    {"end of February", instantAt(2026, 2, 28, 23, 59) + 59, instantAt(2026, 3, 1, 0, 0)},
    {"leap day", instantAt(2028, 2, 29, 8, 30), instantAt(2028, 3, 1, 0, 0)},
    {"end of the year", instantAt(2026, 12, 31, 23, 0), instantAt(2027, 1, 1, 0, 0)},
    {"just after midnight UTC", instantAt(2026, 6, 1, 8, 0) + 1, instantAt(2026, 6, 2, 0, 0)},
};

TEST(WidgetDayBoundary, ClockReloadsAtTheNextLocalMidnight)
{
    for (const DayCase &c : dayCases) {
        const Timeline<ClockWidgetEntry> timeline = ClockWidgetProvider().timeline(home, c.now);
        ASSERT_EQ(timeline.entries.size(), 1u) << c.name;
        EXPECT_EQ(timeline.entries[0], (ClockWidgetEntry{c.now, false})) << c.name;
        EXPECT_EQ(timeline.policy.after, c.reload) << c.name;
    }
}

TEST(WidgetDayBoundary, CalendarReloadsAtTheStartOfTomorrow)
{
    for (const DayCase &c : dayCases) {
        const Timeline<CalendarWidgetEntry> timeline = CalendarWidgetProvider().timeline(home, c.now);
        ASSERT_EQ(timeline.entries.size(), 1u) << c.name;
        EXPECT_EQ(timeline.entries[0].date, c.now) << c.name;
        EXPECT_FALSE(timeline.entries[0].isGalleryPreview) << c.name;
        EXPECT_EQ(timeline.entries[0].grid, TovikCalendarGrid::make(c.now, c.now)) << c.name;
        EXPECT_EQ(timeline.policy.after, c.reload) << c.name;
    }
}

TEST(WidgetDayBoundary, CalendarEntryAtTheReloadShowsTheNewMonth)
{
    const Instant lastSecond = instantAt(2026, 2, 28, 23, 59) + 59;
    const CalendarWidgetProvider provider;
    const Timeline<CalendarWidgetEntry> february = provider.timeline(home, lastSecond);
    EXPECT_EQ(february.entries[0].grid.monthName, "2月");
    // 15 February 2026 sits at 20 since February starts on a Sunday; the 28th at 33.
    EXPECT_EQ(february.entries[0].grid.todayIndex, 33);

    const Timeline<CalendarWidgetEntry> march = provider.timeline(home, *february.policy.after);
    EXPECT_EQ(march.entries[0].grid.monthName, "3月");
    EXPECT_EQ(march.entries[0].grid.yearText, "2026年");
    EXPECT_EQ(march.entries[0].grid.todayIndex, 6);
    EXPECT_EQ(march.entries[0].grid.weekRowCount(), 6);
    EXPECT_EQ(march.policy.after, instantAt(2026, 3, 2, 0, 0));
}

TEST(WidgetDayBoundary, CalendarGridCarriesTheSharedMarks)
{
    const Instant now = instantAt(2026, 2, 15, 9, 0);
    const CalendarWidgetEntry entry = CalendarWidgetProvider().timeline(home, now).entries[0];
    EXPECT_EQ(entry.grid, TovikCalendarGrid::make(now, now));
    EXPECT_EQ(entry.grid.todayIndex, 20);
    EXPECT_TRUE(entry.grid.cells[20].isToday);
    EXPECT_TRUE(entry.grid.cells[20].holidayName.has_value());
    EXPECT_TRUE(entry.grid.cells[19].isMakeupWorkday); // Saturday 14 February is worked
}

TEST(WidgetDayBoundary, PlaceholdersAndSnapshotsMarkTheGalleryAsTheWidgetsDo)
{
    const Instant now = instantAt(2026, 7, 1, 10, 0);
    EXPECT_EQ(ClockWidgetProvider().placeholder(home, now), (ClockWidgetEntry{now, true}));
    EXPECT_EQ(ClockWidgetProvider().snapshot(home, now), (ClockWidgetEntry{now, false}));
    // The clock stays live in the gallery; the calendar shows its card there.
    EXPECT_EQ(ClockWidgetProvider().snapshot(gallery, now), (ClockWidgetEntry{now, false}));

    const TovikCalendarGrid july = TovikCalendarGrid::make(now, now);
    EXPECT_EQ(CalendarWidgetProvider().placeholder(home, now), (CalendarWidgetEntry{now, july, true}));
    EXPECT_EQ(CalendarWidgetProvider().snapshot(home, now), (CalendarWidgetEntry{now, july, false}));
    EXPECT_EQ(CalendarWidgetProvider().snapshot(gallery, now), (CalendarWidgetEntry{now, july, true}));
}

} // namespace
