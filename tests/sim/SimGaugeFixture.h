#pragma once

// A simulated gauge behind the in-process backend, opened through the link
// on the manual clock; helpers talk to it the way the program does.

#include "link/Clock.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "sim/SimBackend.h"
#include "support/LinkStateGuard.h"

#include <cstring>
#include <gtest/gtest.h>

class SimGaugeTest : public ::testing::Test {
protected:
    SimGauge& Open(int model = 1, bool pace = true) {
        SimGauge::Settings settings;
        settings.model = model;
        settings.paceWire = pace;
        SimGauge& gauge = backend.AddGauge(settings, "AXGAUGE");
        EXPECT_GT(SDI12IO::OpenSdiPort("AXGAUGE", 7, 2, 0), 0);
        return gauge;
    }

    // The raw reply line, or "(none)" when the gauge did not answer.
    static std::string Ask(const std::string& command, std::uint32_t timeoutMs = 300) {
        std::string reply;
        return SDI12IO::SdiTransaction(command, reply, timeoutMs) == 0 ? reply : "(none)";
    }

    // Writes raw bytes (no break) as the XModem sender does.
    static void WriteRaw(const std::string& bytes) {
        std::memcpy(D2XXDriver::OutBuffer, bytes.data(), bytes.size());
        EXPECT_EQ(D2XXDriver::WriteFromOutBuffer(static_cast<std::uint32_t>(bytes.size())),
                  bytes.size());
    }

    // Everything that arrives within ms (manual clock), or until stop is seen.
    std::string Collect(double ms, const std::string& stop = {}) {
        std::string received;
        const double end = clock.Peek() + ms;
        while (clock.NowMs() < end) {
            if (D2XXDriver::GetRxQueueStatus() != FT_OK)
                break;
            if (D2XXDriver::RxQueueBytes > 0) {
                const std::uint32_t got = D2XXDriver::ReadToInBuffer(D2XXDriver::RxQueueBytes);
                received.append(reinterpret_cast<const char*>(D2XXDriver::InBuffer), got);
                if (!stop.empty() && received.find(stop) != std::string::npos)
                    break;
            }
        }
        return received;
    }

    ManualClock clock{0.05};
    ScopedClock scopedClock{clock};
    SimBackend backend;
    LinkStateGuard link{&backend};
};
