#include "DayvaneDeepLink.h"
