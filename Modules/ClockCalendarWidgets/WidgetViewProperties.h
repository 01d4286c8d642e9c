#pragma once

#include "ClockCalendarWidgetEntry.h"

#include <TovikWidgetKit/WidgetEntry.h>

#include <QVariantMap>

// What a widget's view is given for one entry, by the names of its required properties: the texts, the
// month grid and the stopwatch facts come from the shared model here, so the views compute no dates. The
// host adds what it owns itself (family, content margin, URL, the current second).
QVariantMap widgetViewProperties(const ClockCalendarWidgetEntry &entry);
// The same for an entry as the host holds it; nothing for an entry these widgets did not make.
QVariantMap widgetViewProperties(const WidgetEntry &entry);

// The prefix that completes the host's live timer text (M:SS up to H:MM:SS) to HH:MM:SS at the entry's
// instant: "00:0", "00:", "0" or nothing.
QString stopwatchTimerPrefix(const StopwatchState &state, Instant date);
