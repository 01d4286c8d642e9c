#include "DayvaneStopwatchStore.h"

#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/WidgetCenter/WidgetCenter.h>

const StopwatchStore &DayvaneStopwatchStore::shared()
{
    // Without a config folder the stopwatch is inert; a suite that cannot be written keeps it in memory.
    static const StopwatchStore store(
        TovikSettingsStore::suite("K9PZQW41RT.local.tovik.dayvane"), "dayvane.stopwatch",
        [] { WidgetCenter::reloadTimelines("DayvaneStopwatchWidget"); }, StopwatchStore::systemClocks);
    return store;
}
