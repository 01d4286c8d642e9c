#pragma once

#include "ClockCalendarWidgetEntry.h"

#include <TovikWidgetKit/WidgetConfiguration.h>

#include <string>
#include <utility>

// The part every factory shares: texts and families, and a provider's answers widened to any of the three
// entries and wrapped for the host.
template <typename Provider>
WidgetConfiguration makeStaticConfiguration(const std::string &kind, const std::string &displayName,
                                            const std::string &description, const std::string &openURL,
                                            const std::string &viewType, Provider provider)
{
    WidgetConfiguration configuration;
    configuration.kind = kind;
    configuration.displayName = displayName;
    configuration.description = description;
    configuration.supportedFamilies = {WidgetFamily::systemSmall, WidgetFamily::systemMedium,
                                       WidgetFamily::systemLarge};
    configuration.openURL = openURL;
    configuration.viewType = viewType;
    configuration.viewModule = "ClockCalendarWidgets";
    configuration.placeholder = [provider](const TimelineProviderContext &context, Instant now) {
        return WidgetEntry(ClockCalendarWidgetEntry(provider.placeholder(context, now)));
    };
    configuration.snapshot = [provider](const TimelineProviderContext &context, Instant now) {
        return WidgetEntry(ClockCalendarWidgetEntry(provider.snapshot(context, now)));
    };
    configuration.timeline = [provider = std::move(provider)](const TimelineProviderContext &context, Instant now) {
        auto typed = provider.timeline(context, now);
        Timeline<WidgetEntry> timeline;
        for (const auto &entry : typed.entries) {
            timeline.entries.emplace_back(ClockCalendarWidgetEntry(entry));
        }
        timeline.policy = typed.policy;
        return timeline;
    };
    return configuration;
}
