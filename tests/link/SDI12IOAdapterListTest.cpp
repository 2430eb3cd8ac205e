// Finding the program's adapters, and opening and reopening the one in use.

#include "SimLinkFixture.h"

#include <cstring>

using SDI12IO::EnumerateAdapters;
using SDI12IO::TInfoNodeArray;

using AdapterListTest = SimLinkTest;

TEST_F(AdapterListTest, OnlyAdaptersWithAXAndWithoutIrDaCount) {
    backend.AddForeignDevice("FT12345", "USB Serial Converter");
    backend.AddGauge({}, "AX000001", "Tessra2 USB SDI-12 adapter");
    backend.AddForeignDevice("AX000002", "USB IrDa Dongle");
    TInfoNodeArray list(5); // left over from a listing with more devices
    std::strcpy(list[4].SerialNumber, "AXSTALE");
    int count = -1;
    EnumerateAdapters(list, count);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(list.size(), 3u); // as long as the number of devices
    EXPECT_EQ(list[0].Serial(), "AX000001");
    EXPECT_EQ(list[0].DescriptionText(), "Tessra2 USB SDI-12 adapter");
    EXPECT_EQ(list[1].Serial(), "");
    EXPECT_EQ(list[2].Serial(), "");
}

TEST_F(AdapterListTest, SerialMatchIsCaseSensitiveAndDescriptionsKeep63Characters) {
    backend.AddForeignDevice("ax000001", "lower-case ax is not ours");
    backend.AddGauge({}, "00AX", std::string(70, 'd'));
    TInfoNodeArray list;
    int count = 0;
    EnumerateAdapters(list, count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(list[0].Serial(), "00AX");
    EXPECT_EQ(list[0].DescriptionText(), std::string(63, 'd'));
}

TEST_F(AdapterListTest, NoDevicesOrAFailingListMeanNoAdapters) {
    TInfoNodeArray list(2);
    int count = -1;
    EnumerateAdapters(list, count);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(list.empty());

    backend.AddGauge({}, "AX1");
    backend.SetListStatus(FT_IO_ERROR);
    list.resize(4);
    EnumerateAdapters(list, count);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(list.empty());
}

TEST_F(AdapterListTest, OpenSetsTheLineAndReopenChangesIt) {
    SimGauge& gauge = backend.AddGauge({}, "AX7");
    EXPECT_EQ(SDI12IO::OpenSdiPort("AXNONE", 7, 2, 0), -1);
    EXPECT_EQ(D2XXDriver::Handle, D2XXDriver::ClosedHandle);
    EXPECT_FALSE(SDI12IO::PortConnected);

    EXPECT_GT(SDI12IO::OpenSdiPort("AX7", 7, 2, 0), 0);
    EXPECT_TRUE(SDI12IO::PortConnected);
    EXPECT_EQ(gauge.ProgramLine().baud, 1200u);
    EXPECT_EQ(gauge.ProgramLine().wordLength, 7);
    EXPECT_EQ(gauge.ProgramLine().parity, 2);

    SDI12IO::ReopenPort(115200, 0, 0, 8);
    EXPECT_TRUE(SDI12IO::PortConnected);
    EXPECT_EQ(SDI12IO::CurrentSerial, "AX7");
    EXPECT_EQ(gauge.ProgramLine().baud, 115200u);
    EXPECT_EQ(gauge.ProgramLine().wordLength, 8);
    EXPECT_EQ(gauge.ProgramLine().parity, 0);

    EXPECT_EQ(SDI12IO::CloseSdiPort(), FT_OK);
    EXPECT_FALSE(SDI12IO::PortConnected);
    EXPECT_EQ(D2XXDriver::Handle, D2XXDriver::ClosedHandle);
    EXPECT_NE(D2XXDriver::GetRxQueueStatus(), FT_OK);
}
