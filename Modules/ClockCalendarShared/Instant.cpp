#include "Instant.h"
