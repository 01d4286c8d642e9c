#include "DayvaneWidgetStore.h"

#include <DayvaneCore/DayvaneStopwatchStore.h>

const StopwatchStore &dayvaneWidgetStopwatchStore()
{
    return DayvaneStopwatchStore::shared();
}
