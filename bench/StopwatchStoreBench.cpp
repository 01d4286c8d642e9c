// The stopwatch store on a real file: toggle (one immediate transaction) and load (one read transaction), each
// waiting patiently for a lock as the widget side does, or briefly as the window's press and tick do.
#include "TemporaryFolder.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <Platform/Settings/TovikSettingsStore.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

void StopwatchStoreToggle(benchmark::State &state)
{
    TemporaryFolder folder;
    const StopwatchStore store(TovikSettingsStore::open(folder / "settings.sqlite3"), "dayvane.stopwatch", [] {});
    double now = 1'800'000'000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.toggle(now));
        now += 0.5;
    }
}
BENCHMARK(StopwatchStoreToggle)->Unit(benchmark::kMicrosecond);

void StopwatchStoreToggleBriefly(benchmark::State &state)
{
    TemporaryFolder folder;
    const StopwatchStore store(TovikSettingsStore::open(folder / "settings.sqlite3"), "dayvane.stopwatch", [] {});
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
    TemporaryFolder folder;
    std::filesystem::create_directories(folder.path());
    std::ofstream(folder.path() / "taken") << "x";
    const StopwatchStore store(TovikSettingsStore::open(folder.path() / "taken" / "settings.sqlite3"),
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
    TemporaryFolder folder;
    const StopwatchStore store(TovikSettingsStore::open(folder / "settings.sqlite3"), "dayvane.stopwatch");
    store.save({3725.9, 1'800'000'000.0});
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.load());
    }
}
BENCHMARK(StopwatchStoreLoad)->Unit(benchmark::kMicrosecond);

// The window's tick: a read that gives up quickly on a lock, alternating with the patient one above.
void StopwatchStoreTryLoad(benchmark::State &state)
{
    TemporaryFolder folder;
    const StopwatchStore store(TovikSettingsStore::open(folder / "settings.sqlite3"), "dayvane.stopwatch");
    store.save({3725.9, 1'800'000'000.0});
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.tryLoad());
    }
}
BENCHMARK(StopwatchStoreTryLoad)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
