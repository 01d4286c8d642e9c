#include "WidgetCenter.h"
