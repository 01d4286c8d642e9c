#pragma once

#include "Instant.h"

#include <optional>
#include <string>

// The 24 solar terms: the moments the sun's apparent longitude reaches a multiple of 15°, and the civil
// days they mark. A term's day is its day in China Standard Time (UTC+8), as Chinese almanacs reckon it,
// so a date carries the same term in every zone. Computed, not tabulated; right to the day 1901 to 2099.
namespace TovikSolarTerms {

constexpr int termCount = 24;

// 小寒 (0), 大寒 (1), 立春 (2) … 冬至 (23): in the order they fall within a Gregorian year, two a month.
std::optional<std::string> name(int index);

// The moment of term `index` of Gregorian year `year`; none for an index outside 0 to 23.
std::optional<Instant> termInstant(int year, int index);

// The term beginning on the host zone's civil day holding `instant`; none on other days.
std::optional<std::string> termName(Instant instant);

} // namespace TovikSolarTerms
