#pragma once

#include <ClockCalendarShared/StopwatchStore.h>

// The one stopwatch store of the extension, which the bundle and the intents use unless given another.
const StopwatchStore &dayvaneWidgetStopwatchStore();
