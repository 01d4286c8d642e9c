#include "TovikGregorianCalendar.h"
