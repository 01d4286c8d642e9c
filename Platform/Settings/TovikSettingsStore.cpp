#include "TovikSettingsStore.h"
