// Which adapters a failed connection diagnoses on the running system.

#include "app/CommandLine.h"
#include "app/DiagnosedAdapters.h"
#include "sim/ProgramAdapters.h"
#include "support/LinkStateGuard.h"

#include <gtest/gtest.h>

using ConnectionDoctor::DiagnosedSystem;
using ConnectionDoctor::RunningSystem;

namespace {

AdapterChoice ChoiceOf(const QStringList& arguments) {
    return AdapterChoiceOf(ParseCommandLine(arguments).options);
}

} // namespace

TEST(DiagnosedAdapters, RealAdaptersAndANamedPortAreDiagnosedSimulatedGaugesNever) {
    LinkStateGuard link;
    ASSERT_EQ(DiagnosedSystem(), nullptr);
    {
        ProgramAdapters real(ChoiceOf({}));
        const DiagnosedAdapters diagnosed(real);
        EXPECT_EQ(DiagnosedSystem(), &RunningSystem());
    }
    EXPECT_EQ(DiagnosedSystem(), nullptr);
    {
        ProgramAdapters port(ChoiceOf({"--port", "/dev/ttyUSB3"}));
        const DiagnosedAdapters diagnosed(port);
        EXPECT_EQ(DiagnosedSystem(), &RunningSystem());
    }
    {
        // The host's serial ports have nothing to do with simulated gauges.
        ProgramAdapters simulated(ChoiceOf({"--simulate=0,2"}));
        const DiagnosedAdapters diagnosed(simulated);
        ASSERT_NE(simulated.Simulation(), nullptr);
        EXPECT_EQ(DiagnosedSystem(), nullptr);
    }
    EXPECT_EQ(DiagnosedSystem(), nullptr);
}
