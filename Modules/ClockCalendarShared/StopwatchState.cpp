#include "StopwatchState.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

double StopwatchState::elapsed(Instant now) const
{
    double run = 0;
    if (startedAt) {
        run = now - *startedAt;
        // A start in the future counts nothing; so does a start or "now" that is not a number.
        if (!(run >= 0)) {
            run = 0;
        }
    }
    const double total = accumulatedSeconds + run;
    return total >= 0 ? total : 0;
}

std::string StopwatchState::elapsedText(Instant now) const
{
    // 2^63 is exactly representable: anything at or beyond it (or infinite) has no int64 whole seconds
    // and reads as the largest count that has, so the text stays "%02d:%02d:%02d"-shaped.
    constexpr double firstBeyondInt64 = 9223372036854775808.0;
    const double total = elapsed(now);
    const std::int64_t seconds = total < firstBeyondInt64 ? static_cast<std::int64_t>(std::floor(total))
                                                          : std::numeric_limits<std::int64_t>::max();
    char text[64];
    std::snprintf(text, sizeof text, "%02" PRId64 ":%02" PRId64 ":%02" PRId64, seconds / 3600, seconds % 3600 / 60,
                  seconds % 60);
    return text;
}

StopwatchState StopwatchState::toggled(Instant now) const
{
    if (!startedAt) {
        return {accumulatedSeconds, now};
    }
    return {std::max(0.0, accumulatedSeconds + std::max(0.0, now - *startedAt)), std::nullopt};
}
