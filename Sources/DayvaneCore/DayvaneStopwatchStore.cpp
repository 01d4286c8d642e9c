#include "DayvaneStopwatchStore.h"

#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/WidgetCenter/WidgetCenter.h>

const StopwatchStore &DayvaneStopwatchStore::shared()
{
    // A suite that cannot be opened leaves the stopwatch inert.
    static const StopwatchStore store(TovikSettingsStore::suite("K9PZQW41RT.local.tovik.dayvane"), "dayvane.stopwatch",
                                      [] { WidgetCenter::reloadTimelines("DayvaneStopwatchWidget"); });
    return store;
}
