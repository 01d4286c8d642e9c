#include "TemporaryFolder.h"

#include <DayvaneCore/DayvaneStopwatchStore.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/WidgetCenter/WidgetCenter.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

TEST(DayvaneStopwatchStore, SharedSuiteReloadsTheStopwatchWidgetAfterEveryWrite)
{
    TemporaryFolder config;
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    std::vector<std::string> reloaded;
    WidgetCenter::setInProcessHandler([&](const std::string &kind) { reloaded.push_back(kind); });

    const StopwatchStore &store = DayvaneStopwatchStore::shared();
    EXPECT_EQ(&store, &DayvaneStopwatchStore::shared());
    ASSERT_TRUE(store.defaults());
    EXPECT_EQ(store.defaults()->path(), config / "K9PZQW41RT.local.tovik.dayvane" / "settings.sqlite3");
    EXPECT_EQ(store.accumulatedSecondsKey(), "dayvane.stopwatch.accumulatedSeconds");
    EXPECT_EQ(store.startedAtKey(), "dayvane.stopwatch.startedAt");

    EXPECT_EQ(store.toggle(100).outcome, StopwatchStore::Outcome::done);
    store.toggle(130);
    EXPECT_EQ(store.load(), (StopwatchState{30, std::nullopt}));
    store.reset();
    EXPECT_EQ(reloaded, std::vector<std::string>(3, "DayvaneStopwatchWidget"));
    WidgetCenter::setInProcessHandler({});
}

namespace {

// Runs the stopwatch probe with the wall clock offset by what `offsetFile` holds (libfaketime's own syntax,
// "+3600" or "-600"), the boot clock untouched; what it printed.
std::string runProbe(const char *command, const fs::path &offsetFile)
{
    // A sanitizer build's runtime must come first among the libraries; libfaketime is preloaded before it.
    const std::string line = std::string("ASAN_OPTIONS=verify_asan_link_order=0 FAKETIME_TIMESTAMP_FILE='")
                             + offsetFile.string()
                             + "' FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1 LD_PRELOAD=" LIBFAKETIME " "
                             + STOPWATCH_PROBE + " " + command;
    std::string output;
    if (FILE *probe = ::popen(line.c_str(), "r")) {
        char buffer[64];
        while (std::fgets(buffer, sizeof buffer, probe)) {
            output += buffer;
        }
        EXPECT_EQ(::pclose(probe), 0) << line;
    }
    return output;
}

} // namespace

TEST(DayvaneStopwatchStore, SettingTheWallClockChangesNoElapsedTime)
{
    if (!fs::exists(LIBFAKETIME)) {
        GTEST_SKIP() << LIBFAKETIME " is not installed";
    }
    TemporaryFolder config;
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    const fs::path offset = config / "offset";
    std::ofstream(offset) << "+0\n";
    ASSERT_EQ(runProbe("toggle", offset), "");
    for (const char *step : {"-600", "+3600"}) {
        SCOPED_TRACE(step);
        std::ofstream(offset) << step << "\n";
        const double elapsed = std::stod(runProbe("elapsed", offset));
        // The probe ran moments after the start; a test machine may be slow, never an hour slow.
        EXPECT_GE(elapsed, 0.001);
        EXPECT_LT(elapsed, 300);
    }
}
