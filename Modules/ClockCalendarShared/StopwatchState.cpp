#include "StopwatchState.h"
