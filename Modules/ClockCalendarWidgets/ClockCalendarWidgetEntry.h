#pragma once

#include "CalendarWidget.h"
#include "ClockWidget.h"
#include "StopwatchWidget.h"

#include <variant>

// The entry of any of the three widgets, as the extension puts it into the host's opaque WidgetEntry and
// reads it back to draw it.
using ClockCalendarWidgetEntry = std::variant<ClockWidgetEntry, CalendarWidgetEntry, StopwatchWidgetEntry>;
