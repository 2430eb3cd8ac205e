#include "firmware/UpdateCancelled.h"

bool UpdateCancelled = false;
