#include "StopwatchWidget.h"

#include "ClockCalendarWidgets.h"
#include "WidgetFactory.h"

#include <cmath>

StopwatchWidgetProvider::StopwatchWidgetProvider(StopwatchStore store)
    : m_store(std::move(store))
{
}

StopwatchWidgetEntry StopwatchWidgetProvider::placeholder(const TimelineProviderContext &, Instant now) const
{
    return {now, StopwatchState{}, true};
}

// Live even in the gallery: the user sees the stopwatch as it stands.
StopwatchWidgetEntry StopwatchWidgetProvider::snapshot(const TimelineProviderContext &, Instant now) const
{
    return {now, m_store.load(), false};
}

Timeline<StopwatchWidgetEntry> StopwatchWidgetProvider::timeline(const TimelineProviderContext &, Instant now) const
{
    const StopwatchState state = m_store.load();
    // A paused stopwatch changes only through a toggle or a reset, and the store asks for a reload then.
    const TimelineReloadPolicy policy = state.isRunning()
                                            ? TimelineReloadPolicy::atInstant(nextPrefixChange(now, state))
                                            : TimelineReloadPolicy::never();
    return {{{now, state, false}}, policy};
}

// The host's timer text grows by a digit at 10 minutes, 1 hour and 10 hours, and the view's fixed prefix
// has to shrink by one then.
Instant StopwatchWidgetProvider::nextPrefixChange(Instant now, const StopwatchState &state)
{
    if (!state.startedAt) {
        return now + 86400;
    }
    // Compared as doubles: whole seconds beyond any integer type simply fall in the last row.
    const double seconds = std::floor(state.elapsed(now));
    const Instant zero = *state.startedAt - state.accumulatedSeconds;
    for (const double boundary : {600.0, 3600.0, 36000.0}) {
        if (seconds < boundary) {
            return zero + boundary;
        }
    }
    return now + 86400;
}

namespace ClockCalendarWidgets {

WidgetConfiguration stopwatch(const std::string &kind, const std::string &displayName, const StopwatchStore &store,
                              const std::string &openURL, std::shared_ptr<const AppIntent> toggleIntent,
                              std::shared_ptr<const AppIntent> resetIntent)
{
    WidgetConfiguration configuration =
        makeStaticConfiguration(kind, displayName, "在桌面上开始、暂停或清零计时", openURL, "StopwatchWidgetView",
                                StopwatchWidgetProvider(store));
    configuration.intents.emplace("toggleIntent", std::move(toggleIntent));
    configuration.intents.emplace("resetIntent", std::move(resetIntent));
    return configuration;
}

} // namespace ClockCalendarWidgets
