#include "Instant.h"

#include <chrono>

Instant currentInstant()
{
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(sinceEpoch).count();
}
