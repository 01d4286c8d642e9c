// Any text given as a holiday file: the parser never crashes, and what it accepts keeps the promises the
// calendar relies on (days near their year, makeup workdays on weekends, every name present).
#include <ClockCalendarShared/TovikCivilDays.h>
#include <ClockCalendarShared/TovikHolidayArrangement.h>

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto result = TovikHolidayArrangement::parse(text, 2028);
    if (const auto *arrangement = std::get_if<TovikHolidayArrangement>(&result)) {
        for (const auto &[key, day] : arrangement->daysByKey) {
            const int year = key / 10000;
            const int month = key / 100 % 100;
            const int weekday = TovikCivilDays::weekdayOfDays(TovikCivilDays::daysFromCivil(year, month, key % 100));
            if (day.name.empty() || year < 2027 || year > 2029 || (year == 2027 && month != 12)
                || (year == 2029 && month != 1) || (!day.isOffDay && weekday != 1 && weekday != 7)) {
                std::abort();
            }
        }
    } else if (std::get<std::string>(result).empty()) {
        std::abort();
    }
    return 0;
}
