#include "TovikChinaHolidayCalendar.h"
