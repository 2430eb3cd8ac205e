// config read, export, import and set against the simulated gauge.

#include "CliFixture.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Any setter opens the write bracket first.
bool AnythingWritten(const SimGauge& gauge) {
    for (const std::string& command : gauge.Commands())
        if (command == "0OOE0!")
            return true;
    return false;
}

} // namespace

class CliConfig : public CliOnSim {
protected:
    // A Tessra2 L set up like the configuration file example for that model
    // with heating mode "Temperature range control".
    SimGauge& ExampleGauge() {
        SimGauge& gauge = AddGauge(1);
        SimGauge::State& state = gauge.Gauge();
        state.communicationInterface = 1;
        state.protocolType = 1; // ASCII text ...
        state.asciiBaud = 3;    // ... 9600 baud: list position 4
        state.temperatureUnit = 0;
        state.intensityUnit = 1;
        state.impulseFrequency = 0;
        state.impulseFactor = 1;
        state.heatingMode = 2;
        state.heatingTemperature = 4;
        state.heatingThreshold = -5;
        state.heatingSelfTest = 60;
        return gauge;
    }
};

TEST_F(CliConfig, ExportWritesTheConfigurationFile) {
    ExampleGauge();
    const QString path = PathOf("gauge.txt");
    EXPECT_EQ(Run({"config", "export", path}), 0) << err.toStdString();
    EXPECT_EQ(ReadFile(path), QByteArray("[CONFIGURATION]\r\n"
                                         "TYPE=1\r\n"
                                         "BUSADDRESS=0\r\n"
                                         "COMMUNICATIONINTERFACE=1\r\n"
                                         "PROTOCOLTYPE=4\r\n"
                                         "TEMPERATUREUNIT=0\r\n"
                                         "PRECIPITATIONUNIT=1\r\n"
                                         "IMPULSEOUTPUTFREQUENCY=0\r\n"
                                         "IMPULSFACTORINDEX=1\r\n"
                                         "HEATINGMAINSWITCH=2\r\n"
                                         "NOMINALHEATINGTEMPINDEX=4\r\n"
                                         "HEATINGTHRESHOLD=-5\r\n"
                                         "HEATINGSELFTEST=60\r\n"));
    EXPECT_EQ(err.trimmed(), "The configuration was saved in " + path + ".");
}

TEST_F(CliConfig, ReadPrintsTheFileKeysOrOneJsonObject) {
    ExampleGauge();
    EXPECT_EQ(Run({"config", "read"}), 0) << err.toStdString();
    const QStringList lines = OutLines();
    EXPECT_EQ(lines.value(0), "TYPE=1");
    EXPECT_TRUE(lines.contains("PROTOCOLTYPE=4")) << out.toStdString();
    EXPECT_TRUE(lines.contains("HEATINGTHRESHOLD=-5")) << out.toStdString();

    EXPECT_EQ(Run({"config", "read", "--json"}), 0) << err.toStdString();
    const QJsonObject object = QJsonDocument::fromJson(out.toUtf8()).object();
    EXPECT_EQ(object.value("TYPE").toInt(-1), 1);
    EXPECT_EQ(object.value("BUSADDRESS").toString(), "0");
    EXPECT_EQ(object.value("HEATINGTHRESHOLD").toInt(), -5);
    EXPECT_EQ(object.value("HEATINGMAINSWITCH").toInt(), 2);
    EXPECT_FALSE(object.contains("HEATINGDURATION"));
    EXPECT_EQ(Run({"config", "export", PathOf("x.txt"), "--json"}), 2);
}

TEST_F(CliConfig, ImportWritesTheFileOnlyAfterYes) {
    SimGauge& gauge = AddGauge(1);
    const QString path = PathOf("import.txt");
    WriteFile(path, "[CONFIGURATION]\r\nTYPE=1\r\nTEMPERATUREUNIT=1\r\nHEATINGSELFTEST=1440\r\n");

    EXPECT_EQ(Run({"config", "import", path}), 2);
    EXPECT_TRUE(err.contains("Write this configuration to the Axo Tessra2 L?")) << err.toStdString();
    EXPECT_TRUE(err.contains("standard input is not a terminal")) << err.toStdString();
    EXPECT_FALSE(AnythingWritten(gauge));
    EXPECT_EQ(gauge.Gauge().temperatureUnit, 0);

    EXPECT_EQ(Run({"config", "import", path, "--yes"}), 0) << err.toStdString();
    EXPECT_EQ(gauge.Gauge().temperatureUnit, 1);
    EXPECT_EQ(gauge.Gauge().heatingSelfTest, 1440);
    EXPECT_TRUE(err.trimmed().endsWith("The configuration was written to the gauge."));
}

TEST_F(CliConfig, ImportAsksOnTheTerminal) {
    SimGauge& gauge = AddGauge(1);
    const QString path = PathOf("import.txt");
    WriteFile(path, "[CONFIGURATION]\r\nTYPE=1\r\nTEMPERATUREUNIT=1\r\n");
    EXPECT_EQ(Run({"config", "import", path}, "n\n", true), 2);
    EXPECT_TRUE(err.contains("[y/n]")) << err.toStdString();
    EXPECT_EQ(gauge.Gauge().temperatureUnit, 0);
    // An answer that is neither is asked again.
    EXPECT_EQ(Run({"--language", "de", "config", "import", path}, "vielleicht\nj\n", true), 0)
        << err.toStdString();
    EXPECT_EQ(err.count("[j/n]"), 2) << err.toStdString();
    EXPECT_EQ(gauge.Gauge().temperatureUnit, 1);
}

