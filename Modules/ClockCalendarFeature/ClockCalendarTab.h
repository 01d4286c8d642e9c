#pragma once

#include <optional>

// The three pages of the main window; the integer is what is persisted and what indexes the segments.
enum class ClockCalendarTab { clock = 0, calendar = 1, stopwatch = 2 };

inline std::optional<ClockCalendarTab> clockCalendarTabFromRawValue(long long raw)
{
    if (raw < 0 || raw > 2) {
        return std::nullopt;
    }
    return static_cast<ClockCalendarTab>(raw);
}
