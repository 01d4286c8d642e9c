#include "StopwatchStore.h"
