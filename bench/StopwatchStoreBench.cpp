// The stopwatch store on a real file: toggle (one immediate transaction) and load (one read transaction), each
// waiting patiently for a lock as the widget side does, or briefly as the window's press and tick do.
#include <ClockCalendarShared/StopwatchStore.h>
#include <Platform/Settings/TovikSettingsStore.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class BenchFolder {
public:
    BenchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "dayvane-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data())) {
            m_path = pattern;
        }
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    BenchFolder(const BenchFolder &) = delete;
    BenchFolder &operator=(const BenchFolder &) = delete;

    std::filesystem::path file() const { return m_path / "settings.sqlite3"; }

private:
    std::filesystem::path m_path;
};

void StopwatchStoreToggle(benchmark::State &state)
{
    BenchFolder folder;
    const StopwatchStore store(TovikSettingsStore::open(folder.file()), "dayvane.stopwatch", [] {});
    double now = 1'800'000'000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.toggle(now));
        now += 0.5;
    }
}
BENCHMARK(StopwatchStoreToggle)->Unit(benchmark::kMicrosecond);

void StopwatchStoreToggleBriefly(benchmark::State &state)
{
    BenchFolder folder;
    const StopwatchStore store(TovikSettingsStore::open(folder.file()), "dayvane.stopwatch", [] {});
    double now = 1'800'000'000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.toggle(now, StopwatchStore::Wait::briefly));
        now += 0.5;
    }
}
BENCHMARK(StopwatchStoreToggleBriefly)->Unit(benchmark::kMicrosecond);

// A press while the suite cannot be written (its folder's name taken by a plain file): held in memory, the
// file tried again at most once a second.
void StopwatchStoreToggleUnwritable(benchmark::State &state)
{
    BenchFolder folder;
    std::filesystem::create_directories(folder.file().parent_path());
    std::ofstream(folder.file().parent_path() / "taken") << "x";
    const StopwatchStore store(TovikSettingsStore::open(folder.file().parent_path() / "taken" / "settings.sqlite3"),
                               "dayvane.stopwatch", [] {});
    double now = 1'800'000'000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.toggle(now, StopwatchStore::Wait::briefly));
        now += 0.5;
    }
}
BENCHMARK(StopwatchStoreToggleUnwritable)->Unit(benchmark::kMicrosecond);

void StopwatchStoreLoad(benchmark::State &state)
{
    BenchFolder folder;
    const StopwatchStore store(TovikSettingsStore::open(folder.file()), "dayvane.stopwatch");
    store.save({3725.9, 1'800'000'000.0});
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.load());
    }
}
BENCHMARK(StopwatchStoreLoad)->Unit(benchmark::kMicrosecond);

// The window's tick: a read that gives up quickly on a lock, alternating with the patient one above.
void StopwatchStoreTryLoad(benchmark::State &state)
{
    BenchFolder folder;
    const StopwatchStore store(TovikSettingsStore::open(folder.file()), "dayvane.stopwatch");
    store.save({3725.9, 1'800'000'000.0});
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.tryLoad());
    }
}
BENCHMARK(StopwatchStoreTryLoad)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
