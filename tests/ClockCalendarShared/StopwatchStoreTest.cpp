#include "TemporaryFolder.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <Platform/Settings/TovikSettingsStore.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <limits>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string accumulatedKey = "dayvane.stopwatch.accumulatedSeconds";
const std::string startedKey = "dayvane.stopwatch.startedAt";

class StopwatchStoreTest : public ::testing::Test {
protected:
    StopwatchStore makeStore()
    {
        return StopwatchStore(suite, "dayvane.stopwatch", [this] { ++changes; });
    }

    TemporaryFolder folder;
    std::shared_ptr<TovikSettingsStore> suite = TovikSettingsStore::open(folder / "settings.sqlite3");
    int changes = 0;
};

std::string integrityCheck(const fs::path &file)
{
    sqlite3 *db = nullptr;
    std::string answer;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_exec(
            db, "PRAGMA integrity_check",
            [](void *out, int, char **values, char **) {
                *static_cast<std::string *>(out) += values[0] ? values[0] : "";
                return 0;
            },
            &answer, nullptr);
    }
    sqlite3_close(db);
    return answer;
}

// Runs in a forked child: toggles the stopwatch in its own connection and reports how many toggles started it.
[[noreturn]] void toggleInChild(const fs::path &file, int toggles, int reportFd)
{
    auto suite = TovikSettingsStore::open(file);
    if (!suite) {
        ::_exit(2);
    }
    const StopwatchStore store(suite, "dayvane.stopwatch");
    int starts = 0;
    for (int i = 0; i < toggles; ++i) {
        starts += store.toggle(1'000'000 + i).isRunning() ? 1 : 0;
    }
    const bool reported = ::write(reportFd, &starts, sizeof starts) == static_cast<ssize_t>(sizeof starts);
    ::_exit(reported ? 0 : 3);
}

} // namespace

TEST_F(StopwatchStoreTest, ToggleOnAFreshSuiteStartsAndStoresZero)
{
    ASSERT_TRUE(suite);
    const StopwatchStore store = makeStore();
    const StopwatchState state = store.toggle(1000);
    EXPECT_EQ(state, (StopwatchState{0, 1000.0}));
    EXPECT_EQ(suite->value(startedKey), TovikSettingsStore::Value(1000.0));
    EXPECT_EQ(suite->value(accumulatedKey), TovikSettingsStore::Value(0.0));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(store.load(), state);
}

TEST_F(StopwatchStoreTest, ToggleTwiceGathersTheRunAndRemovesTheStart)
{
    const StopwatchStore store = makeStore();
    store.toggle(1000);
    const StopwatchState paused = store.toggle(1005.25);
    EXPECT_EQ(paused, (StopwatchState{5.25, std::nullopt}));
    EXPECT_FALSE(suite->contains(startedKey));
    EXPECT_EQ(suite->number(accumulatedKey), 5.25);
    EXPECT_EQ(paused.elapsedText(99999), "00:00:05");

    store.toggle(2000);
    EXPECT_EQ(store.toggle(2010), (StopwatchState{15.25, std::nullopt}));
    // A clock that went back while running adds nothing.
    store.toggle(3000);
    EXPECT_EQ(store.toggle(2990), (StopwatchState{15.25, std::nullopt}));
    EXPECT_EQ(changes, 6);
}

TEST_F(StopwatchStoreTest, ToggleReadsTheSuiteNotAnEarlierResult)
{
    const StopwatchStore store = makeStore();
    const StopwatchStore other(TovikSettingsStore::open(suite->path()), "dayvane.stopwatch");
    store.toggle(1000);
    other.toggle(1060);
    EXPECT_EQ(store.toggle(1100), (StopwatchState{60, 1100.0}));
}

TEST_F(StopwatchStoreTest, ResetWhileRunningRemovesTheStartStoresZeroAndNotifies)
{
    const StopwatchStore store = makeStore();
    suite->set(accumulatedKey, 42.0);
    suite->set(startedKey, 500.0);
    EXPECT_EQ(store.reset(), StopwatchState{});
    EXPECT_FALSE(suite->contains(startedKey));
    EXPECT_EQ(suite->value(accumulatedKey), TovikSettingsStore::Value(0.0));
    EXPECT_EQ(changes, 1);
}

