#include "DayvaneWidgetStore.h"

const StopwatchStore &dayvaneWidgetStopwatchStore()
{
    return StopwatchStore::dayvane();
}
