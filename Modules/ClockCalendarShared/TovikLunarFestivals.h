#pragma once

#include "Instant.h"

#include <optional>
#include <string>

// The traditional festivals that fall on a lunar date (春节, 端午节, 中秋节, 除夕 …). A leap month's days
// carry none; 清明 is a solar term (TovikSolarTerms), not one of these.
namespace TovikLunarFestivals {

// The festival on the civil day holding `instant` (the month grid's zone); none on other days.
std::optional<std::string> festivalName(Instant instant);

} // namespace TovikLunarFestivals
