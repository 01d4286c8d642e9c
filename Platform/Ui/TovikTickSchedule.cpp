#include "TovikTickSchedule.h"

#include <algorithm>
#include <cmath>

namespace TovikTickSchedule {

int msUntilNextWholeSecond(double reading)
{
    if (!std::isfinite(reading)) {
        return 1000;
    }
    return msUntil(reading, std::floor(reading) + 1);
}

int msUntil(double now, double next)
{
    constexpr double day = 86400000;
    const double ms = std::ceil((next - now) * 1000);
    if (!(ms >= 0)) {
        return 0;
    }
    return static_cast<int>(std::min(ms, day));
}

} // namespace TovikTickSchedule
