#include "TovikSolarTerms.h"

#include "TovikCivilDays.h"
#include "TovikGregorianCalendar.h"
#include "TovikSolarLongitude.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <mutex>

namespace TovikSolarTerms {
namespace {

const char *const names[termCount] = {"小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨",
                                      "立夏", "小满", "芒种", "夏至", "小暑", "大暑", "立秋", "处暑",
                                      "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};

constexpr double chinaOffsetSeconds = 8 * 3600;
constexpr double secondsPerDay = 86400;
constexpr double julianDayOfUnixEpoch = 2440587.5;
// The years asked about at all; the series and ΔT lose their accuracy long before either end.
constexpr int firstYear = 1;
constexpr int lastYear = 9999;
// Enough years for any month grid a user pages through; further years evict the whole cache.
constexpr std::size_t cachedYears = 64;

struct YearTerms {
    std::array<Instant, termCount> instants{};
    std::array<std::int64_t, termCount> chinaDays{}; // days since 1970-01-01 in UTC+8
};

YearTerms computeYear(int year)
{
    YearTerms terms;
    const double newYear = static_cast<double>(TovikCivilDays::daysFromCivil(year, 1, 1)) + julianDayOfUnixEpoch;
    for (int index = 0; index < termCount; ++index) {
        // 小寒 at 285° comes about 5 days into January; each term follows about 15.2 days later.
        const double estimate = newYear + 5.0 + index * 15.2184;
        const Instant instant =
            TovikSolarLongitude::instantOfLongitude(std::fmod(285.0 + 15.0 * index, 360.0), estimate);
        terms.instants[index] = instant;
        terms.chinaDays[index] = static_cast<std::int64_t>(std::floor((instant + chinaOffsetSeconds) / secondsPerDay));
    }
    return terms;
}

// A year's 24 moments, worked out once per year on first use.
class TermCache {
public:
    // Runs `read` on the year's terms under the lock.
    template <typename Read>
    auto read(int year, Read read)
    {
        std::lock_guard lock(m_mutex);
        auto found = m_years.find(year);
        if (found == m_years.end()) {
            if (m_years.size() >= cachedYears)
                m_years.clear();
            found = m_years.emplace(year, computeYear(year)).first;
        }
        return read(found->second);
    }

private:
    std::mutex m_mutex;
    std::map<int, YearTerms> m_years;
};

TermCache &cache()
{
    static auto *instance = new TermCache;
    return *instance;
}

} // namespace

std::optional<std::string> name(int index)
{
    if (index < 0 || index >= termCount)
        return std::nullopt;
    return names[index];
}

std::optional<Instant> termInstant(int year, int index)
{
    if (index < 0 || index >= termCount || year < firstYear || year > lastYear)
        return std::nullopt;
    return cache().read(year, [index](const YearTerms &terms) { return terms.instants[index]; });
}

std::optional<std::string> termName(Instant instant)
{
    if (!std::isfinite(instant))
        return std::nullopt;
    const TovikGregorianCalendar::YearMonthDay civil = TovikGregorianCalendar::components(instant);
    if (civil.year < firstYear || civil.year > lastYear || civil.month < 1 || civil.month > 12)
        return std::nullopt;
    // Every term falls in its own month (the 3rd to the 9th and the 18th to the 24th), two to a month.
    const std::int64_t day = TovikCivilDays::daysFromCivil(civil.year, civil.month, civil.day);
    const int first = 2 * (civil.month - 1);
    const auto index = cache().read(civil.year, [&](const YearTerms &terms) -> std::optional<int> {
        for (int candidate = first; candidate < first + 2; ++candidate) {
            if (terms.chinaDays[candidate] == day)
                return candidate;
        }
        return std::nullopt;
    });
    if (!index)
        return std::nullopt;
    return names[*index];
}

} // namespace TovikSolarTerms
