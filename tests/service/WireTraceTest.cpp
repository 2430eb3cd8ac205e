// The commands every configuration transfer sends, compared with traces
// recorded from the program: reads, writes of every heating mode of every
// model with and without force, imports, and the factory reset with its
// confirmation. A change to how settings are described must not change
// one byte of them.
//
// To record the traces again (only when the traffic is meant to change):
//     TESSRA_RECORD_WIRE=1 tests_service --gtest_filter='WireTrace.*'

#include "config/ConfigFixture.h"

#include "config/ConfigurationSequence.h"
#include "config/ParameterFrame.h"
#include "service/ServiceFrame.h"

#include <QDir>
#include <QFile>

using namespace Config;

namespace {

// A named list of lines: commands, file lines or dialog lines.
struct Section {
    std::string name;
    std::vector<std::string> lines;
};
using Trace = std::vector<Section>;

QString GoldenPath(const char* name) {
    return QStringLiteral(TESSRA_WIRE_GOLDEN_DIR "/") + QLatin1String(name) +
           QStringLiteral(".trace");
}

// "== name" starts a section; every other non-empty line belongs to it.
Trace ReadTrace(const QString& path) {
    Trace trace;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return trace;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const std::string line = raw.toStdString();
        if (line.rfind("== ", 0) == 0)
            trace.push_back({line.substr(3), {}});
        else if (!line.empty() && !trace.empty())
            trace.back().lines.push_back(line);
    }
    return trace;
}

bool WriteTrace(const QString& path, const Trace& trace) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    for (const Section& section : trace) {
        file.write(("== " + section.name + "\n").c_str());
        for (const std::string& line : section.lines)
            file.write((line + "\n").c_str());
    }
    return true;
}

std::vector<std::string> Lines(const QString& text) {
    std::vector<std::string> lines;
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("\r?\n"))))
        if (!line.isEmpty())
            lines.push_back(line.toStdString());
    return lines;
}

// A gauge whose settings are all away from the first list entries, so that
// every code is seen on the wire.
void Varied(SimGauge::State& s, int model, int mode) {
    s.communicationInterface = 1;
    s.protocolType = model == 0 ? 4 : 1; // models 1 and 2: ASCII text ...
    s.asciiBaud = 3;                     // ... at 9600 baud
    s.temperatureUnit = 1;
    s.intensityUnit = 3;
    s.impulseFrequency = 1;
    s.impulseFactor = 3;
    s.heatingMode = mode;
    s.heatingTemperature = 7;
    s.heatingThreshold = -12;
    s.heatingSwitchTime = "05:30:15";
    s.heatingDuration = 90;
    s.heatingSelfTest = 4320;
}

int HeatingModes(int model) {
    return model == 0 ? 2 : 5;
}

class WireTrace : public ConfigOnSim {
protected:
    // A new gauge of model on a new adapter, connected, its state preset.
    SimGauge& FreshGauge(int model, const std::function<void(SimGauge::State&)>& preset) {
        handler.Disconnect();
        backend = SimBackend();
        SimGauge& gauge = ConnectedGauge(model);
        preset(gauge.Gauge());
        return gauge;
    }
    void Record(const std::string& name, const std::vector<std::string>& lines) {
        trace.push_back({name, lines});
    }
    void RecordCommands(const std::string& name, SimGauge& gauge) {
        Record(name, Masked(gauge.Commands()));
        gauge.ClearCommands();
    }

    // Compares the recorded sections with the stored trace of that name, or
    // stores them when TESSRA_RECORD_WIRE is set.
    void Compare(const char* name) {
        const QString path = GoldenPath(name);
        if (qEnvironmentVariableIsSet("TESSRA_RECORD_WIRE")) {
            ASSERT_TRUE(WriteTrace(path, trace)) << path.toStdString();
            GTEST_SKIP() << "recorded " << path.toStdString();
        }
        const Trace stored = ReadTrace(path);
        ASSERT_FALSE(stored.empty()) << "no trace in " << path.toStdString();
        ASSERT_EQ(stored.size(), trace.size()) << "sections in " << path.toStdString();
        for (std::size_t i = 0; i < stored.size(); ++i) {
            SCOPED_TRACE(stored[i].name);
            EXPECT_EQ(trace[i].name, stored[i].name);
            EXPECT_EQ(trace[i].lines, stored[i].lines);
        }
    }

    ParameterRows rows;
    ConfigurationView quiet;
    ConfigurationSequence sequence{handler, rows, quiet};
    Trace trace;
};

} // namespace

TEST_F(WireTrace, ReadsOfEveryModel) {
    for (int model = 0; model <= 2; ++model) {
        for (int mode = 0; mode < HeatingModes(model); ++mode) {
            SimGauge& gauge =
                FreshGauge(model, [&](SimGauge::State& s) { Varied(s, model, mode); });
            sequence.Prepare(model);
            sequence.Read();
            RecordCommands("read model " + std::to_string(model) + " mode " + std::to_string(mode),
                           gauge);
        }
    }
    // Model 0 before firmware V1.30.3 has no impulse factor.
    SimGauge& old = FreshGauge(0, [](SimGauge::State& s) {
        Varied(s, 0, 1);
        s.firmwareVersion = "V1.30.2";
    });
    sequence.Prepare(0);
    sequence.Read();
    RecordCommands("read model 0 firmware V1.30.2", old);

    // Stopped after the temperature unit, as the firmware backup stops.
    SimGauge& stopped = FreshGauge(1, [](SimGauge::State& s) { Varied(s, 1, 3); });
    sequence.Prepare(1);
    sequence.Read([](Row row, bool) { return row != TemperatureUnitRow; });
    RecordCommands("read model 1 stopped after the temperature unit", stopped);

    // A gauge that does not answer at all.
    SimGauge& silent = FreshGauge(2, [](SimGauge::State& s) { Varied(s, 2, 3); });
    sequence.Prepare(2);
    silent.Faults().silent = true;
    sequence.Read();
    RecordCommands("read model 2 silent", silent);
    Compare("read");
}

