#pragma once

#include <ClockCalendarWidgets/ClockCalendarWidgetEntry.h>
#include <TovikWidgetKit/WidgetEntry.h>

#include <gtest/gtest.h>

// The entry one of the three widgets wrapped for the host; the test fails where it is not one of theirs.
inline ClockCalendarWidgetEntry typedEntry(const WidgetEntry &entry)
{
    const auto *value = entry.as<ClockCalendarWidgetEntry>();
    EXPECT_NE(value, nullptr);
    return value ? *value : ClockCalendarWidgetEntry();
}
