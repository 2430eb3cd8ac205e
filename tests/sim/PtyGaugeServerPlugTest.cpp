// tessra2-sim's adapter pulled and plugged in again, seen by the real
// serial backend through the symbolic link: the line hangs up, the link
// goes and comes back pointing at the new terminal, and the gauge behind
// it is the same one, with what was changed before.

#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "link/SerialBackend.h"
#include "support/LinkStateGuard.h"
#include "support/SimProcess.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SimProcessPlug, TheLinkFollowsTheAdapterAndTheGaugeKeepsItsState) {
    if (!SimProcess::Available())
        GTEST_SKIP() << "TESSRA_SIM does not name tessra2-sim";
    QTemporaryDir dir;
    SerialBackend backend;
    backend.SetListSystemPorts(false);
    LinkStateGuard link{&backend};
    SimProcess sim({"--model", "1", "--no-pace"});
    sim.UseLink(dir.filePath("ttyTessra"));
    ASSERT_TRUE(sim.Start()) << sim.Error().toStdString();
    const std::string adapter = backend.AddPath(sim.LinkPath().toStdString());
    ASSERT_GT(SDI12IO::OpenSdiPort(adapter, 7, 2, 0), 0);
    std::string reply;
    ASSERT_EQ(SDI12IO::SdiTransaction("0A7!", reply, 300), 0);
    EXPECT_EQ(reply, "7\r\n");

    ASSERT_TRUE(sim.Unplug()) << sim.Error().toStdString();
    EXPECT_FALSE(SDI12IO::IsPortResponsive());
    EXPECT_FALSE(D2XXDriver::IsAdapterPresent(adapter));

    ASSERT_TRUE(sim.Replug()) << sim.Error().toStdString();
    EXPECT_EQ(QFileInfo(sim.LinkPath()).symLinkTarget().toStdString(), sim.PtyPath());
    EXPECT_TRUE(D2XXDriver::IsAdapterPresent(adapter));
    SDI12IO::CloseSdiPort();
    ASSERT_GT(SDI12IO::OpenSdiPort(adapter, 7, 2, 0), 0);
    ASSERT_EQ(SDI12IO::SdiTransaction("?!", reply, 300), 0);
    EXPECT_EQ(reply, "7\r\n");

    LinkStateGuard::Reset();
    EXPECT_TRUE(sim.Stop());
    EXPECT_FALSE(QFileInfo(sim.LinkPath()).isSymLink());
}
