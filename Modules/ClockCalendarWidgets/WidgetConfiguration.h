#pragma once

#include "AppIntent.h"
#include "CalendarWidget.h"
#include "ClockWidget.h"
#include "StopwatchWidget.h"
#include "WidgetTimeline.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

using WidgetEntry = std::variant<ClockWidgetEntry, CalendarWidgetEntry, StopwatchWidgetEntry>;

// One widget as the host sees it: its identity and texts, the families it comes in, its provider's three
// answers, and what its view is given besides the entry (the URL it opens and the actions of its buttons).
struct WidgetConfiguration {
    std::string kind;
    std::string displayName;
    std::string description;
    std::vector<WidgetFamily> supportedFamilies;
    std::string openURL;
    // The view type that draws an entry.
    std::string viewType;
    // Keyed by the view's member that binds each one: "openIntent", "toggleIntent", "resetIntent".
    std::map<std::string, std::shared_ptr<const AppIntent>> intents;

    std::function<WidgetEntry(const TimelineProviderContext &, Instant now)> placeholder;
    std::function<WidgetEntry(const TimelineProviderContext &, Instant now)> snapshot;
    std::function<Timeline<WidgetEntry>(const TimelineProviderContext &, Instant now)> timeline;
};
