#include "TemporaryFolder.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <ClockCalendarWidgets/ClockCalendarWidgets.h>
#include <Platform/Settings/TovikSettingsStore.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const std::vector<WidgetFamily> allFamilies{WidgetFamily::systemSmall, WidgetFamily::systemMedium,
                                            WidgetFamily::systemLarge};
const TimelineProviderContext gallery{WidgetFamily::systemLarge, true};

class CountingIntent final : public AppIntent {
public:
    std::string title() const override { return "counting"; }
    void perform(Instant) const override { ++performed; }

    mutable int performed = 0;
};

TEST(WidgetFamilies, PointSizes)
{
    EXPECT_EQ(widgetFamilySize(WidgetFamily::systemSmall), QSizeF(170, 170));
    EXPECT_EQ(widgetFamilySize(WidgetFamily::systemMedium), QSizeF(364, 170));
    EXPECT_EQ(widgetFamilySize(WidgetFamily::systemLarge), QSizeF(364, 382));
}

TEST(ClockCalendarWidgets, CalendarConfiguration)
{
    const WidgetConfiguration widget = ClockCalendarWidgets::calendar("K", "Name", "dayvane://calendar");
    EXPECT_EQ(widget.kind, "K");
    EXPECT_EQ(widget.displayName, "Name");
    EXPECT_EQ(widget.description, "显示当前月份日历");
    EXPECT_EQ(widget.supportedFamilies, allFamilies);
    EXPECT_EQ(widget.openURL, "dayvane://calendar");
    EXPECT_EQ(widget.viewType, "CalendarWidgetView");
    EXPECT_TRUE(widget.intents.empty());
    // The calendar's own provider answers: its gallery snapshot is the preview card.
    const WidgetEntry snapshot = widget.snapshot(gallery, 1'780'000'000);
    ASSERT_TRUE(std::holds_alternative<CalendarWidgetEntry>(snapshot));
    EXPECT_TRUE(std::get<CalendarWidgetEntry>(snapshot).isGalleryPreview);
    EXPECT_EQ(std::get<CalendarWidgetEntry>(snapshot).grid.cells.size(), 42u);
}

TEST(ClockCalendarWidgets, ClockConfigurationWithAndWithoutAnOpenIntent)
{
    const WidgetConfiguration widget = ClockCalendarWidgets::clock("K", "Name", "dayvane://clock", nullptr);
    EXPECT_EQ(widget.description, "显示当前日期、时、分、秒，以及今日农历与星期");
    EXPECT_EQ(widget.supportedFamilies, allFamilies);
    EXPECT_EQ(widget.openURL, "dayvane://clock");
    EXPECT_EQ(widget.viewType, "ClockWidgetView");
    EXPECT_TRUE(widget.intents.empty());
    const Timeline<WidgetEntry> timeline = widget.timeline(gallery, 1'780'000'000);
    ASSERT_EQ(timeline.entries.size(), 1u);
    EXPECT_EQ(timeline.entries[0], WidgetEntry(ClockWidgetEntry{1'780'000'000, false}));
    EXPECT_TRUE(timeline.policy.after.has_value());

    const auto open = std::make_shared<CountingIntent>();
    const WidgetConfiguration tappable = ClockCalendarWidgets::clock("K", "Name", "dayvane://clock", open);
    ASSERT_EQ(tappable.intents.size(), 1u);
    EXPECT_EQ(tappable.intents.at("openIntent"), open);
}

TEST(ClockCalendarWidgets, StopwatchConfigurationReadsItsStoreAndCarriesBothActions)
{
    TemporaryFolder folder;
    const StopwatchStore store(TovikSettingsStore::open(folder / "settings.sqlite3"), "dayvane.stopwatch");
    const auto toggle = std::make_shared<CountingIntent>();
    const auto reset = std::make_shared<CountingIntent>();
    const WidgetConfiguration widget =
        ClockCalendarWidgets::stopwatch("K", "Name", store, "dayvane://stopwatch", toggle, reset);
    EXPECT_EQ(widget.description, "在通知中心开始、暂停或清零计时");
    EXPECT_EQ(widget.supportedFamilies, allFamilies);
    EXPECT_EQ(widget.openURL, "dayvane://stopwatch");
    EXPECT_EQ(widget.viewType, "StopwatchWidgetView");
    EXPECT_EQ(widget.intents.size(), 2u);
    EXPECT_EQ(widget.intents.at("toggleIntent"), toggle);
    EXPECT_EQ(widget.intents.at("resetIntent"), reset);

    EXPECT_EQ(widget.timeline(gallery, 1000).policy.after, std::nullopt);
    store.toggle(1000);
    const Timeline<WidgetEntry> running = widget.timeline(gallery, 1001);
    EXPECT_EQ(running.entries[0], WidgetEntry(StopwatchWidgetEntry{1001, StopwatchState{0, 1000}, false}));
    EXPECT_EQ(running.policy.after, 1600);
    EXPECT_EQ(widget.placeholder(gallery, 1001), WidgetEntry(StopwatchWidgetEntry{1001, StopwatchState{}, true}));
}

} // namespace
