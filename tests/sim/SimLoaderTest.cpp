// The gauge's loader: switching to it, its "C" requests, XModem-CRC blocks
// with their faults, the end of transmission, the new version and the way
// back to SDI-12.

#include "SimGaugeFixture.h"
#include "sim/SimValues.h"

namespace {

constexpr char SOH = 0x01, EOT = 0x04, ACK = 0x06, NAK = 0x15;

// A firmware image: identification at 0, version text at 16, then data.
std::string Image(std::size_t size, const std::string& version) {
    std::string image(size, '\0');
    for (std::size_t i = 48; i < size; ++i)
        image[i] = static_cast<char>(i * 7);
    const std::string id = "TESSRA2 S";
    image.replace(0, id.size(), id);
    image.replace(16, version.size(), version);
    return image;
}

std::string Block(int number, const std::string& data128) {
    std::string block;
    block += SOH;
    block += static_cast<char>(number & 0xFF);
    block += static_cast<char>(~number & 0xFF);
    block += data128;
    const std::uint16_t crc =
        SimValues::XModemCrc(reinterpret_cast<const std::uint8_t*>(data128.data()), 128);
    block += static_cast<char>(crc >> 8);
    block += static_cast<char>(crc & 0xFF);
    return block;
}

std::string Padded(std::string image) {
    image.resize((image.size() + 127) / 128 * 128, '\xFF');
    return image;
}

} // namespace

class SimLoaderTest : public SimGaugeTest {
protected:
    // The transfer-rate command and the program's switch to the loader's line.
    void EnterLoader(const std::string& command, std::uint32_t baud) {
        ASSERT_EQ(Ask("0" + command), "0\r\n");
        SDI12IO::ReopenPort(baud, 0, 0, 8);
    }

    // Sends one block and returns what the loader answered within 1 s.
    std::string SendBlock(int number, const std::string& data) {
        WriteRaw(Block(number, data));
        return Collect(1000.0, std::string(1, ACK));
    }
};

TEST_F(SimLoaderTest, ReceivesAnImageAndStartsTheNewVersion) {
    SimGauge& gauge = Open(1, true);
    EnterLoader("OXU+0391!", 115200);
    EXPECT_TRUE(gauge.InLoader());
    EXPECT_EQ(gauge.LoaderBaud(), 115200u);

    const std::string polls = Collect(2600.0);
    EXPECT_EQ(polls, "CCC"); // at 0.5 s, 1.5 s and 2.5 s

    const std::string image = Padded(Image(300, "V1.32.0"));
    for (int block = 1; block <= 3; ++block)
        ASSERT_EQ(SendBlock(block, image.substr((block - 1) * 128, 128)), std::string(1, ACK));
    WriteRaw(std::string(1, EOT));
    const std::string after = Collect(5000.0, "APPLICATION DONE\r\n");
    EXPECT_EQ(after, std::string(1, ACK) + ".....APPLICATION DONE\r\n");
    EXPECT_EQ(gauge.ReceivedImage(), std::vector<std::uint8_t>(image.begin(), image.end()));
    EXPECT_EQ(gauge.AcceptedBlocks(), 3);
    EXPECT_EQ(gauge.Gauge().firmwareVersion, "V1.32.0");

    // The application answers at the SDI-12 settings again.
    EXPECT_FALSE(gauge.InLoader());
    SDI12IO::ReopenPort(1200, 0, 2, 7);
    EXPECT_EQ(Ask("0OOV!"), "0V1.32.0\r\n");
}

