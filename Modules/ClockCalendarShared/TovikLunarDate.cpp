#include "TovikLunarDate.h"
