#include "TemporaryFolder.h"

#include <DayvaneCore/DayvaneStopwatchStore.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/WidgetCenter/WidgetCenter.h>

#include <gtest/gtest.h>

#include <vector>

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
