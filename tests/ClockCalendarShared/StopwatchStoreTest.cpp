#include "ScratchMount.h"
#include "StoreReplacement.h"
#include "TemporaryFolder.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <Platform/Settings/TovikSettingsStore.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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

// Runs in a forked child: opens its own connection, waits at the start line (the other end of `startFd` closing)
// so that both children toggle at the same time, then writes every state its toggles stored to `log`, as pairs
// of accumulated seconds and start (not a number while paused).
[[noreturn]] void toggleInChild(const fs::path &file, int toggles, int startFd, const fs::path &log)
{
    auto suite = TovikSettingsStore::open(file);
    if (!suite) {
        ::_exit(2);
    }
    const StopwatchStore store(suite, "dayvane.stopwatch");
    char start = 0;
    if (::read(startFd, &start, 1) != 0) {
        ::_exit(3);
    }
    std::vector<double> stored;
    for (int i = 0; i < toggles; ++i) {
        const StopwatchStore::Attempt attempt = store.toggle(currentInstant());
        if (attempt.outcome != StopwatchStore::Outcome::done) {
            ::_exit(4);
        }
        stored.push_back(attempt.state.accumulatedSeconds);
        stored.push_back(attempt.state.startedAt.value_or(std::numeric_limits<double>::quiet_NaN()));
    }
    std::ofstream out(log, std::ios::binary);
    out.write(reinterpret_cast<const char *>(stored.data()),
              static_cast<std::streamsize>(stored.size() * sizeof(double)));
    out.close();
    ::_exit(out ? 0 : 5);
}

