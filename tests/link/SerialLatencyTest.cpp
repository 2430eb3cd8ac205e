// The receive-latency request on Linux, through its seam: the driver's
// serial flags of a fake line and a device tree in a temporary folder laid
// out as /sys lays out a usb-serial adapter.

#include "link/SerialLatency_linux.h"

#if defined(__linux__)

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <linux/serial.h>

using namespace SerialLatency;

namespace {

// The kernel's low-latency flag, as <linux/tty_flags.h> defines it (bit 13).
constexpr int LowLatencyFlag = 1 << 13;
// Another flag the driver may have set, which must survive.
constexpr int OtherFlag = 1 << 6;

class FakeLine final : public LinuxSerialSystem {
public:
    bool ReadFlags(int, int& value) override {
        if (!hasFlags)
            return false;
        value = flags;
        return true;
    }
    bool WriteFlags(int, int value) override {
        if (!hasFlags || refuse)
            return false;
        flags = value;
        ++writes;
        return true;
    }
    std::string SysfsRoot() const override { return root; }

    bool hasFlags = true;
    bool refuse = false;
    int flags = 0;
    int writes = 0;
    std::string root;
};

class LatencyOnLinux : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        line.root = dir.filePath("sys").toStdString();
    }
    // The latency timer file of tty holding text.
    QString Timer(const QString& tty, const QByteArray& text) {
        const QString folder = dir.filePath("sys/bus/usb-serial/devices/" + tty);
        EXPECT_TRUE(QDir().mkpath(folder));
        const QString path = folder + "/latency_timer";
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    QTemporaryDir dir;
    FakeLine line;
};

} // namespace

TEST_F(LatencyOnLinux, FtdiAdapterGetsTheFlagAndOneMillisecondAndBothBack) {
    line.flags = OtherFlag;
    // FTDI chips ship with a 16 ms latency timer.
    const QString timer = Timer("ttyUSB0", "16\n");

    const Previous previous = RequestLowest(line, 5, "/dev/ttyUSB0");
    EXPECT_EQ(line.flags, OtherFlag | LowLatencyFlag);
    EXPECT_EQ(Read(timer), "1");
    EXPECT_TRUE(previous.Changed());

    Restore(line, 5, previous);
    EXPECT_EQ(line.flags, OtherFlag);
    EXPECT_EQ(Read(timer), "16");
}

TEST_F(LatencyOnLinux, SettingsAlreadyLowAreLeftAsTheyAre) {
    line.flags = LowLatencyFlag;
    const QString timer = Timer("ttyUSB1", "1\n");

    const Previous previous = RequestLowest(line, 5, "/dev/ttyUSB1");
    EXPECT_FALSE(previous.Changed());
    EXPECT_EQ(line.writes, 0);
    Restore(line, 5, previous);
    EXPECT_EQ(line.flags, LowLatencyFlag) << "a flag set before stays set";
    EXPECT_EQ(Read(timer), "1\n");
}

TEST_F(LatencyOnLinux, PseudoTerminalHasNeitherAndIsNotTouched) {
    line.hasFlags = false;
    const Previous previous = RequestLowest(line, 5, "/dev/pts/7");
    EXPECT_FALSE(previous.Changed());
    Restore(line, 5, previous);
    EXPECT_EQ(line.writes, 0);
    EXPECT_FALSE(QDir(dir.filePath("sys/bus/usb-serial/devices/7")).exists());
}

TEST_F(LatencyOnLinux, DriverRefusingTheFlagStillGetsTheTimer) {
    line.refuse = true;
    const QString timer = Timer("ttyUSB2", "16\n");
    const Previous previous = RequestLowest(line, 5, "/dev/ttyUSB2");
    EXPECT_FALSE(previous.flagSet);
    EXPECT_TRUE(previous.timerSet);
    EXPECT_EQ(Read(timer), "1");
    Restore(line, 5, previous);
    EXPECT_EQ(Read(timer), "16");
}

TEST_F(LatencyOnLinux, TimerTheUserMayNotWriteIsLeftAlone) {
    // A number no one may write, not even root: a read-only kernel setting.
    const QString readOnly = QStringLiteral("/proc/sys/kernel/ngroups_max");
    if (!QFile::exists(readOnly) || (QFile::permissions(readOnly) & QFile::WriteOwner))
        GTEST_SKIP() << "no read-only " << readOnly.toStdString();
    const QString folder = dir.filePath("sys/bus/usb-serial/devices/ttyUSB3");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::link(readOnly, folder + "/latency_timer"));
    const QByteArray before = Read(readOnly);

    const Previous previous = RequestLowest(line, 5, "/dev/ttyUSB3");
    EXPECT_FALSE(previous.timerSet);
    EXPECT_TRUE(previous.flagSet) << "the flag goes its own way";
    EXPECT_EQ(Read(readOnly), before);
}

TEST_F(LatencyOnLinux, LinkedDeviceNameIsResolvedToTheKernelsName) {
    const QString devices = dir.filePath("dev");
    ASSERT_TRUE(QDir().mkpath(devices + "/serial/by-id"));
    QFile(devices + "/ttyUSB4").open(QIODevice::WriteOnly);
    const QString link = devices + "/serial/by-id/usb-FTDI_TTL232R_AX0815-if00-port0";
    ASSERT_TRUE(QFile::link(devices + "/ttyUSB4", link));
    EXPECT_EQ(TtyName(link.toStdString()), "ttyUSB4");
    EXPECT_EQ(TtyName("/dev/ttyACM0"), "ttyACM0") << "a name that is no link stays";

    const QString timer = Timer("ttyUSB4", "16\n");
    Restore(line, 5, RequestLowest(line, 5, link.toStdString()));
    EXPECT_EQ(Read(timer), "16");
}

#endif
