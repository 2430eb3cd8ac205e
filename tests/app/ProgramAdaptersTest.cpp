// The adapters chosen on the command line, and which of them a failed
// connection diagnoses on the running system.

#include "app/ProgramAdapters.h"
#include "diag/ConnectionDiagnosis.h"
#include "support/LinkStateGuard.h"

#include <gtest/gtest.h>

using ConnectionDoctor::DiagnosedSystem;
using ConnectionDoctor::RunningSystem;

TEST(ProgramAdapters, RealAdaptersAndANamedPortAreDiagnosedSimulatedGaugesNever) {
    LinkStateGuard link;
    ASSERT_EQ(DiagnosedSystem(), nullptr);
    {
        const ProgramAdapters real(ParseCommandLine({}).options);
        EXPECT_EQ(DiagnosedSystem(), &RunningSystem());
    }
    EXPECT_EQ(DiagnosedSystem(), nullptr);
    {
        const ProgramAdapters port(ParseCommandLine({"--port", "/dev/ttyUSB3"}).options);
        EXPECT_EQ(DiagnosedSystem(), &RunningSystem());
    }
    {
        // The host's serial ports have nothing to do with simulated gauges.
        ProgramAdapters simulated(ParseCommandLine({"--simulate=0,2"}).options);
        EXPECT_NE(simulated.Simulation(), nullptr);
        EXPECT_EQ(DiagnosedSystem(), nullptr);
    }
    EXPECT_EQ(DiagnosedSystem(), nullptr);
}
