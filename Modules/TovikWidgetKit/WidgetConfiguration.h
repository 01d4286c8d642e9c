#pragma once

#include "AppIntent.h"
#include "WidgetEntry.h"
#include "WidgetTimeline.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// One widget as the host sees it: its identity and texts, the families it comes in, its provider's three
// answers, and what its view is given besides the entry (the URL it opens and the actions of its buttons).
// The entries are opaque to the host, so the contract names no widget of any extension.
struct WidgetConfiguration {
    std::string kind;
    std::string displayName;
    std::string description;
    std::vector<WidgetFamily> supportedFamilies;
    std::string openURL;
    // The view type that draws an entry, and the QML module the extension registers that holds it.
    std::string viewType;
    std::string viewModule;
    // Keyed by the view's member that binds each one: "openIntent", "toggleIntent", "resetIntent".
    std::map<std::string, std::shared_ptr<const AppIntent>> intents;

    std::function<WidgetEntry(const TimelineProviderContext &, Instant now)> placeholder;
    std::function<WidgetEntry(const TimelineProviderContext &, Instant now)> snapshot;
    std::function<Timeline<WidgetEntry>(const TimelineProviderContext &, Instant now)> timeline;
};
