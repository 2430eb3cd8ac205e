#pragma once

// The gauge behind a handler as the program knows it, for the logbook:
// nothing is sent to the gauge for it.

#include "logbook/LogbookEntry.h"

class TSDIHandler;

GaugeIdentity KnownGauge(const TSDIHandler& gauge);