TEST_F(SimLoaderTest, BadBlocksAreRefusedAndFaultsDelayTheAcknowledgement) {
    SimGauge& gauge = Open(2, false);
    EnterLoader("OXU+0391!", 115200);
    const std::string data = Image(128, "V2.0.0");

    std::string bad = Block(1, data);
    bad[60] ^= 0x10; // damaged on the way: CRC mismatch
    WriteRaw(bad);
    EXPECT_EQ(Collect(100.0, std::string(1, NAK)), std::string(1, NAK));
    bad = Block(1, data);
    bad[2] = 0x00; // complement wrong
    WriteRaw(bad);
    EXPECT_EQ(Collect(100.0, std::string(1, NAK)), std::string(1, NAK));
    EXPECT_EQ(SendBlock(3, data), std::string(1, NAK)); // out of sequence

    gauge.Faults().nakBlocks = 2;
    gauge.Faults().lostAcks = 1;
    gauge.Faults().corruptAcks = 1;
    EXPECT_EQ(SendBlock(1, data), std::string(1, NAK));
    EXPECT_EQ(SendBlock(1, data), std::string(1, NAK));
    EXPECT_EQ(SendBlock(1, data), ""); // lost
    EXPECT_EQ(SendBlock(1, data), "\x86");
    EXPECT_EQ(SendBlock(1, data), std::string(1, ACK));
    EXPECT_EQ(gauge.AcceptedBlocks(), 1);
    // A repeated block (its ACK was lost on the way back) is acknowledged, not stored twice.
    gauge.Faults() = SimFaults{};
    EXPECT_EQ(SendBlock(1, data), std::string(1, ACK));
    EXPECT_EQ(gauge.ReceivedImage().size(), 128u);

    // A block that stops half way is asked for again after a second.
    WriteRaw(Block(2, data).substr(0, 50));
    EXPECT_EQ(Collect(1200.0, std::string(1, NAK)), std::string(1, NAK));

    gauge.Faults().nakEndOfTransmission = true;
    WriteRaw(std::string(1, EOT));
    EXPECT_EQ(Collect(500.0), std::string(1, NAK));
    EXPECT_TRUE(gauge.InLoader());
}

TEST_F(SimLoaderTest, ModelZeroLoaderAt4800WithoutVersionText) {
    SimGauge& gauge = Open(0, true);
    EnterLoader("OXU+0472!", 4800);
    EXPECT_EQ(gauge.LoaderBaud(), 4800u);
    EXPECT_EQ(Collect(1000.0, "C"), "C");
    std::string data(128, '\0'); // no readable version at 16
    EXPECT_EQ(SendBlock(1, data), std::string(1, ACK));
    WriteRaw(std::string(1, EOT));
    // No greeting from a model 0; after a few seconds it is back on SDI-12.
    EXPECT_EQ(Collect(4000.0), std::string(1, ACK));
    EXPECT_FALSE(gauge.InLoader());
    EXPECT_EQ(gauge.Gauge().firmwareVersion, "V1.31.0");
    SDI12IO::ReopenPort(1200, 0, 2, 7);
    EXPECT_EQ(Ask("0OOV!"), "0V1.31.0\r\n");
}

TEST_F(SimLoaderTest, AWrongSpeedHearsOnlyGarbage) {
    SimGauge& gauge = Open(1, false);
    EnterLoader("OXU+0391!", 4800); // the loader runs at 115200
    const std::string heard = Collect(2100.0);
    EXPECT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard.find('C'), std::string::npos);
    // Blocks sent at the wrong speed never get an acknowledgement.
    const std::string answer = SendBlock(1, std::string(128, 'x'));
    EXPECT_EQ(answer.find(ACK), std::string::npos);
    EXPECT_EQ(gauge.AcceptedBlocks(), 0);

    // At the right speed the requests come through.
    SDI12IO::ReopenPort(115200, 0, 0, 8);
    EXPECT_EQ(Collect(1100.0, "C").back(), 'C');
}

TEST_F(SimLoaderTest, AnIdleLoaderReturnsToTheApplication) {
    SimGauge& gauge = Open(1, false);
    EnterLoader("OXU+0391!", 115200);
    clock.Advance(SimGauge::LoaderIdleLimitMs + 1000.0);
    gauge.Tick(clock.Peek());
    EXPECT_FALSE(gauge.InLoader());
    SDI12IO::ReopenPort(1200, 0, 2, 7);
    EXPECT_EQ(Ask("?!"), "0\r\n");
}