// Holds the write lock of a suite in another connection while it lives.
class WriteLock {
public:
    explicit WriteLock(const fs::path &file)
    {
        sqlite3_open_v2(file.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        m_held = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~WriteLock() { sqlite3_close_v2(m_db); }
    WriteLock(const WriteLock &) = delete;
    WriteLock &operator=(const WriteLock &) = delete;

    bool isHeld() const { return m_held; }
    void release()
    {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_held = false;
    }

private:
    sqlite3 *m_db = nullptr;
    bool m_held = false;
};

} // namespace

TEST_F(StopwatchStoreTest, ToggleOnAFreshSuiteStartsAndStoresZero)
{
    ASSERT_TRUE(suite);
    const StopwatchStore store = makeStore();
    const StopwatchState state = store.toggle(1000).state;
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
    const StopwatchState paused = store.toggle(1005.25).state;
    EXPECT_EQ(paused, (StopwatchState{5.25, std::nullopt}));
    EXPECT_FALSE(suite->contains(startedKey));
    EXPECT_EQ(suite->number(accumulatedKey), 5.25);
    EXPECT_EQ(paused.elapsedText(99999), "00:00:05");

    store.toggle(2000);
    EXPECT_EQ(store.toggle(2010).state, (StopwatchState{15.25, std::nullopt}));
    // A clock that went back while running adds nothing.
    store.toggle(3000);
    EXPECT_EQ(store.toggle(2990).state, (StopwatchState{15.25, std::nullopt}));
    EXPECT_EQ(changes, 6);
}

TEST_F(StopwatchStoreTest, ToggleReadsTheSuiteNotAnEarlierResult)
{
    const StopwatchStore store = makeStore();
    const StopwatchStore other(TovikSettingsStore::open(suite->path()), "dayvane.stopwatch");
    store.toggle(1000);
    other.toggle(1060);
    EXPECT_EQ(store.toggle(1100).state, (StopwatchState{60, 1100.0}));
}

TEST_F(StopwatchStoreTest, ResetWhileRunningRemovesTheStartStoresZeroAndNotifies)
{
    const StopwatchStore store = makeStore();
    suite->set(accumulatedKey, 42.0);
    suite->set(startedKey, 500.0);
    EXPECT_EQ(store.reset(), (StopwatchStore::Attempt{StopwatchStore::Outcome::done, {}}));
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

TEST_F(StopwatchStoreTest, ActionThatCannotGetTheLockStoresNothingAndSaysSo)
{
    using Wait = StopwatchStore::Wait;
    using Outcome = StopwatchStore::Outcome;
    const StopwatchStore store = makeStore();
    store.save({5, 1000.0});
    WriteLock lock(suite->path());
    ASSERT_TRUE(lock.isHeld());
    EXPECT_EQ(store.toggle(1010, Wait::briefly).outcome, Outcome::busy);
    EXPECT_EQ(store.reset(Wait::briefly).outcome, Outcome::busy);
    EXPECT_EQ(store.save({1, 2.0}, Wait::briefly).outcome, Outcome::busy);
    // Readers still see the last commit while another connection holds the write lock.
    EXPECT_EQ(store.tryLoad(), (StopwatchState{5, 1000.0}));
    EXPECT_EQ(changes, 1);

    lock.release();
    EXPECT_EQ(store.toggle(1010, Wait::briefly), (StopwatchStore::Attempt{Outcome::done, {15, std::nullopt}}));
    EXPECT_EQ(changes, 2);
}

TEST_F(StopwatchStoreTest, SuiteOnAFullDiskKeepsCountingInMemoryAndStoresLater)
{
    using Outcome = StopwatchStore::Outcome;
    const ScratchMount disk(folder / "disk", "64k");
    if (!disk.mounted()) {
        GTEST_SKIP() << disk.why();
    }
    {
        std::ofstream filler(disk.path() / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size())) {
        }
    }
    const fs::path file = disk.path() / "settings.sqlite3";
    const StopwatchStore store(TovikSettingsStore::open(file), "dayvane.stopwatch", [&] { ++changes; });
    EXPECT_EQ(store.toggle(1000), (StopwatchStore::Attempt{Outcome::done, {0, 1000.0}}));
    EXPECT_EQ(store.toggle(1005).state, (StopwatchState{5, std::nullopt}));
    EXPECT_EQ(store.toggle(2000).state, (StopwatchState{5, 2000.0}));
    EXPECT_EQ(store.tryLoad(), (StopwatchState{5, 2000.0}));

    fs::remove(disk.path() / "filler");
    EXPECT_TRUE(store.defaults()->flush());
    EXPECT_EQ(StopwatchStore(TovikSettingsStore::open(file), "dayvane.stopwatch").load(), (StopwatchState{5, 2000.0}));
}

TEST_F(StopwatchStoreTest, RunIsMeasuredOnTheBootClockWhileItsBootLasts)
{
    using Reading = StopwatchStore::ClockReading;
    struct Case {
        const char *name;
        Reading later;
        bool olderBuildStarted; // the start was stored without the boot clock
        double elapsed;
    };
    // Started at wall 1000, boot 50, in boot "a"; read again after five seconds by the boot clock.
    const Case cases[] = {
        {"wall clock set back ten minutes", {405, 55, "a"}, false, 5},
        {"wall clock set forward an hour", {4605, 55, "a"}, false, 5},
        {"drift under half a second keeps the stored start", {1005.25, 55, "a"}, false, 5.25},
        {"an hour suspended: both clocks count it", {4605, 3655, "a"}, false, 3605},
        {"another boot: the wall clock is all there is", {1300, 3, "b"}, false, 300},
        {"started by a build that stored no boot start", {1300, 55, "a"}, true, 300},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Reading now{1000, 50, "a"};
        const StopwatchStore store(suite, "dayvane.stopwatch", {}, [&] { return std::optional(now); });
        store.reset();
        store.toggle(1000);
        if (c.olderBuildStarted) {
            suite->remove("dayvane.stopwatch.startedAtBootTime");
            suite->remove("dayvane.stopwatch.bootId");
        }
        now = c.later;
        EXPECT_DOUBLE_EQ(store.load().elapsed(now.wall), c.elapsed);
        EXPECT_EQ(store.toggle(now.wall).state, (StopwatchState{c.elapsed, std::nullopt}));
        EXPECT_FALSE(suite->contains("dayvane.stopwatch.bootId")) << "a paused stopwatch keeps no start";
    }
}

TEST(StopwatchStore, ToggleFollowsASuiteReplacedUnderneath)
{
    for (const auto &[name, replace] : storeReplacements()) {
        SCOPED_TRACE(name);
        TemporaryFolder folder;
        const fs::path file = folder / "settings.sqlite3";
        int changes = 0;
        const StopwatchStore store(TovikSettingsStore::open(file), "dayvane.stopwatch", [&] { ++changes; });
        store.save({7, std::nullopt});
        replace(file);
        EXPECT_EQ(store.toggle(1000), (StopwatchStore::Attempt{StopwatchStore::Outcome::done, {0, 1000.0}}));
        EXPECT_EQ(changes, 2);
        EXPECT_EQ(StopwatchStore(TovikSettingsStore::open(file), "dayvane.stopwatch").load(),
                  (StopwatchState{0, 1000.0}));
    }
}

TEST(StopwatchStore, WithoutASuiteItIsInert)
{
    int changes = 0;
    const StopwatchStore store(nullptr, "dayvane.stopwatch", [&] { ++changes; });
    EXPECT_EQ(store.load(), StopwatchState{});
    EXPECT_EQ(store.toggle(1000).state, (StopwatchState{0, 1000.0}));
    EXPECT_EQ(store.toggle(2000).state, (StopwatchState{0, 2000.0}));
    EXPECT_EQ(store.tryLoad(), StopwatchState{});
    EXPECT_EQ(store.reset().state, StopwatchState{});
    store.save({5, 6.0});
    EXPECT_EQ(changes, 0);
}

TEST(StopwatchStore, TwoProcessesTogglingAtOnceLoseNoToggle)
{
    TemporaryFolder folder;
    const fs::path file = folder / "settings.sqlite3";
    ASSERT_TRUE(TovikSettingsStore::open(file));
    constexpr int togglesPerProcess = 2000;

    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    pid_t children[2];
    for (int i = 0; i < 2; ++i) {
        children[i] = ::fork();
        ASSERT_GE(children[i], 0);
        if (children[i] == 0) {
            ::close(start[1]);
            toggleInChild(file, togglesPerProcess, start[0], folder / ("log" + std::to_string(i)));
        }
    }
    ::close(start[0]);
    // Both children are forked and wait on the pipe: closing it lets them go together.
    ::close(start[1]);
    std::vector<double> startedFrom;
    std::vector<double> pausedAt;
    for (int i = 0; i < 2; ++i) {
        int status = 0;
        ASSERT_EQ(::waitpid(children[i], &status, 0), children[i]);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        std::ifstream log(folder / ("log" + std::to_string(i)), std::ios::binary);
        for (double stored[2]; log.read(reinterpret_cast<char *>(stored), sizeof stored);) {
            (std::isnan(stored[1]) ? pausedAt : startedFrom).push_back(stored[0]);
        }
    }

    // Serialised toggles alternate start and pause, each continuing from the state the one before stored: every
    // start from the pause before it (the first from zero), and every pause but the last is continued by one
    // start. A toggle that read a state another process was replacing leaves a start or a pause without its
    // partner.
    EXPECT_EQ(startedFrom.size(), static_cast<std::size_t>(togglesPerProcess));
    const StopwatchStore store(TovikSettingsStore::open(file), "dayvane.stopwatch");
    const StopwatchState final = store.load();
    EXPECT_FALSE(final.isRunning());
    startedFrom.push_back(final.accumulatedSeconds);
    pausedAt.push_back(0);
    std::sort(startedFrom.begin(), startedFrom.end());
    std::sort(pausedAt.begin(), pausedAt.end());
    EXPECT_TRUE(startedFrom == pausedAt);
    EXPECT_EQ(integrityCheck(file), "ok");
}
