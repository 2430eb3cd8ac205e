// The CRC and the bytes of one packet on the wire.

#include "XModemFixture.h"

#include <cstring>

TEST(XModemCrc, MatchesTheCheckValuesOfCrc16Xmodem) {
    const auto* text = reinterpret_cast<const std::uint8_t*>("123456789");
    EXPECT_EQ(TUSBXModem::XModemCrc(text, 9, 0), 0x31C3);
    // Only count bytes from the start offset count.
    const auto* shifted = reinterpret_cast<const std::uint8_t*>("xx123456789yy");
    EXPECT_EQ(TUSBXModem::XModemCrc(shifted, 9, 2), 0x31C3);
    EXPECT_EQ(TUSBXModem::XModemCrc(shifted, 0, 2), 0x0000);
    // Every byte value through the table, against a bitwise reference.
    std::uint8_t all[256];
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<std::uint8_t>(255 - i);
    EXPECT_EQ(TUSBXModem::XModemCrc(all, 256, 0), ReceiverLine::Crc(all, 256));
    std::uint8_t ff[128];
    std::memset(ff, 0xFF, sizeof ff);
    EXPECT_EQ(TUSBXModem::XModemCrc(ff, 128, 0), ReceiverLine::Crc(ff, 128));
}

class XModemPacket : public XModemFixture {};

TEST_F(XModemPacket, BlockGoesOutAsSohNumberComplementDataAndCrcHighFirst) {
    ReceiverLine line;
    line.answerOfTry = {{0, "\x06"}};
    ReceiverBackend backend(line);
    OpenAt(backend, "AX-XMODEM", 115200);
    TUSBXModem sender;
    std::uint8_t data[128];
    for (int i = 0; i < 128; ++i)
        data[i] = static_cast<std::uint8_t>(i * 3);
    sender.BlockNumber = 0x37;

    ASSERT_TRUE(sender.SendBlock(data, 128));

    ASSERT_EQ(line.writes.size(), 1u);
    const std::vector<std::uint8_t>& packet = line.writes[0];
    ASSERT_EQ(packet.size(), 133u);
    EXPECT_EQ(packet[0], 0x01);
    EXPECT_EQ(packet[1], 0x37);
    EXPECT_EQ(packet[2], 0xC8);
    EXPECT_EQ(std::memcmp(packet.data() + 3, data, 128), 0);
    const std::uint16_t crc = ReceiverLine::Crc(data, 128);
    EXPECT_EQ(packet[131], crc >> 8);
    EXPECT_EQ(packet[132], crc & 0xFF);
    EXPECT_EQ(sender.BlockNumber, 0x38);
}

TEST_F(XModemPacket, ShortWriteIsLoggedAndTheAcknowledgementStillAwaited) {
    ReceiverLine line;
    line.shortWriteBy = 5;
    ReceiverBackend backend(line);
    OpenAt(backend, "AX-XMODEM", 115200);
    TUSBXModem sender;
    Attach(sender);
    std::uint8_t data[128] = {};

    EXPECT_TRUE(sender.SendBlock(data, 128));
    EXPECT_EQ(line.writes.size(), 1u);
    EXPECT_EQ(log, std::vector<std::string>{"Not all bytes transferred"});
}

TEST_F(XModemPacket, BlockOfNoDataOrMoreThanTheBufferIsRefusedWithoutWriting) {
    ReceiverLine line;
    ReceiverBackend backend(line);
    OpenAt(backend, "AX-XMODEM", 115200);
    TUSBXModem sender;
    std::uint8_t data[1100] = {};
    EXPECT_FALSE(sender.SendBlock(data, 0));
    EXPECT_FALSE(sender.SendBlock(data, 1025));
    EXPECT_TRUE(line.writes.empty());
    EXPECT_EQ(sender.BlockNumber, 1);
}
