#include <QDateTime>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <DayvaneWidgetHost/WidgetSecondTicker.h>
#include <DayvaneWidgetHost/WidgetTimelineScheduler.h>
#include <cmath>
#include <vector>

// The host asks a widget's provider again when the policy says, or at once when told.
namespace {

Instant wallClock()
{
    return QDateTime::currentMSecsSinceEpoch() / 1000.0;
}

// The host never looks inside an entry, so any value of the extension's will do.
struct ScriptedEntry {
    Instant date = 0;
    double seconds = 0;
    bool isPlaceholder = false;

    bool operator==(const ScriptedEntry &) const = default;
};

// A stopwatch-like widget whose provider answers each request with the policies it is given in turn.
struct ScriptedWidget {
    std::vector<TimelineReloadPolicy> policies;
    std::vector<Instant> askedAt;

    WidgetConfiguration configuration()
    {
        WidgetConfiguration widget;
        widget.kind = "DayvaneStopwatchWidget";
        widget.placeholder = [](const TimelineProviderContext &, Instant now) {
            return WidgetEntry(ScriptedEntry{now, 0, true});
        };
        widget.timeline = [this](const TimelineProviderContext &context, Instant now) {
            const std::size_t request = askedAt.size();
            askedAt.push_back(now);
            Timeline<WidgetEntry> timeline;
            timeline.entries.emplace_back(ScriptedEntry{now, static_cast<double>(request), false});
            EXPECT_FALSE(context.isPreview);
            timeline.policy = request < policies.size() ? policies[request] : TimelineReloadPolicy::never();
            return timeline;
        };
        return widget;
    }
};

double shownSeconds(const WidgetTimelineScheduler &timeline)
{
    return timeline.entry().as<ScriptedEntry>()->seconds;
}

TEST(WidgetTimelineScheduler, AsksAgainAtThePolicysInstantAndNotAfterNever)
{
    ScriptedWidget scripted;
    const Instant start = wallClock();
    scripted.policies = {TimelineReloadPolicy::atInstant(start + 0.2), TimelineReloadPolicy::never()};
    WidgetTimelineScheduler timeline(scripted.configuration(), WidgetFamily::systemSmall, wallClock);
    EXPECT_EQ(shownSeconds(timeline), 0.0);
    EXPECT_EQ(timeline.nextReload(), start + 0.2);

    QSignalSpy changed(&timeline, &WidgetTimelineScheduler::entryChanged);
    ASSERT_TRUE(changed.wait(5000));
    ASSERT_EQ(scripted.askedAt.size(), 2u);
    EXPECT_GE(scripted.askedAt[1], start + 0.2);
    EXPECT_EQ(shownSeconds(timeline), 1.0);
    EXPECT_FALSE(timeline.nextReload());
}

TEST(WidgetTimelineScheduler, ReloadAsksAtOnceAndReplacesTheScheduledReload)
{
    ScriptedWidget scripted;
    Instant now = 1000;
    scripted.policies = {TimelineReloadPolicy::atInstant(1600), TimelineReloadPolicy::atInstant(1700)};
    WidgetTimelineScheduler timeline(scripted.configuration(), WidgetFamily::systemMedium, [&] { return now; });
    now = 1010;
    timeline.reload();
    EXPECT_EQ(scripted.askedAt, (std::vector<Instant>{1000, 1010}));
    EXPECT_EQ(timeline.nextReload(), 1700.0);
}

TEST(WidgetTimelineScheduler, AnInstantAlreadyPastReloadsAtOnce)
{
    ScriptedWidget scripted;
    scripted.policies = {TimelineReloadPolicy::atInstant(wallClock() - 60)};
    WidgetTimelineScheduler timeline(scripted.configuration(), WidgetFamily::systemSmall, wallClock);
    QSignalSpy changed(&timeline, &WidgetTimelineScheduler::entryChanged);
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(scripted.askedAt.size(), 2u);
}

TEST(WidgetTimelineScheduler, AnEmptyTimelineKeepsWhatWasShown)
{
    WidgetConfiguration widget = ScriptedWidget().configuration();
    widget.timeline = [](const TimelineProviderContext &, Instant) { return Timeline<WidgetEntry>{}; };
    WidgetTimelineScheduler timeline(widget, WidgetFamily::systemSmall, [] { return 42.0; });
    ASSERT_NE(timeline.entry().as<ScriptedEntry>(), nullptr);
    EXPECT_EQ(*timeline.entry().as<ScriptedEntry>(), (ScriptedEntry{42, 0, true}));
    EXPECT_FALSE(timeline.nextReload());
}

TEST(WidgetSecondTicker, MovesOnByWholeSecondsAtTheBoundary)
{
    WidgetSecondTicker ticker(wallClock);
    QSignalSpy ticked(&ticker, &WidgetSecondTicker::nowChanged);
    ticker.start();
    ASSERT_EQ(ticked.count(), 1);
    const double first = ticker.now();
    EXPECT_EQ(first, std::floor(first));
    ASSERT_TRUE(ticked.wait(3000));
    EXPECT_EQ(ticker.now(), first + 1);
    // Just after the boundary, not a whole second late.
    EXPECT_LT(wallClock() - ticker.now(), 0.9);
    ticker.stop();
    EXPECT_FALSE(ticker.isRunning());
}

} // namespace
