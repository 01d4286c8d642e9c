#include "TovikChinaHolidayCalendar.h"

#include "TovikCivilDays.h"
#include "TovikHolidayArrangement.h"
#include "TovikHolidayFiles.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace TovikChinaHolidayCalendar {
namespace {

struct HolidayRange {
    TovikGregorianCalendar::YearMonthDay first;
    TovikGregorianCalendar::YearMonthDay last;
    const char *name;
};

constexpr HolidayRange holidayRanges[] = {
    {{2026, 1, 1}, {2026, 1, 3}, "元旦"},     {{2026, 2, 15}, {2026, 2, 23}, "春节"},
    {{2026, 4, 4}, {2026, 4, 6}, "清明节"},   {{2026, 5, 1}, {2026, 5, 5}, "劳动节"},
    {{2026, 6, 19}, {2026, 6, 21}, "端午节"}, {{2026, 9, 25}, {2026, 9, 27}, "中秋节"},
    {{2026, 10, 1}, {2026, 10, 7}, "国庆节"}, {{2027, 1, 1}, {2027, 1, 1}, "元旦"},
    {{2027, 2, 5}, {2027, 2, 8}, "春节"},     {{2027, 4, 5}, {2027, 4, 5}, "清明节"},
    {{2027, 5, 1}, {2027, 5, 2}, "劳动节"},   {{2027, 6, 9}, {2027, 6, 9}, "端午节"},
    {{2027, 9, 15}, {2027, 9, 15}, "中秋节"}, {{2027, 10, 1}, {2027, 10, 3}, "国庆节"},
};

constexpr TovikGregorianCalendar::YearMonthDay makeupWorkdays[] = {
    {2026, 1, 4}, {2026, 2, 14}, {2026, 2, 28}, {2026, 5, 9}, {2026, 9, 20}, {2026, 10, 10},
};

using Arrangement = std::shared_ptr<const TovikHolidayArrangement>;

int keyOf(const TovikGregorianCalendar::YearMonthDay &day)
{
    return TovikCivilDays::dayKey(day.year, day.month, day.day);
}

// The tables compiled in, in the same form as a file's.
std::unordered_map<int, Arrangement> builtInArrangements()
{
    std::unordered_map<int, std::shared_ptr<TovikHolidayArrangement>> years;
    const auto yearTable = [&years](int year) -> TovikHolidayArrangement & {
        auto &table = years[year];
        if (!table) {
            table = std::make_shared<TovikHolidayArrangement>();
            table->year = year;
        }
        return *table;
    };
    for (const HolidayRange &range : holidayRanges) {
        const auto first = TovikCivilDays::daysFromCivil(range.first.year, range.first.month, range.first.day);
        const auto last = TovikCivilDays::daysFromCivil(range.last.year, range.last.month, range.last.day);
        for (auto day = first; day <= last; ++day) {
            const auto civil = TovikCivilDays::civilFromDays(day);
            yearTable(civil.year).daysByKey[TovikCivilDays::dayKey(civil.year, civil.month, civil.day)] = {range.name,
                                                                                                           true};
        }
    }
    for (const auto &day : makeupWorkdays) {
        yearTable(day.year).daysByKey[keyOf(day)] = {"", false};
    }
    return {years.begin(), years.end()};
}

// What is in force for one year, and the file it came from, so an unchanged file is not read again.
struct YearState {
    unsigned generation = 0;
    std::filesystem::path file;
    std::filesystem::file_time_type modified;
    std::uintmax_t size = 0;
    Arrangement arrangement;
};

class Arrangements {
public:
    // Whether the day is off (true) or worked (false) by an arrangement; none when no arrangement lists it.
    std::optional<bool> isOffDay(const TovikGregorianCalendar::YearMonthDay &ymd)
    {
        std::lock_guard lock(m_mutex);
        const auto *entry = find(ymd);
        return entry ? std::optional<bool>(entry->isOffDay) : std::nullopt;
    }

    std::optional<std::string> holidayName(const TovikGregorianCalendar::YearMonthDay &ymd)
    {
        std::lock_guard lock(m_mutex);
        const auto *entry = find(ymd);
        return entry && entry->isOffDay ? std::optional<std::string>(entry->name) : std::nullopt;
    }

    void reload()
    {
        std::lock_guard lock(m_mutex);
        ++m_generation;
    }

private:
    const TovikHolidayArrangement::Day *find(const TovikGregorianCalendar::YearMonthDay &ymd)
    {
        const int key = keyOf(ymd);
        // A notice for one year may hold days at the edge of its neighbours.
        for (const int year : {ymd.year, ymd.year - 1, ymd.year + 1}) {
            if (const TovikHolidayArrangement *arrangement = inForce(year)) {
                const auto found = arrangement->daysByKey.find(key);
                if (found != arrangement->daysByKey.end()) {
                    return &found->second;
                }
            }
        }
        return nullptr;
    }

    const TovikHolidayArrangement *inForce(int year)
    {
        YearState &state = m_years[year];
        if (state.generation != m_generation) {
            state.generation = m_generation;
            refresh(year, state);
        }
        return state.arrangement.get();
    }

    void refresh(int year, YearState &state)
    {
        const auto file = TovikHolidayFiles::fileFor(year);
        if (!file) {
            state.file.clear();
            const auto builtIn = m_builtIn.find(year);
            state.arrangement = builtIn == m_builtIn.end() ? nullptr : builtIn->second;
            return;
        }
        std::error_code error;
        const auto modified = std::filesystem::last_write_time(*file, error);
        const auto size = std::filesystem::file_size(*file, error);
        if (*file == state.file && modified == state.modified && size == state.size) {
            return;
        }
        state.file = *file;
        state.modified = modified;
        state.size = size;
        auto loaded = TovikHolidayArrangement::load(*file);
        if (auto *arrangement = std::get_if<TovikHolidayArrangement>(&loaded)) {
            state.arrangement = std::make_shared<const TovikHolidayArrangement>(std::move(*arrangement));
            return;
        }
        // Refused whole: what was in force stays, and the one who put the file there learns why.
        std::fprintf(stderr, "dayvane: ignored %s: %s\n", file->c_str(), std::get<std::string>(loaded).c_str());
        if (!state.arrangement) {
            const auto builtIn = m_builtIn.find(year);
            state.arrangement = builtIn == m_builtIn.end() ? nullptr : builtIn->second;
        }
    }

    std::mutex m_mutex;
    const std::unordered_map<int, Arrangement> m_builtIn = builtInArrangements();
    std::unordered_map<int, YearState> m_years;
    unsigned m_generation = 1;
};

Arrangements &arrangements()
{
    static Arrangements instance;
    return instance;
}

} // namespace

std::optional<std::string> holidayName(const TovikGregorianCalendar::YearMonthDay &day)
{
    return arrangements().holidayName(day);
}

bool isMakeupWorkday(const TovikGregorianCalendar::YearMonthDay &day)
{
    return arrangements().isOffDay(day) == false;
}

std::optional<std::string> holidayName(Instant day)
{
    return holidayName(TovikGregorianCalendar::components(day));
}

bool isMakeupWorkday(Instant day)
{
    return isMakeupWorkday(TovikGregorianCalendar::components(day));
}

bool isWorkday(Instant day)
{
    const auto ymd = TovikGregorianCalendar::components(day);
    if (const auto offDay = arrangements().isOffDay(ymd)) {
        return !*offDay;
    }
    const int weekday = TovikGregorianCalendar::weekday(day);
    return weekday >= 2 && weekday <= 6;
}

void reloadArrangements()
{
    arrangements().reload();
}

} // namespace TovikChinaHolidayCalendar
