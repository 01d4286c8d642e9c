#include "TovikCalendarGrid.h"