TEST_F(CliConfig, ImportRefusesFilesTheWindowRefuses) {
    SimGauge& gauge = AddGauge(1);
    const QString other = PathOf("other.txt");
    WriteFile(other, "[CONFIGURATION]\r\nTYPE=2\r\nTEMPERATUREUNIT=1\r\n");
    EXPECT_EQ(Run({"config", "import", other, "--yes"}), 2);
    EXPECT_TRUE(err.contains("another gauge model (Axo Tessra2 S)")) << err.toStdString();

    const QString wrong = PathOf("wrong.txt");
    WriteFile(wrong, "[CONFIGURATION]\r\nTYPE=1\r\nTEMPERATUREUNIT=5\r\n");
    EXPECT_EQ(Run({"config", "import", wrong, "--yes"}), 2);
    EXPECT_EQ(err.trimmed(), "Not a valid value for TEMPERATUREUNIT: 5 Nothing was written.");

    EXPECT_EQ(Run({"config", "import", PathOf("missing.txt"), "--yes"}), 2);
    EXPECT_TRUE(err.contains("could not be read as a configuration file")) << err.toStdString();
    EXPECT_FALSE(AnythingWritten(gauge));
}

TEST_F(CliConfig, SetWritesTheChangedKeys) {
    SimGauge& gauge = AddGauge(1);
    EXPECT_EQ(Run({"config", "set", "TEMPERATUREUNIT=1", "heatingselftest=0x5A0"}), 0)
        << err.toStdString();
    EXPECT_EQ(gauge.Gauge().temperatureUnit, 1);
    EXPECT_EQ(gauge.Gauge().heatingSelfTest, 1440);
    // The rest is written back as it was read.
    EXPECT_EQ(gauge.Gauge().intensityUnit, 1);
    EXPECT_EQ(gauge.Gauge().heatingTemperature, 4);
}

TEST_F(CliConfig, SetRefusesWhatAFileCouldNotSet) {
    SimGauge& gauge = AddGauge(1);
    EXPECT_EQ(Run({"config", "set", "TEMPERATUREUNIT"}), 2);
    EXPECT_EQ(err.trimmed(), "Not of the form KEY=VALUE: TEMPERATUREUNIT");
    EXPECT_EQ(Run({"config", "set", "TYPE=2"}), 2);
    EXPECT_EQ(err.trimmed(), "Unknown key: TYPE");
    EXPECT_EQ(Run({"config", "set", "TEMPERATUREUNIT=abc"}), 2);
    EXPECT_EQ(err.trimmed(), "Not a valid value for TEMPERATUREUNIT: abc");
    EXPECT_EQ(Run({"config", "set", "TEMPERATUREUNIT=-1"}), 2);
    EXPECT_EQ(Run({"config", "set", "PRECIPITATIONUNIT=4"}), 2);
    EXPECT_EQ(err.trimmed(), "Not a valid value for PRECIPITATIONUNIT: 4 Nothing was written.");
    EXPECT_EQ(Run({"config", "set", "BUSADDRESS=#"}), 2);
    // Heating "permanent" uses no threshold: it would not be written.
    EXPECT_EQ(Run({"config", "set", "HEATINGTHRESHOLD=-7"}), 2);
    EXPECT_EQ(err.trimmed(),
              "HEATINGTHRESHOLD is not used by the gauge with these settings. Nothing was written.");
    EXPECT_FALSE(AnythingWritten(gauge));
    EXPECT_EQ(gauge.Gauge().heatingThreshold, -5);
    // Together with the mode that uses it, it is.
    EXPECT_EQ(Run({"config", "set", "HEATINGMAINSWITCH=2", "HEATINGTHRESHOLD=-7"}), 0)
        << err.toStdString();
    EXPECT_EQ(gauge.Gauge().heatingThreshold, -7);
}

TEST_F(CliConfig, AReadThatFailedIsNoBaseForAWrite) {
    SimGauge& gauge = AddGauge(1);
    gauge.Gauge().heatingMode = 2;
    gauge.Gauge().heatingThreshold = 10; // beyond -40 to 9: the read of that row fails
    EXPECT_EQ(Run({"config", "read"}), 3);
    EXPECT_EQ(err.trimmed(), "These settings could not be read from the gauge: HEATINGTHRESHOLD");
    EXPECT_EQ(Run({"config", "set", "TEMPERATUREUNIT=1"}), 3);
    EXPECT_EQ(err.trimmed(), "These settings could not be read from the gauge: HEATINGTHRESHOLD\n"
                             "Nothing was written.");
    EXPECT_EQ(Run({"config", "export", PathOf("never.txt")}), 3);
    EXPECT_FALSE(QFile::exists(PathOf("never.txt")));
    EXPECT_FALSE(AnythingWritten(gauge));
}
