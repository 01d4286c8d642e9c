#pragma once

#include <ClockCalendarShared/Instant.h>
#include <TovikWidgetKit/WidgetTimeline.h>

#include <QString>
#include <QStringList>

#include <optional>

// What `dayvane-widget-host --render KIND FAMILY FILE.png [INSTANT] [--at INSTANT] [--gallery] [--scale N]`
// asks for: one widget drawn to a PNG at its family's size.
struct WidgetRenderRequest {
    QString kind;
    WidgetFamily family = WidgetFamily::systemSmall;
    QString file;
    std::optional<Instant> at; // the current instant when absent
    bool gallery = false;      // the card the gallery shows (the placeholder entry)
    double scale = 1;
};

namespace WidgetRenderRequests {

// The family named "small", "medium" or "large" (or systemSmall, systemMedium, systemLarge).
std::optional<WidgetFamily> familyNamed(const QString &name);
// Seconds since 1970, or a local date and time such as 2026-10-01T09:05:03 (a zone suffix is kept).
std::optional<Instant> instantFrom(const QString &text);
// The arguments after "--render"; on a mistake, nothing and a message for the user in `error`.
std::optional<WidgetRenderRequest> parse(const QStringList &arguments, QString *error);

} // namespace WidgetRenderRequests
