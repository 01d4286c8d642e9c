#include "ZonePin.h"

#include <ClockCalendarShared/TovikGregorianCalendar.h>
#include <ClockCalendarWidgets/ClockWidget.h>

#include <gtest/gtest.h>

// The clock widget's running time is the wall time of day, hour included, on ordinary days and on the days
// the clocks change.
namespace {

struct Reading {
    const char *zone;
    Instant at;
    const char *text;
};

TEST(ClockWidgetTimeText, ShowsTheWallTimeOfDayWithItsHour)
{
    // Los Angeles: summer time from 2026-03-08 02:00 (UTC-8 to UTC-7), back on 2026-11-01 02:00.
    const Reading readings[] = {
        {"Asia/Shanghai", instantAt(2026, 12, 8, 0, 30) + 5, "0:30:05"},
        {"Asia/Shanghai", instantAt(2026, 12, 8, 0, 0), "0:00:00"},
        {"Asia/Shanghai", instantAt(2026, 10, 1, 9, 5) + 3, "9:05:03"},
        {"Asia/Shanghai", instantAt(2026, 10, 1, 10, 0), "10:00:00"},
        {"Asia/Shanghai", instantAt(2026, 10, 2, 0, 0) - 1, "23:59:59"},
        {"America/Los_Angeles", instantAt(2026, 3, 8, 1, 59, -8) + 59, "1:59:59"},
        {"America/Los_Angeles", instantAt(2026, 3, 8, 3, 0, -7), "3:00:00"},
        {"America/Los_Angeles", instantAt(2026, 3, 8, 10, 0, -7) + 23, "10:00:23"},
        {"America/Los_Angeles", instantAt(2026, 11, 1, 1, 30, -7), "1:30:00"},
        {"America/Los_Angeles", instantAt(2026, 11, 1, 1, 30, -8), "1:30:00"},
        {"America/Los_Angeles", instantAt(2026, 11, 1, 10, 0, -8), "10:00:00"},
        {"America/Los_Angeles", instantAt(2026, 11, 1, 0, 30, -7), "0:30:00"},
    };
    for (const Reading &reading : readings) {
        pinZone(reading.zone);
        TovikGregorianCalendar::followHostZone();
        EXPECT_EQ(clockWidgetTimeText(reading.at), reading.text) << reading.zone << " " << reading.at;
    }
}

} // namespace
