// firmware IMAGE against the simulated gauge's loader.

#include "CliFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

// A 1 KiB image: identification, then the version at byte 16.
QByteArray Image(const QByteArray& version) {
    QByteArray image(1024, '\0');
    for (int i = 48; i < image.size(); ++i)
        image[i] = static_cast<char>((i * 7) & 0xFF);
    image.replace(0, 9, "TESSRA2 S"); // what models 1 and 2 take
    image.replace(16, version.size(), version);
    return image;
}

bool Sent(const SimGauge& gauge, const std::string& prefix) {
    for (const std::string& command : gauge.Commands())
        if (command.rfind(prefix, 0) == 0)
            return true;
    return false;
}

} // namespace

class CliFirmware : public CliOnSim {
protected:
    QString WriteImage(const QByteArray& version) {
        const QString path = PathOf("fw.bin");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Image(version));
        return path;
    }
};

TEST_F(CliFirmware, LoadsTheImageAfterABackup) {
    SimGauge& gauge = AddGauge(1);
    EXPECT_EQ(Run({"firmware", WriteImage("V1.32.0"), "--yes"}), 0) << err.toStdString();
    EXPECT_EQ(gauge.Gauge().firmwareVersion, "V1.32.0");
    EXPECT_EQ(gauge.AcceptedBlocks(), 8);
    EXPECT_TRUE(err.contains("Firmware update successfully completed")) << err.toStdString();
    // Step lines, no progress bar: the messages are no terminal here.
    EXPECT_TRUE(err.contains("[ok]     ")) << err.toStdString();
    EXPECT_FALSE(err.contains("\r")) << err.toStdString();
    EXPECT_FALSE(QDir(PathOf("backups")).entryList(QDir::Files).isEmpty());
}

TEST_F(CliFirmware, ShowsAProgressBarOnATerminal) {
    AddGauge(1);
    const QString image = WriteImage("V1.32.0");
    QString input;
    QTextStream outStream(&out), errStream(&err), inStream(&input);
    CliIo io{outStream, errStream};
    io.errIsTerminal = true;
    io.installedAdapters = &backend;
    io.backupFolder = PathOf("backups");
    EXPECT_EQ(RunCli({"tessra2-cli", "firmware", image, "--yes"}, io), 0) << err.toStdString();
    EXPECT_TRUE(err.contains("\r[########################################] 9/9"))
        << err.toStdString();
}

TEST_F(CliFirmware, NothingIsSentWithoutTheConfirmation) {
    SimGauge& gauge = AddGauge(1);
    EXPECT_EQ(Run({"firmware", WriteImage("V1.32.0")}), 2);
    EXPECT_FALSE(Sent(gauge, "0OXU"));
    EXPECT_EQ(gauge.Gauge().firmwareVersion, "V1.31.0");
}

TEST_F(CliFirmware, AnUnreadableImageIsBadInput) {
    SimGauge& gauge = AddGauge(1);
    EXPECT_EQ(Run({"firmware", PathOf("none.bin"), "--yes"}), 2);
    EXPECT_EQ(err.trimmed(), "The firmware image " + PathOf("none.bin") + " cannot be read.");
    EXPECT_TRUE(gauge.Commands().empty());
}

TEST_F(CliFirmware, ALoaderThatNeverAnswersIsExitCodeThree) {
    SimGauge& gauge = AddGauge(1);
    gauge.Faults().noLoader = true;
    EXPECT_EQ(Run({"firmware", WriteImage("V1.32.0"), "--yes"}), 3);
    EXPECT_TRUE(err.contains("Firmware update failed!")) << err.toStdString();
}

TEST_F(CliFirmware, TheUpdateIsKeptInTheLogbookWithBothVersionsAndItsFiles) {
    if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty())
        GTEST_SKIP() << "the sqlite3 program is not installed";
    AddGauge(1);
    const QString logbook = PathOf("logbook.sqlite");
    const QString image = WriteImage("V1.32.0");
    ASSERT_EQ(Run({"--logbook", logbook, "firmware", image, "--yes"}), 0) << err.toStdString();

    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"),
                 {logbook, QStringLiteral("SELECT firmware_version, json_extract(details, "
                                          "'$.version_before'), json_extract(details, "
                                          "'$.outcome'), json_extract(details, '$.image'), "
                                          "json_extract(details, '$.backup') != '' FROM entries "
                                          "WHERE kind = 'firmware-update'")});
    ASSERT_TRUE(sqlite.waitForFinished(60000));
    EXPECT_EQ(QString::fromUtf8(sqlite.readAllStandardOutput()).trimmed(),
              "V1.32.0|V1.31.0|succeeded|" + QFileInfo(image).absoluteFilePath() + "|1");
}
