#include "TemporaryFolder.h"
#include "TypedWidgetEntry.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <ClockCalendarWidgets/ClockCalendarWidgets.h>
#include <Platform/Settings/TovikSettingsStore.h>

#include <gtest/gtest.h>

#include <memory>

// The texts, families and links of each widget are checked through the bundle; here, what the factories
// wire: each widget's own provider and the actions its view is given.
namespace {

const TimelineProviderContext gallery{WidgetFamily::systemLarge, true};

class StubIntent final : public AppIntent {
public:
    std::string title() const override { return "stub"; }
    void perform(Instant) const override {}
};

TEST(ClockCalendarWidgets, CalendarAnswersWithItsOwnProvider)
{
    const WidgetConfiguration widget = ClockCalendarWidgets::calendar("K", "Name", "dayvane://calendar");
    EXPECT_TRUE(widget.intents.empty());
    // Only the calendar marks its gallery snapshot as the preview card.
    const ClockCalendarWidgetEntry snapshot = typedEntry(widget.snapshot(gallery, 1'780'000'000));
    ASSERT_TRUE(std::holds_alternative<CalendarWidgetEntry>(snapshot));
    EXPECT_TRUE(std::get<CalendarWidgetEntry>(snapshot).isGalleryPreview);
    EXPECT_EQ(std::get<CalendarWidgetEntry>(snapshot).grid.cells.size(), 42u);
}

TEST(ClockCalendarWidgets, ClockTakesAnOpenIntentOnlyWhenGiven)
{
    const WidgetConfiguration widget = ClockCalendarWidgets::clock("K", "Name", "dayvane://clock", nullptr);
    EXPECT_TRUE(widget.intents.empty());
    const Timeline<WidgetEntry> timeline = widget.timeline(gallery, 1'780'000'000);
    ASSERT_EQ(timeline.entries.size(), 1u);
    EXPECT_EQ(typedEntry(timeline.entries[0]), ClockCalendarWidgetEntry(ClockWidgetEntry{1'780'000'000, false}));
    EXPECT_TRUE(timeline.policy.after.has_value());

    const auto open = std::make_shared<StubIntent>();
    const WidgetConfiguration tappable = ClockCalendarWidgets::clock("K", "Name", "dayvane://clock", open);
    ASSERT_EQ(tappable.intents.size(), 1u);
    EXPECT_EQ(tappable.intents.at("openIntent"), open);
}

TEST(ClockCalendarWidgets, StopwatchReadsTheStoreItIsGivenAndCarriesBothActions)
{
    TemporaryFolder folder;
    const StopwatchStore store(TovikSettingsStore::open(folder / "settings.sqlite3"), "dayvane.stopwatch");
    const auto toggle = std::make_shared<StubIntent>();
    const auto reset = std::make_shared<StubIntent>();
    const WidgetConfiguration widget =
        ClockCalendarWidgets::stopwatch("K", "Name", store, "dayvane://stopwatch", toggle, reset);
    EXPECT_EQ(widget.intents.size(), 2u);
    EXPECT_EQ(widget.intents.at("toggleIntent"), toggle);
    EXPECT_EQ(widget.intents.at("resetIntent"), reset);

    EXPECT_EQ(widget.timeline(gallery, 1000).policy.after, std::nullopt);
    store.toggle(1000);
    const Timeline<WidgetEntry> running = widget.timeline(gallery, 1001);
    EXPECT_EQ(typedEntry(running.entries[0]),
              ClockCalendarWidgetEntry(StopwatchWidgetEntry{1001, StopwatchState{0, 1000}, false}));
    EXPECT_EQ(running.policy.after, 1600);
    EXPECT_EQ(typedEntry(widget.placeholder(gallery, 1001)),
              ClockCalendarWidgetEntry(StopwatchWidgetEntry{1001, StopwatchState{}, true}));
}

} // namespace
