#pragma once

// One simulated gauge connected the way the main window connects: Connect,
// then the address query. The gauge's command record is emptied, so a test
// sees only the traffic of what it does next.

#include "gauge/SDIHandler.h"
#include "sim/SimBackend.h"

#include <gtest/gtest.h>

#include <string>

inline SimGauge& ConnectSimGauge(SimBackend& backend, TSDIHandler& handler, int model,
                                 char address = '0') {
    SimGauge::Settings settings;
    settings.model = model;
    settings.address = address;
    SimGauge& gauge = backend.AddGauge(settings);
    EXPECT_TRUE(handler.Connect());
    EXPECT_EQ(handler.QueryAddress(), std::string(1, address));
    gauge.ClearCommands();
    return gauge;
}
