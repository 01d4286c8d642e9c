#pragma once

#include <cstdint>
#include <optional>

// ICU's Chinese calendar places a few new moons and principal solar terms minutes away from where the
// official Chinese calendar has them. Where one falls within minutes of Beijing midnight, ICU starts a
// lunar month a day early or late, or names the wrong month as the leap month: 417 days between 1901 and
// 2099, among them the Spring Festival of 2027. This table mends those months; everywhere else, ICU stands.
namespace TovikLunarCorrections {

struct LunarDay {
    int month = 0; // 1 to 12
    bool isLeapMonth = false;
    int day = 0; // 1 to 30

    bool operator==(const LunarDay &) const = default;
};

// The official lunar date of one local day, where ICU's differs.
struct Correction {
    LunarDay official;
    // The cyclic year is the one ICU gives for the day this many days away (0: the day itself), which
    // lies in the same official month as the corrected day.
    int yearFromDaysAway = 0;
};

// `julianDay` is the local day's Julian day number, `icu` what ICU's Chinese calendar says of that day.
std::optional<Correction> correction(std::int32_t julianDay, const LunarDay &icu);

} // namespace TovikLunarCorrections
