#include "TemporaryFolder.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <DayvaneWidget/ResetDayvaneStopwatchIntent.h>
#include <DayvaneWidget/ToggleDayvaneStopwatchIntent.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/WidgetCenter/WidgetCenter.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::string accumulatedKey = "dayvane.stopwatch.accumulatedSeconds";
const std::string startedKey = "dayvane.stopwatch.startedAt";

class DayvaneStopwatchIntentsTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    std::shared_ptr<TovikSettingsStore> suite = TovikSettingsStore::open(folder / "settings.sqlite3");
    int changes = 0;
    StopwatchStore store{suite, "dayvane.stopwatch", [this] { ++changes; }};
};

TEST_F(DayvaneStopwatchIntentsTest, TitlesAreTheButtonsOwn)
{
    EXPECT_EQ(ToggleDayvaneStopwatchIntent(store).title(), "开始或暂停计时");
    EXPECT_EQ(ResetDayvaneStopwatchIntent(store).title(), "清零计时");
}

TEST_F(DayvaneStopwatchIntentsTest, ToggleTwiceOneSecondApartLeavesOneSecondPaused)
{
    const ToggleDayvaneStopwatchIntent toggle(store);
    toggle.perform(1'780'000'000.25);
    EXPECT_EQ(suite->number(startedKey), 1'780'000'000.25);
    EXPECT_EQ(suite->number(accumulatedKey), 0.0);
    toggle.perform(1'780'000'001.5);
    EXPECT_FALSE(suite->contains(startedKey));
    EXPECT_DOUBLE_EQ(*suite->number(accumulatedKey), 1.25);
    EXPECT_EQ(store.load().elapsedText(1'780'000'100), "00:00:01");
    EXPECT_EQ(changes, 2);
}

TEST_F(DayvaneStopwatchIntentsTest, ToggleContinuesWhatTheApplicationWroteMeanwhile)
{
    const ToggleDayvaneStopwatchIntent toggle(store);
    toggle.perform(1000);
    // The application pauses at 1030 and starts again at 1100 with its own store on the same suite.
    const StopwatchStore application(TovikSettingsStore::open(folder / "settings.sqlite3"), "dayvane.stopwatch");
    application.toggle(1030);
    application.toggle(1100);
    toggle.perform(1110);
    EXPECT_EQ(store.load(), (StopwatchState{40, std::nullopt}));
}

TEST_F(DayvaneStopwatchIntentsTest, ResetStopsARunningStopwatchAtZero)
{
    suite->set(accumulatedKey, 125.0);
    suite->set(startedKey, 2000.0);
    ResetDayvaneStopwatchIntent(store).perform(2100);
    EXPECT_FALSE(suite->contains(startedKey));
    EXPECT_EQ(suite->number(accumulatedKey), 0.0);
    EXPECT_EQ(changes, 1);
}

// Without a store given, the actions use the extension's shared suite, whose every write asks the host
// once to reload the stopwatch widget.
TEST(DayvaneStopwatchIntentsShared, EachActionRequestsOneReloadOfTheStopwatchWidget)
{
    TemporaryFolder config;
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    std::vector<std::string> reloaded;
    WidgetCenter::setInProcessHandler([&](const std::string &kind) { reloaded.push_back(kind); });

    const ToggleDayvaneStopwatchIntent toggle;
    const ResetDayvaneStopwatchIntent reset;
    toggle.perform(500);
    EXPECT_EQ(reloaded, std::vector<std::string>{"DayvaneStopwatchWidget"});
    toggle.perform(501);
    EXPECT_EQ(reloaded, std::vector<std::string>(2, "DayvaneStopwatchWidget"));
    reset.perform(502);
    EXPECT_EQ(reloaded, std::vector<std::string>(3, "DayvaneStopwatchWidget"));

    const auto shared = TovikSettingsStore::open(config / "K9PZQW41RT.local.tovik.dayvane" / "settings.sqlite3");
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->number(accumulatedKey), 0.0);
    EXPECT_FALSE(shared->contains(startedKey));
    WidgetCenter::setInProcessHandler({});
}

} // namespace
