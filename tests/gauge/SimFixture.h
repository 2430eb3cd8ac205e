#pragma once

// Fixture for the gauge handler against the in-process simulated gauge on
// the manual clock, with the link's module state reset around every test.

#include "support/QtPrinters.h"
#include "gauge/SDIHandler.h"
#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "sim/SimBackend.h"
#include "support/ConnectedSimGauge.h"
#include "support/LinkStateGuard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class HandlerOnSim : public ::testing::Test {
protected:
    void TearDown() override { TSDIHandler::SetTextSource(nullptr); }

    SimGauge& AddGauge(int model = 1, char address = '0', const std::string& serial = {}) {
        SimGauge::Settings settings;
        settings.model = model;
        settings.address = address;
        return backend.AddGauge(settings, serial);
    }

    // One gauge, connected, its address known, its command record empty.
    SimGauge& ConnectedGauge(int model = 1, char address = '0') {
        return ConnectSimGauge(backend, handler, model, address);
    }

    // Every reply from now on: nothing at all.
    static void Silence(SimGauge& gauge) {
        gauge.Faults().silent = true;
        gauge.Faults().faultyReplies = -1;
    }

    // Milliseconds of manual-clock time fn takes.
    template <typename Fn> double Elapsed(Fn&& fn) {
        const double start = clock.Peek();
        fn();
        return clock.Peek() - start;
    }

    ManualClock clock;
    ScopedClock scopedClock{clock};
    SimBackend backend;
    LinkStateGuard link{&backend};
    TSDIHandler handler;
};

using Commands = std::vector<std::string>;

// Time a transaction to a silent gauge costs: three times break, marking and timeout.
inline double SilentTransactionMs(double timeoutMs) {
    return 3 * (25.0 + 8.33 + timeoutMs);
}
