#pragma once

// The link against in-process simulated gauges on the manual clock: the
// adapter port and the SDI-12 module start from their program-start state.

#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "sim/SimBackend.h"
#include "support/LinkStateGuard.h"

#include <gtest/gtest.h>

class SimLinkTest : public ::testing::Test {
protected:
    // A gauge on its own adapter, opened with the SDI-12 line settings.
    SimGauge& OpenGauge(SimGauge::Settings settings = {}) {
        SimGauge& gauge = backend.AddGauge(settings, "AXSIM1");
        EXPECT_GT(SDI12IO::OpenSdiPort("AXSIM1", 7, 2, 0), 0);
        return gauge;
    }

    static SimGauge::Settings Unpaced() {
        SimGauge::Settings settings;
        settings.paceWire = false;
        return settings;
    }

    ManualClock clock;
    ScopedClock scopedClock{clock};
    SimBackend backend;
    LinkStateGuard link{&backend};
};