TEST_F(StopwatchStoreTest, ChangeIsAnnouncedAfterTheWriteIsVisibleToOthers)
{
    auto reader = TovikSettingsStore::open(suite->path());
    std::optional<double> seenStart;
    const StopwatchStore store(suite, "dayvane.stopwatch", [&] { seenStart = reader->number(startedKey); });
    store.toggle(1234);
    EXPECT_EQ(seenStart, 1234.0);
    store.save({3, 4321.0});
    EXPECT_EQ(seenStart, 4321.0);
}

TEST_F(StopwatchStoreTest, MalformedValuesLoadAsZeroAndPaused)
{
    const StopwatchStore store = makeStore();
    using Value = std::optional<TovikSettingsStore::Value>;
    struct Case {
        const char *name;
        Value accumulated;
        Value started;
        StopwatchState expected;
    };
    const double infinity = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"absent", std::nullopt, std::nullopt, {0, std::nullopt}},
        {"integers count as numbers", std::int64_t(7), std::int64_t(1000), {7, 1000.0}},
        {"negative accumulated", -3.5, std::nullopt, {0, std::nullopt}},
        {"infinite accumulated", infinity, std::nullopt, {0, std::nullopt}},
        {"not-a-number accumulated", std::numeric_limits<double>::quiet_NaN(), 10.0, {0, 10.0}},
        {"text accumulated", std::string("5"), std::nullopt, {0, std::nullopt}},
        {"text start", 8.0, std::string("1000"), {8, std::nullopt}},
        {"infinite start", 8.0, -infinity, {8, std::nullopt}},
        {"start before 1970 is still a start", 0.0, -86400.0, {0, -86400.0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto &[key, value] : {std::pair{accumulatedKey, c.accumulated}, std::pair{startedKey, c.started}}) {
            if (!value) {
                suite->remove(key);
            } else {
                std::visit([&, &key = key](const auto &v) { suite->set(key, v); }, *value);
            }
        }
        EXPECT_EQ(store.load(), c.expected);
    }
    EXPECT_EQ(changes, 0);
}

TEST(StopwatchStore, WithoutASuiteItIsInert)
{
    TemporaryFolder folder;
    std::ofstream(folder / "file") << "x";
    const char *configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string oldConfigHome = configHome ? configHome : "";
    ::setenv("XDG_CONFIG_HOME", (folder / "file").c_str(), 1);
    const auto unopenable = TovikSettingsStore::suite("K9PZQW41RT.local.tovik.dayvane");
    configHome ? ::setenv("XDG_CONFIG_HOME", oldConfigHome.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(unopenable, nullptr);

    int changes = 0;
    const StopwatchStore store(unopenable, "dayvane.stopwatch", [&] { ++changes; });
    EXPECT_EQ(store.load(), StopwatchState{});
    EXPECT_EQ(store.toggle(1000), (StopwatchState{0, 1000.0}));
    EXPECT_EQ(store.toggle(2000), (StopwatchState{0, 2000.0}));
    EXPECT_EQ(store.reset(), StopwatchState{});
    store.save({5, 6.0});
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(fs::exists(folder / "file" / "K9PZQW41RT.local.tovik.dayvane"));
}

TEST(StopwatchStore, TwoProcessesTogglingAtOnceLoseNoToggle)
{
    TemporaryFolder folder;
    const fs::path file = folder / "settings.sqlite3";
    ASSERT_TRUE(TovikSettingsStore::open(file));
    constexpr int togglesPerProcess = 2000;

    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    pid_t children[2];
    for (pid_t &child : children) {
        child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(report[0]);
            toggleInChild(file, togglesPerProcess, report[1]);
        }
    }
    ::close(report[1]);
    int totalStarts = 0;
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        int starts = 0;
        ASSERT_EQ(::read(report[0], &starts, sizeof starts), static_cast<ssize_t>(sizeof starts));
        totalStarts += starts;
    }
    ::close(report[0]);

    // Serialised toggles alternate start and pause; a lost one would let both processes start the same run.
    EXPECT_EQ(totalStarts, togglesPerProcess);
    const StopwatchStore store(TovikSettingsStore::open(file), "dayvane.stopwatch");
    const StopwatchState final = store.load();
    EXPECT_FALSE(final.isRunning());
    EXPECT_FALSE(store.defaults()->contains(startedKey));
    EXPECT_GE(final.accumulatedSeconds, 0);
    EXPECT_EQ(integrityCheck(file), "ok");
}
