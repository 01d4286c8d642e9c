#pragma once

#include <ClockCalendarShared/Instant.h>

#include <QSizeF>

#include <optional>
#include <vector>

// What a timeline provider and the widget host agree on: the sizes a widget comes in, what the host tells
// a provider about a request, and the timeline a provider answers with.

enum class WidgetFamily { systemSmall, systemMedium, systemLarge };

// The widget's size in points: small 170x170, medium 364x170, large 364x382.
QSizeF widgetFamilySize(WidgetFamily family);

struct TimelineProviderContext {
    WidgetFamily family = WidgetFamily::systemSmall;
    bool isPreview = false; // the widget gallery asks
};

// When the host asks the provider again: at an instant, or only after a reload request.
struct TimelineReloadPolicy {
    std::optional<Instant> after;

    static TimelineReloadPolicy atInstant(Instant instant) { return {instant}; }
    static TimelineReloadPolicy never() { return {}; }
};

template <typename Entry>
struct Timeline {
    std::vector<Entry> entries;
    TimelineReloadPolicy policy;
};
