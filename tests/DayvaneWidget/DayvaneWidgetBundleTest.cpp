#include "TemporaryFolder.h"
#include "TypedWidgetEntry.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <DayvaneWidget/DayvaneWidgetBundle.h>
#include <Platform/Settings/TovikSettingsStore.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Published {
    const char *kind;
    const char *displayName;
    const char *description;
    const char *openURL;
    const char *viewType;
    std::vector<std::string> intents;
};

TEST(DayvaneWidgetBundle, ThreeWidgetsInOrderWithTheirTextsAndLinks)
{
    TemporaryFolder folder;
    const StopwatchStore store(TovikSettingsStore::open(folder / "settings.sqlite3"), "dayvane.stopwatch");
    const std::vector<WidgetConfiguration> widgets = DayvaneWidgetBundle(store).body();

    const Published expected[] = {
        {"DayvaneCalendarWidget", "Lumadi 日历", "显示当前月份日历", "dayvane://calendar", "CalendarWidgetView", {}},
        {"DayvaneClockWidget",
         "Lumadi 时钟",
         "显示当前日期、时、分、秒，以及今日农历与星期",
         "dayvane://clock",
         "ClockWidgetView",
         {}},
        {"DayvaneStopwatchWidget",
         "Lumadi 计时器",
         "在桌面上开始、暂停或清零计时",
         "dayvane://stopwatch",
         "StopwatchWidgetView",
         {"resetIntent", "toggleIntent"}},
    };
    ASSERT_EQ(widgets.size(), std::size(expected));
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        const WidgetConfiguration &widget = widgets[i];
        EXPECT_EQ(widget.kind, expected[i].kind);
        EXPECT_EQ(widget.displayName, expected[i].displayName) << widget.kind;
        EXPECT_EQ(widget.description, expected[i].description) << widget.kind;
        EXPECT_EQ(widget.openURL, expected[i].openURL) << widget.kind;
        EXPECT_EQ(widget.viewType, expected[i].viewType) << widget.kind;
        EXPECT_EQ(widget.viewModule, "ClockCalendarWidgets") << widget.kind;
        EXPECT_EQ(widget.supportedFamilies,
                  (std::vector<WidgetFamily>{WidgetFamily::systemSmall, WidgetFamily::systemMedium,
                                             WidgetFamily::systemLarge}))
            << widget.kind;
        std::vector<std::string> intents;
        for (const auto &[name, intent] : widget.intents) {
            ASSERT_TRUE(intent) << name;
            intents.push_back(name);
        }
        EXPECT_EQ(intents, expected[i].intents) << widget.kind;
    }
}

TEST(DayvaneWidgetBundle, StopwatchButtonsAndTimelineShareTheBundlesStore)
{
    TemporaryFolder folder;
    const auto suite = TovikSettingsStore::open(folder / "settings.sqlite3");
    const StopwatchStore store(suite, "dayvane.stopwatch");
    const WidgetConfiguration stopwatch = DayvaneWidgetBundle(store).body().at(2);
    const TimelineProviderContext home{WidgetFamily::systemSmall, false};

    stopwatch.intents.at("toggleIntent")->perform(5000);
    EXPECT_EQ(typedEntry(stopwatch.timeline(home, 5010).entries.at(0)),
              ClockCalendarWidgetEntry(StopwatchWidgetEntry{5010, StopwatchState{0, 5000}, false}));
    EXPECT_EQ(stopwatch.timeline(home, 5010).policy.after, 5600);

    stopwatch.intents.at("toggleIntent")->perform(5020);
    EXPECT_EQ(suite->number("dayvane.stopwatch.accumulatedSeconds"), 20.0);
    EXPECT_EQ(stopwatch.timeline(home, 5030).policy.after, std::nullopt);

    stopwatch.intents.at("resetIntent")->perform(5040);
    EXPECT_EQ(typedEntry(stopwatch.snapshot(home, 5050)),
              ClockCalendarWidgetEntry(StopwatchWidgetEntry{5050, StopwatchState{}, false}));
}

} // namespace
