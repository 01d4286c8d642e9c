#pragma once

#include "Instant.h"

#include <optional>
#include <string>

// The one stopwatch's value: time gathered by finished runs plus the start of the running one.
struct StopwatchState {
    double accumulatedSeconds = 0;
    std::optional<Instant> startedAt;

    bool isRunning() const { return startedAt.has_value(); }
    double elapsed(Instant now) const;
    // "%02d:%02d:%02d" of whole hours, minutes and seconds; hours are not capped (100:00:00). Whole seconds
    // beyond a signed 64-bit count read as the largest such count (2562047788015215:30:07).
    std::string elapsedText(Instant now) const;
    // What a toggle at `now` makes of this state: a paused stopwatch starts, a running one pauses and keeps
    // the run (a clock that went back adds nothing).
    StopwatchState toggled(Instant now) const;

    bool operator==(const StopwatchState &) const = default;
};
