#include "TemporaryFolder.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <ClockCalendarWidgets/StopwatchWidget.h>
#include <Platform/Settings/TovikSettingsStore.h>

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace {

const TimelineProviderContext home{WidgetFamily::systemSmall, false};
const TimelineProviderContext gallery{WidgetFamily::systemMedium, true};

// 09:00:00 on some day, as seconds since 1970; only differences matter to the stopwatch.
constexpr Instant nine = 1'780'000'000;

class StopwatchTimelineTest : public ::testing::Test {
protected:
    void store(double accumulated, std::optional<Instant> startedAt)
    {
        suite->set("dayvane.stopwatch.accumulatedSeconds", accumulated);
        if (startedAt) {
            suite->set("dayvane.stopwatch.startedAt", *startedAt);
        } else {
            suite->remove("dayvane.stopwatch.startedAt");
        }
    }

    TemporaryFolder folder;
    std::shared_ptr<TovikSettingsStore> suite = TovikSettingsStore::open(folder / "settings.sqlite3");
    StopwatchWidgetProvider provider{StopwatchStore(suite, "dayvane.stopwatch")};
};

struct ReloadCase {
    const char *name;
    double accumulated;
    Instant startedAt;
    Instant now;
    Instant reload;
};

TEST_F(StopwatchTimelineTest, RunningStopwatchReloadsWhenTheTimerTextGainsADigit)
{
    const ReloadCase cases[] = {
        {"five minutes in", 0, nine, nine + 300, nine + 600},
        {"twelve minutes in", 0, nine, nine + 720, nine + 3600},
        {"three hours in", 0, nine, nine + 3 * 3600, nine + 36000},
        {"just started", 0, nine, nine, nine + 600},
        {"590 s before a restart", 590, nine, nine, nine + 10},
        {"a fraction before ten minutes", 0, nine, nine + 599.75, nine + 600},
        {"exactly ten minutes", 0, nine, nine + 600, nine + 3600},
        {"last second of the first hour", 0, nine, nine + 3599.5, nine + 3600},
        {"exactly one hour", 3000, nine, nine + 600, nine - 3000 + 36000},
        {"last second before ten hours", 35999, nine, nine + 0.5, nine - 35999 + 36000},
        {"exactly ten hours: a day later", 36000, nine, nine + 5, nine + 5 + 86400},
        {"a hundred hours: a day later", 360000, nine, nine + 7, nine + 7 + 86400},
        {"start in the future counts nothing yet", 0, nine + 60, nine, nine + 660},
        {"too long for any integer", std::numeric_limits<double>::max() / 2, nine, nine + 1, nine + 1 + 86400},
    };
    for (const ReloadCase &c : cases) {
        store(c.accumulated, c.startedAt);
        const Timeline<StopwatchWidgetEntry> timeline = provider.timeline(home, c.now);
        ASSERT_EQ(timeline.entries.size(), 1u) << c.name;
        EXPECT_EQ(timeline.entries[0], (StopwatchWidgetEntry{c.now, StopwatchState{c.accumulated, c.startedAt}, false}))
            << c.name;
        EXPECT_EQ(timeline.policy.after, c.reload) << c.name;
    }
}

TEST_F(StopwatchTimelineTest, PausedStopwatchNeverReloadsByItself)
{
    for (const double accumulated : {0.0, 5.0, 599.0, 36000.0}) {
        store(accumulated, std::nullopt);
        const Timeline<StopwatchWidgetEntry> timeline = provider.timeline(home, nine);
        EXPECT_EQ(timeline.entries[0].state, (StopwatchState{accumulated, std::nullopt}));
        EXPECT_EQ(timeline.policy.after, std::nullopt) << accumulated;
    }
}

TEST_F(StopwatchTimelineTest, UnreadableOrMissingSuiteReadsAsResetAndNeverReloads)
{
    suite->set("dayvane.stopwatch.startedAt", "yesterday");
    suite->set("dayvane.stopwatch.accumulatedSeconds", -20.0);
    EXPECT_EQ(provider.timeline(home, nine).entries[0].state, StopwatchState{});
    EXPECT_EQ(provider.timeline(home, nine).policy.after, std::nullopt);

    const StopwatchWidgetProvider inert{StopwatchStore(nullptr, "dayvane.stopwatch")};
    EXPECT_EQ(inert.timeline(home, nine).entries[0], (StopwatchWidgetEntry{nine, StopwatchState{}, false}));
    EXPECT_EQ(inert.timeline(home, nine).policy.after, std::nullopt);
}

TEST_F(StopwatchTimelineTest, EachRequestReadsTheSuiteAgain)
{
    const StopwatchStore writer(suite, "dayvane.stopwatch");
    writer.toggle(nine);
    EXPECT_EQ(provider.timeline(home, nine + 30).policy.after, nine + 600);
    writer.toggle(nine + 30);
    EXPECT_EQ(provider.timeline(home, nine + 40).entries[0].state, (StopwatchState{30, std::nullopt}));
    EXPECT_EQ(provider.timeline(home, nine + 40).policy.after, std::nullopt);
    writer.toggle(nine + 100);
    // 30 s gathered before the restart at +100: ten minutes of elapsed time are reached at +670.
    EXPECT_EQ(provider.timeline(home, nine + 101).policy.after, nine + 670);
}

TEST_F(StopwatchTimelineTest, PlaceholderIsTheZeroCardAndSnapshotsAreLive)
{
    store(42, nine);
    EXPECT_EQ(provider.placeholder(home, nine + 1), (StopwatchWidgetEntry{nine + 1, StopwatchState{}, true}));
    EXPECT_EQ(provider.snapshot(home, nine + 1), (StopwatchWidgetEntry{nine + 1, StopwatchState{42, nine}, false}));
    EXPECT_EQ(provider.snapshot(gallery, nine + 1), (StopwatchWidgetEntry{nine + 1, StopwatchState{42, nine}, false}));
}

} // namespace
