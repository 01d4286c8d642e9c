// The shared model's hot paths: a month grid, one workday question, the clock's per-second texts, and the
// lunar date computed afresh each time (a new day per call) beside ICU's own Chinese calendar.
#include <ClockCalendarShared/TovikCalendarGrid.h>
#include <ClockCalendarShared/TovikChinaHolidayCalendar.h>
#include <ClockCalendarShared/TovikGregorianCalendar.h>
#include <ClockCalendarShared/TovikHolidayArrangement.h>
#include <ClockCalendarShared/TovikLunarDate.h>
#include <ClockCalendarShared/TovikLunarFestivals.h>
#include <ClockCalendarShared/TovikSolarTerms.h>

#include <benchmark/benchmark.h>
#include <unicode/calendar.h>
#include <unicode/timezone.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr Instant day = 86400;

Instant date(int year, int month, int dayOfMonth)
{
    return TovikGregorianCalendar::date(year, month, dayOfMonth).value();
}

void gridMake(benchmark::State &state)
{
    const Instant today = date(2026, 2, 15) + 3600;
    Instant month = date(2025, 1, 10);
    int step = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TovikCalendarGrid::make(month + (step % 48) * 30.5 * day, today));
        ++step;
    }
}
BENCHMARK(gridMake);

void isWorkday(benchmark::State &state)
{
    const Instant first = date(2025, 1, 1) + 12 * 3600;
    int step = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TovikChinaHolidayCalendar::isWorkday(first + (step % 1461) * day));
        ++step;
    }
}
BENCHMARK(isWorkday);

// Ten years of holiday files of 28 days each in a folder of their own, removed at the end.
class HolidayFiles {
public:
    HolidayFiles()
    {
        char pattern[] = "/tmp/dayvane-bench-XXXXXX";
        m_root = ::mkdtemp(pattern);
        std::filesystem::create_directories(folder());
        for (int year = 2030; year < 2040; ++year) {
            std::ofstream file(folder() / (std::to_string(year) + ".json"));
            file << "{\"year\": " << year << ", \"papers\": [\"notice\"], \"days\": [";
            for (int day = 1; day <= 28; ++day) {
                file << (day > 1 ? ", " : "") << "{\"name\": \"春节\", \"date\": \"" << year << "-02-"
                     << (day < 10 ? "0" : "") << day << "\", \"isOffDay\": true}";
            }
            file << "]}";
        }
    }
    ~HolidayFiles() { std::filesystem::remove_all(m_root); }
    std::filesystem::path root() const { return m_root; }
    std::filesystem::path folder() const { return m_root / "dayvane" / "holidays"; }

private:
    std::filesystem::path m_root;
};

// Reading and checking all ten files, as the first questions of those years do.
void holidayFilesLoad(benchmark::State &state)
{
    const HolidayFiles files;
    for (auto _ : state) {
        for (int year = 2030; year < 2040; ++year) {
            benchmark::DoNotOptimize(TovikHolidayArrangement::load(files.folder() / (std::to_string(year) + ".json")));
        }
    }
}
BENCHMARK(holidayFilesLoad)->Unit(benchmark::kMicrosecond);

// What a day check costs once files are in place: every year looked for again, none of them changed.
void holidayFilesRecheck(benchmark::State &state)
{
    const HolidayFiles files;
    setenv("XDG_DATA_HOME", files.root().c_str(), 1);
    for (auto _ : state) {
        TovikChinaHolidayCalendar::reloadArrangements();
        for (int year = 2030; year < 2040; ++year) {
            benchmark::DoNotOptimize(TovikChinaHolidayCalendar::isWorkday(date(year, 2, 3) + 12 * 3600));
        }
    }
    unsetenv("XDG_DATA_HOME");
    TovikChinaHolidayCalendar::reloadArrangements();
}
BENCHMARK(holidayFilesRecheck)->Unit(benchmark::kMicrosecond);

void clockTextsEverySecond(benchmark::State &state)
{
    Instant now = date(2027, 2, 5) + 23 * 3600;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TovikLunarDate::dateText(now));
        benchmark::DoNotOptimize(TovikLunarDate::clockSubtitle(now));
        now += 1;
    }
}
BENCHMARK(clockTextsEverySecond);

void lunarTextNewDayEachCall(benchmark::State &state)
{
    Instant at = date(2026, 1, 1) + 12 * 3600;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TovikLunarDate::lunarText(at));
        at += day;
    }
}
BENCHMARK(lunarTextNewDayEachCall);

// The solar term of one day, as a month grid asks it for each cell: four years of days in turn, so each
// year's 24 moments are worked out once and the rest is the amortised day lookup.
void solarTermOfDay(benchmark::State &state)
{
    const Instant first = date(2025, 1, 1) + 12 * 3600;
    int step = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TovikSolarTerms::termName(first + (step % 1461) * day));
        ++step;
    }
}
BENCHMARK(solarTermOfDay);

// A year's 24 moments from the series, as the first question about a new year costs.
void solarTermsOfYear(benchmark::State &state)
{
    int year = 1901;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TovikSolarTerms::termInstant(year, 0));
        year = year == 2099 ? 1901 : year + 1; // more years than the cache keeps, so each one is computed
    }
}
BENCHMARK(solarTermsOfYear)->Unit(benchmark::kMicrosecond);

// The festival and cell text of one day, over the same four years.
void lunarFestivalOfDay(benchmark::State &state)
{
    const Instant first = date(2025, 1, 1) + 12 * 3600;
    int step = 0;
    for (auto _ : state) {
        const Instant at = first + (step % 1461) * day;
        benchmark::DoNotOptimize(TovikLunarFestivals::festivalName(at));
        benchmark::DoNotOptimize(TovikLunarDate::cellText(at));
        ++step;
    }
}
BENCHMARK(lunarFestivalOfDay);

void icuChineseCalendarFields(benchmark::State &state)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::Calendar> chinese(icu::Calendar::createInstance(
        icu::TimeZone::detectHostTimeZone(), icu::Locale("zh_CN@calendar=chinese"), status));
    double millis = (date(2026, 1, 1) + 12 * 3600) * 1000.0;
    for (auto _ : state) {
        const std::unique_ptr<icu::Calendar> copy(chinese->clone());
        copy->setTime(millis, status);
        benchmark::DoNotOptimize(copy->get(UCAL_MONTH, status) + copy->get(UCAL_DATE, status)
                                 + copy->get(UCAL_IS_LEAP_MONTH, status));
        millis += day * 1000.0;
    }
}
BENCHMARK(icuChineseCalendarFields);

} // namespace

int main(int argc, char **argv)
{
    setenv("TZ", "Asia/Shanghai", 1);
    tzset();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