TEST_F(WireTrace, WritesOfEveryHeatingModeOfEveryModelWithForceOffAndOn) {
    for (int model = 0; model <= 2; ++model) {
        for (int mode = 0; mode < HeatingModes(model); ++mode) {
            for (const bool force : {false, true}) {
                SimGauge& gauge =
                    FreshGauge(model, [&](SimGauge::State& s) { Varied(s, model, mode); });
                sequence.Prepare(model);
                sequence.Read();
                gauge.ClearCommands();
                sequence.Write(rows.Set(), force);
                RecordCommands("write model " + std::to_string(model) + " mode " +
                                   std::to_string(mode) + " force " + std::to_string(force),
                               gauge);
            }
        }
    }
    for (const int model : {1, 2}) {
        SimGauge& gauge = FreshGauge(model, [&](SimGauge::State& s) {
            Varied(s, model, 3);
            s.protocolType = 2; // "DWD Ombrometer"
        });
        sequence.Prepare(model);
        sequence.Read();
        gauge.ClearCommands();
        sequence.Write(rows.Set(), true);
        RecordCommands("write model " + std::to_string(model) + " DWD Ombrometer force 1", gauge);
    }
    for (const int model : {0, 1}) {
        SimGauge& gauge = FreshGauge(model, [&](SimGauge::State& s) { Varied(s, model, 1); });
        sequence.Prepare(model);
        sequence.Read();
        gauge.ClearCommands();
        gauge.Faults().silent = true;
        sequence.Write(rows.Set(), true);
        RecordCommands("write model " + std::to_string(model) + " silent force 1", gauge);
    }
    Compare("write");
}

TEST_F(WireTrace, ImportsThenWritesAndExportsOfEveryModel) {
    struct Case {
        int model;
        int mode; // the heating mode in the file
    };
    for (const Case c :
         {Case{0, 0}, Case{0, 1}, Case{1, 1}, Case{1, 2}, Case{1, 3}, Case{2, 3}, Case{2, 4}}) {
        const std::string name =
            " model " + std::to_string(c.model) + " mode " + std::to_string(c.mode);
        SimGauge& gauge = FreshGauge(c.model, [](SimGauge::State&) {});
        TParameterFrame frame(handler, c.model);
        frame.resize(1000, 760);
        frame.SelectModel(c.model);
        gauge.ClearCommands();

        const QString file = PathOf(QStringLiteral("import.txt"));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QStringLiteral("[CONFIGURATION]\r\nTYPE=%1\r\nBUSADDRESS=0\r\n"
                                 "COMMUNICATIONINTERFACE=1\r\nPROTOCOLTYPE=%2\r\n"
                                 "TEMPERATUREUNIT=1\r\nPRECIPITATIONUNIT=2\r\n"
                                 "IMPULSEOUTPUTFREQUENCY=1\r\nIMPULSFACTORINDEX=2\r\n"
                                 "HEATINGMAINSWITCH=%3\r\nNOMINALHEATINGTEMPINDEX=6\r\n"
                                 "HEATINGTHRESHOLD=-20\r\nHEATINGDURATION=45\r\n"
                                 "HEATINGSTARTTIME=04:05:06\r\nHEATINGSELFTEST=720\r\n")
                      .arg(c.model)
                      .arg(c.model == 0 ? 3 : 6)
                      .arg(c.mode)
                      .toLatin1());
        out.close();
        dialogs.QueueFileAnswer(file);
        ASSERT_TRUE(frame.ReadFromFileButtonClick());
        RecordCommands("import" + name, gauge);

        frame.WriteConfigurationButtonClick();
        RecordCommands("write after import" + name, gauge);

        const QString exported = PathOf(QStringLiteral("export.txt"));
        QFile::remove(exported);
        dialogs.QueueFileAnswer(exported);
        ASSERT_TRUE(frame.WriteToFileButtonClick());
        RecordCommands("export commands" + name, gauge);
        QFile in(exported);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        Record("export file" + name, Lines(QString::fromLatin1(in.readAll())));
    }
    Compare("import");
}

TEST_F(WireTrace, FactoryResetsOfEveryModel) {
    struct Case {
        int model;
        MsgResult heating; // the answer to the heating question of model 0
    };
    for (const Case c : {Case{0, MsgResult::Yes}, Case{0, MsgResult::No}, Case{1, MsgResult::Yes},
                         Case{2, MsgResult::Yes}}) {
        const std::string name = "factory reset model " + std::to_string(c.model) +
                                 (c.heating == MsgResult::Yes ? "" : " heating no");
        SimGauge& gauge = FreshGauge(c.model, [&](SimGauge::State& s) { Varied(s, c.model, 1); });
        TParameterFrame configuration(handler, c.model);
        configuration.resize(1000, 760);
        TServiceFrame service(handler, [&] {
            configuration.SelectModel(c.model);
            return &configuration;
        });
        service.ShowServiceArea(c.model);
        gauge.ClearCommands();
        dialogs.Clear();
        if (c.model == 0)
            dialogs.QueueMessageAnswer(c.heating);
        dialogs.QueueMessageAnswer(MsgResult::Yes);
        service.FactoryResetButtonClick();

        std::vector<std::string> questions;
        for (const ScriptedDialogs::MessageRecord& message : dialogs.Messages())
            for (const std::string& line : Lines(message.text))
                questions.push_back(line);
        Record(name + " questions", questions);
        RecordCommands(name, gauge);
    }
    Compare("factory");
}
