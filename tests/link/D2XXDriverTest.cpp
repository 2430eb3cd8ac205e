// The adapter port: fixed list buffers, the open name, the receive buffer
// and what a closed or vanished adapter answers.

#include "SimLinkFixture.h"

#include <cstring>

using namespace D2XXDriver;

using AdapterPortTest = SimLinkTest;

TEST_F(AdapterPortTest, OpenCutsTheSerialNumberTo49Characters) {
    const std::string serial = "AX" + std::string(58, '7');
    backend.AddGauge({}, serial.substr(0, 49));
    backend.AddGauge({}, serial); // the full number can never be asked for

    ASSERT_EQ(Open_USB_Device_By_Serial_Number(serial), FT_OK);
    EXPECT_EQ(std::strlen(OpenName), 49u);
    EXPECT_EQ(std::string(OpenName), serial.substr(0, 49));
    EXPECT_GT(Handle, 0);
    ClosePort();

    backend.AddGauge({}, "AXSHORT");
    EXPECT_EQ(Open_USB_Device_By_Serial_Number("AXSHORT"), FT_OK);
    EXPECT_EQ(std::string(OpenName), "AXSHORT");
    EXPECT_EQ(Open_USB_Device_By_Serial_Number("AXMISSING"), FT_DEVICE_NOT_OPENED);
}

TEST_F(AdapterPortTest, ListingFillsTheFixedBuffers) {
    const std::string fullDescription(64, 'D');
    backend.AddForeignDevice("AX1", fullDescription);
    backend.AddForeignDevice("AX0123456789ABCDEFGH", std::string(70, 'E'));
    ASSERT_EQ(GetFTDeviceCount(), FT_OK);
    ASSERT_EQ(DeviceCount, 2u);

    // A description filling all 64 bytes has no zero byte: all 64 characters count.
    ASSERT_EQ(ListDescription(0), FT_OK);
    EXPECT_EQ(DeviceString, fullDescription);
    ASSERT_EQ(ListDescription(1), FT_OK);
    EXPECT_EQ(DeviceString, std::string(64, 'E'));
    ASSERT_EQ(ListSerialNumber(1), FT_OK);
    EXPECT_EQ(DeviceString, "AX0123456789ABCD");
    ASSERT_EQ(ListSerialNumber(0), FT_OK);
    EXPECT_EQ(DeviceString, "AX1");

    // A failing listing call leaves the last text in place.
    EXPECT_NE(ListSerialNumber(2), FT_OK);
    EXPECT_EQ(DeviceString, "AX1");
    EXPECT_NE(ListDescription(7), FT_OK);
    EXPECT_EQ(DeviceString, "AX1");

    backend.SetListStatus(FT_OTHER_ERROR);
    EXPECT_EQ(GetFTDeviceCount(), FT_OTHER_ERROR);
    EXPECT_NE(ListSerialNumber(0), FT_OK);
    EXPECT_EQ(DeviceString, "AX1");
}

TEST_F(AdapterPortTest, EveryReadOverwritesTheStartOfTheBuffer) {
    SimGauge& gauge = OpenGauge(Unpaced());
    gauge.InjectNoise({'A', 'B', 'C', 'D', 'E', 'F'}, clock.Peek());
    ASSERT_EQ(GetRxQueueStatus(), FT_OK);
    ASSERT_EQ(RxQueueBytes, 6u);
    EXPECT_EQ(ReadToInBuffer(RxQueueBytes), 6u);

    gauge.InjectNoise({'x', 'y'}, clock.Peek());
    ASSERT_EQ(GetRxQueueStatus(), FT_OK);
    EXPECT_EQ(ReadToInBuffer(RxQueueBytes), 2u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(InBuffer), 7), std::string("xyCDEF\0", 7));
    EXPECT_EQ(IoStatus, FT_OK);
}

TEST_F(AdapterPortTest, ReadsNeverExceedTheBuffer) {
    SimGauge& gauge = OpenGauge(Unpaced());
    gauge.InjectNoise(std::vector<std::uint8_t>(BufferSize + 100, 0x55), clock.Peek());
    ASSERT_EQ(GetRxQueueStatus(), FT_OK);
    EXPECT_EQ(RxQueueBytes, BufferSize + 100);
    EXPECT_EQ(ReadToInBuffer(RxQueueBytes), BufferSize);
    ASSERT_EQ(GetRxQueueStatus(), FT_OK);
    EXPECT_EQ(RxQueueBytes, 100u);
    EXPECT_EQ(PurgeRx(), FT_OK);
    ASSERT_EQ(GetRxQueueStatus(), FT_OK);
    EXPECT_EQ(RxQueueBytes, 0u);
}

TEST_F(AdapterPortTest, ClosedAndVanishedPortsFail) {
    // Nothing open yet.
    RxQueueBytes = 5;
    EXPECT_EQ(GetRxQueueStatus(), FT_INVALID_HANDLE);
    EXPECT_EQ(RxQueueBytes, 0u);
    EXPECT_EQ(ReadToInBuffer(10), 0u);
    EXPECT_EQ(IoStatus, FT_INVALID_HANDLE);
    EXPECT_EQ(ClosePort(), FT_INVALID_HANDLE);

    SimGauge& gauge = OpenGauge(Unpaced());
    gauge.InjectNoise({'0'}, clock.Peek());
    ASSERT_EQ(GetRxQueueStatus(), FT_OK);
    EXPECT_EQ(RxQueueBytes, 1u);

    backend.Unplug();
    EXPECT_NE(GetRxQueueStatus(), FT_OK);
    EXPECT_EQ(RxQueueBytes, 0u);
    EXPECT_EQ(WriteFromOutBuffer(3), 0u);
    EXPECT_NE(IoStatus, FT_OK);
    EXPECT_NE(SetBreakOn(), FT_OK);
    EXPECT_NE(GetPortStatus(), FT_OK);
    EXPECT_FALSE(SDI12IO::IsPortResponsive());
    EXPECT_FALSE(SDI12IO::PortConnected);
    // Gone from the list too.
    ASSERT_EQ(GetFTDeviceCount(), FT_OK);
    EXPECT_EQ(DeviceCount, 0u);
}
