// The configuration file: the INI document's reading and in-place updating,
// and export and import through the configuration area with scripted file
// dialogs.

#include "ConfigFixture.h"

#include "config/IniDocument.h"
#include "config/ParameterFrame.h"
#include "config/ParameterRow.h"

#include <QComboBox>
#include <QDir>
#include <QFile>

using namespace Config;

// ---- the document ----

TEST(IniDocument, ReadsSectionsAndKeysWithoutCaseFirstOccurrenceAndTrimmedValues) {
    const IniDocument document = IniDocument::FromBytes(
        "; comment\r\n[other]\r\nTYPE=7\r\n  [ configuration ]  \r\n"
        "Type = 1 \r\nno equals sign\r\ntype=2\r\nEMPTY=\r\n[CONFIGURATION]\r\nLATER=1\r\n");
    EXPECT_EQ(document.Value("CONFIGURATION", "TYPE"), QByteArray("1"));
    EXPECT_EQ(document.Value("Configuration", "empty"), QByteArray(""));
    EXPECT_EQ(document.Value("CONFIGURATION", "LATER"), std::nullopt)
        << "only the first section of a name counts";
    EXPECT_EQ(document.Value("OTHER", "type"), QByteArray("7"));
    EXPECT_EQ(document.Value("MISSING", "TYPE"), std::nullopt);
    EXPECT_FALSE(document.HasSection("missing"));
}

TEST(IniDocument, UpdatesInPlaceAppendsToTheSectionAndKeepsEveryOtherLine) {
    const QByteArray original = "; notes of the technician\n[CONFIGURATION]\ntype = 0\n"
                                "FOO=bar\n\n[OTHER]\nTYPE=9\n";
    IniDocument document = IniDocument::FromBytes(original);
    document.SetValue("CONFIGURATION", "TYPE", "1");
    document.SetValue("CONFIGURATION", "BUSADDRESS", "A");
    document.SetValue("NEW", "KEY", "-5");
    EXPECT_EQ(document.ToBytes(), QByteArray("; notes of the technician\r\n[CONFIGURATION]\r\n"
                                             "type=1\r\nFOO=bar\r\nBUSADDRESS=A\r\n\r\n"
                                             "[OTHER]\r\nTYPE=9\r\n[NEW]\r\nKEY=-5\r\n"));

    IniDocument empty = IniDocument::FromBytes(QByteArray());
    empty.SetValue("CONFIGURATION", "TYPE", "2");
    EXPECT_EQ(empty.ToBytes(), QByteArray("[CONFIGURATION]\r\nTYPE=2\r\n"));
}

TEST(IniDocument, IntegersAreDecimalWithSignOrHexadecimal) {
    EXPECT_EQ(ParseIniInteger("42"), 42);
    EXPECT_EQ(ParseIniInteger(" -5 "), -5);
    EXPECT_EQ(ParseIniInteger("+7"), 7);
    EXPECT_EQ(ParseIniInteger("0x1F"), 31);
    EXPECT_EQ(ParseIniInteger("$ff"), 255);
    EXPECT_EQ(ParseIniInteger("-$10"), -16);
    EXPECT_EQ(ParseIniInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseIniInteger("-2147483648"), -2147483647 - 1);
    for (const char* absent : {"", "abc", "12a", "0x", "$", "1.5", "2147483648", "0x1FFFFFFFF",
                               "- 3", "99999999999999999999"})
        EXPECT_EQ(ParseIniInteger(absent), std::nullopt) << absent;
}

// ---- export and import through the area ----

namespace {

class FileOnSim : public ConfigOnSim {
protected:
    TParameterFrame& ShownFrame(int model,
                                const std::function<void(SimGauge::State&)>& preset = {}) {
        SimGauge& gauge = ConnectedGauge(model);
        if (preset)
            preset(gauge.Gauge());
        frame = std::make_unique<TParameterFrame>(handler, model);
        frame->resize(1000, 760);
        frame->SelectModel(model);
        gauge.ClearCommands();
        return *frame;
    }
    QComboBox* List(const char* name) {
        return frame->findChild<QComboBox*>(QString::fromLatin1(name));
    }
    bool Export(const QString& path) {
        dialogs.QueueFileAnswer(path);
        return frame->WriteToFileButtonClick();
    }
    bool Import(const QString& path) {
        dialogs.QueueFileAnswer(path);
        return frame->ReadFromFileButtonClick();
    }
    static QByteArray Contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void Write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    SimGauge& Gauge() { return backend.Gauge(0); }

    std::unique_ptr<TParameterFrame> frame;
};

} // namespace

TEST_F(FileOnSim, ExportWritesTheShownRowsAndLaterExportsAppendTheirNewKeys) {
    ShownFrame(1, [](SimGauge::State& s) {
        s.heatingMode = 0;
        s.communicationInterface = 1;
        s.protocolType = 1;
        s.asciiBaud = 3;
        s.heatingThreshold = -5;
    });
    const QString path = PathOf("Export.txt");
    Write(path, "; kept\r\n[CONFIGURATION]\r\nCOMMENT=mine\r\n\r\n[LOG]\r\nLAST=yesterday\r\n");

    ASSERT_TRUE(Export(path));
    ASSERT_EQ(dialogs.FileRequests().size(), 1);
    const FileDialogRequest& request = dialogs.FileRequests().at(0).request;
    EXPECT_EQ(request.title, "Export Axo Tessra2 configuration to..");
    EXPECT_EQ(request.fileName, "Export.txt");
    EXPECT_EQ(request.defaultSuffix, "txt");
    EXPECT_TRUE(request.filter.contains("*.txt"));
    EXPECT_FALSE(request.confirmOverwrite) << "the file is updated in place, not replaced";
    EXPECT_EQ(Contents(path), QByteArray("; kept\r\n[CONFIGURATION]\r\nCOMMENT=mine\r\n"
                                         "TYPE=1\r\nBUSADDRESS=0\r\nCOMMUNICATIONINTERFACE=1\r\n"
                                         "PROTOCOLTYPE=4\r\nTEMPERATUREUNIT=0\r\n"
                                         "PRECIPITATIONUNIT=1\r\nIMPULSEOUTPUTFREQUENCY=0\r\n"
                                         "IMPULSFACTORINDEX=1\r\nHEATINGMAINSWITCH=0\r\n\r\n"
                                         "[LOG]\r\nLAST=yesterday\r\n"));
    EXPECT_EQ(ParamPath, folder.path() + '/');
    EXPECT_EQ(QDir::currentPath(), folder.path());

    List("HeatingMainSwitchComboBox")->setCurrentIndex(HeatingRangeControl);
    List("PrecipitationUnitComboBox")->setCurrentIndex(3);
    ASSERT_TRUE(Export(path));
    EXPECT_EQ(Contents(path), QByteArray("; kept\r\n[CONFIGURATION]\r\nCOMMENT=mine\r\n"
                                         "TYPE=1\r\nBUSADDRESS=0\r\nCOMMUNICATIONINTERFACE=1\r\n"
                                         "PROTOCOLTYPE=4\r\nTEMPERATUREUNIT=0\r\n"
                                         "PRECIPITATIONUNIT=3\r\nIMPULSEOUTPUTFREQUENCY=0\r\n"
                                         "IMPULSFACTORINDEX=1\r\nHEATINGMAINSWITCH=2\r\n"
                                         "NOMINALHEATINGTEMPINDEX=4\r\nHEATINGTHRESHOLD=-5\r\n"
                                         "HEATINGSELFTEST=60\r\n\r\n"
                                         "[LOG]\r\nLAST=yesterday\r\n"));
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST_F(FileOnSim, ExportAndImportReproduceEveryValueForEachModel) {
    for (const int model : {0, 1, 2}) {
        SCOPED_TRACE(model);
        handler.Disconnect();
        backend = SimBackend();
        ShownFrame(model, [model](SimGauge::State& s) {
            s.communicationInterface = 1;
            s.protocolType = model == 0 ? 4 : 1;
            s.asciiBaud = 5;
            s.temperatureUnit = 1;
            s.intensityUnit = 2;
            s.impulseFrequency = 1;
            s.impulseFactor = 3;
            s.heatingMode = model == 0 ? 1 : 3;
            s.heatingTemperature = 8;
            s.heatingSwitchTime = "21:45:30";
            s.heatingDuration = 300;
            s.heatingSelfTest = 1440;
        });
        const ParameterSet exported = frame->Parameters();
        std::array<int, RowCount> selections{};
        for (int row = 0; row < RowCount; ++row)
            selections[row] = frame->Rows().Selection(Row(row));
        const QString path = PathOf(QStringLiteral("model%1.txt").arg(model));
        ASSERT_TRUE(Export(path));

        // Change every row, then load the file back.
        List("CommunicationInterfaceComboBox")->setCurrentIndex(0);
        List("TemperatureSetComboBox")->setCurrentIndex(0);
        List("PrecipitationUnitComboBox")->setCurrentIndex(0);
        List("ImpulseOutputComboBox")->setCurrentIndex(0);
        List("ImpulsOutputFactorCombobox")->setCurrentIndex(0);
        List("HeatingMainSwitchComboBox")->setCurrentIndex(0);
        Gauge().ClearCommands();
        ASSERT_TRUE(Import(path));

        const ParameterSet imported = frame->Parameters();
        EXPECT_EQ(imported.CommunicationInterface, exported.CommunicationInterface);
        EXPECT_EQ(imported.ProtocolType, exported.ProtocolType);
        EXPECT_EQ(imported.AsciiBaudIndex, exported.AsciiBaudIndex);
        EXPECT_EQ(imported.TemperatureUnit, 1);
        EXPECT_EQ(imported.PrecipitationUnit, 2);
        EXPECT_EQ(imported.ImpulseFrequency, 1);
        EXPECT_EQ(imported.ImpulseFactor, 3);
        EXPECT_EQ(imported.HeatingMode, exported.HeatingMode);
        EXPECT_EQ(imported.HeatingTemperature, 8);
        if (model > 0) {
            EXPECT_EQ(imported.HeatingSwitchTime, "21:45:30");
            EXPECT_EQ(imported.HeatingDuration, 300);
            EXPECT_EQ(imported.HeatingSelfTest, 1440);
        }
        for (int row = 0; row < RowCount; ++row)
            EXPECT_EQ(frame->Rows().Selection(Row(row)), selections[row]) << "row " << row;
        EXPECT_EQ(frame->RowPanel(TemperatureUnitRow)->ShownMark(), Mark::Succeeded);
        EXPECT_EQ(frame->RowPanel(BusAddressRow)->ShownMark(), Mark::Succeeded)
            << "the address row keeps its mark from the read";
        // Import sends nothing but the gauge-clock query of the switching time.
        for (const std::string& command : Gauge().Commands())
            EXPECT_EQ(command, "0OTM!");
    }
}

TEST_F(FileOnSim, LowerCaseSectionsAndKeysHexAndBlanksAreRead) {
    ShownFrame(1);
    const QString path = PathOf("lower.txt");
    Write(path, "[configuration]\nType=1\nbusaddress = b \ntemperatureunit = 0x1\n"
                "heatingmainswitch=$2\nheatingthreshold= -7\nheatingselftest=1440\n");
    ASSERT_TRUE(Import(path));
    EXPECT_EQ(frame->Parameters().BusAddress, "b");
    EXPECT_EQ(frame->Parameters().TemperatureUnit, 1);
    EXPECT_EQ(frame->Parameters().HeatingMode, 2);
    EXPECT_EQ(frame->Parameters().HeatingThreshold, -7);
    EXPECT_EQ(frame->Rows().Selection(SelfTestRow), 3) << "\"1d\"";
    EXPECT_EQ(frame->RowPanel(ThresholdRow)->ShownMark(), Mark::Succeeded);
}

TEST_F(FileOnSim, ImportedDwdOmbrometerLeavesEveryControlEnabled) {
    ShownFrame(1, [](SimGauge::State& s) { s.communicationInterface = 1; });
    const QString path = PathOf("dwd.txt");
    Write(path, "[CONFIGURATION]\r\nTYPE=1\r\nCOMMUNICATIONINTERFACE=1\r\nPROTOCOLTYPE=8\r\n");
    ASSERT_TRUE(Import(path));
    EXPECT_EQ(List("ProtocolTypeComboBox")->currentText(), "DWD Ombrometer");
    for (const char* name : {"CommunicationInterfaceComboBox", "TemperatureSetComboBox",
                             "HeatingMainSwitchComboBox", "HeatingSelfTestComboBox"})
        EXPECT_TRUE(List(name)->isEnabled()) << name;
}

TEST_F(FileOnSim, EightBitFileOfAnOlderToolIsImported) {
    ShownFrame(1);
    const QString path = PathOf("old.txt");
    // A comment with an umlaut in Windows-1252 makes the file invalid UTF-8.
    Write(path, "; Station M\xFCnchen\r\n[CONFIGURATION]\r\nTYPE=1\r\nBUSADDRESS=7\r\n"
                "TEMPERATUREUNIT=1\r\n");
    ASSERT_TRUE(Import(path));
    EXPECT_EQ(frame->Parameters().BusAddress, "7");
    EXPECT_EQ(frame->Parameters().TemperatureUnit, 1);
    // An export into it keeps the comment as it was.
    ASSERT_TRUE(Export(path));
    EXPECT_TRUE(Contents(path).startsWith("; Station M\xFCnchen\r\n[CONFIGURATION]\r\nTYPE=1\r\n"));
}

TEST_F(FileOnSim, UnreadableOrNegativeValuesLeaveTheirRowsAndDisallowedValuesFail) {
    ShownFrame(2, [](SimGauge::State& s) {
        s.temperatureUnit = 1;
        s.intensityUnit = 3;
    });
    const QString path = PathOf("bad.txt");
    for (const QByteArray& unit : {QByteArray("abc"), QByteArray("-1"), QByteArray("")}) {
        SCOPED_TRACE(unit.constData());
        Write(path, "[CONFIGURATION]\r\nTYPE=2\r\nTEMPERATUREUNIT=" + unit +
                        "\r\nPRECIPITATIONUNIT=7\r\n");
        frame->ReadConfigurationButtonClick(); // every mark: succeeded
        ASSERT_TRUE(Import(path));
        EXPECT_EQ(frame->Parameters().TemperatureUnit, 1);
        EXPECT_EQ(List("TemperatureSetComboBox")->currentIndex(), 1);
        EXPECT_EQ(frame->RowPanel(TemperatureUnitRow)->ShownMark(), Mark::Succeeded)
            << "untouched by the file";
        EXPECT_EQ(frame->Parameters().PrecipitationUnit, 3);
        EXPECT_EQ(frame->RowPanel(PrecipitationUnitRow)->ShownMark(), Mark::Failed);
    }
}

TEST_F(FileOnSim, AFileOfAnotherModelOrWithoutModelIsRefusedAndChangesNothing) {
    ShownFrame(1, [](SimGauge::State& s) { s.heatingMode = 2; });
    const ParameterSet before = frame->Parameters();
    const QString other = PathOf("other.txt");
    Write(other, "[CONFIGURATION]\r\nTYPE=2\r\nHEATINGMAINSWITCH=0\r\nTEMPERATUREUNIT=1\r\n");
    EXPECT_FALSE(Import(other));
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages().at(0).kind, MsgKind::Error);
    EXPECT_TRUE(dialogs.Messages().at(0).text.contains("Axo Tessra2 S"));
    EXPECT_TRUE(dialogs.Messages().at(0).text.contains("nothing was changed"));

    for (const QByteArray& type :
         {QByteArray(""), QByteArray("TYPE=-1\r\n"), QByteArray("TYPE=one\r\n")}) {
        Write(other, "[CONFIGURATION]\r\n" + type + "HEATINGMAINSWITCH=0\r\n");
        EXPECT_FALSE(Import(other));
        EXPECT_EQ(dialogs.Messages().last().text, GetText(700));
    }
    Write(other, "no section at all\r\n");
    EXPECT_FALSE(Import(other));
    EXPECT_EQ(dialogs.Messages().last().text, GetText(700));

    EXPECT_EQ(frame->Parameters().HeatingMode, before.HeatingMode);
    EXPECT_EQ(frame->Parameters().TemperatureUnit, before.TemperatureUnit);
    EXPECT_EQ(frame->CurrentModel(), 1);
    EXPECT_TRUE(Gauge().Commands().empty());
}

TEST_F(FileOnSim, CancelledDialogsAndUnwritableFilesChangeNothing) {
    ShownFrame(1);
    dialogs.QueueFileAnswer(QString());
    EXPECT_FALSE(frame->WriteToFileButtonClick());
    dialogs.QueueFileAnswer(QString());
    EXPECT_FALSE(frame->ReadFromFileButtonClick());
    EXPECT_EQ(ParamPath, folder.path() + '/');
    EXPECT_TRUE(dialogs.Messages().isEmpty());
    ASSERT_EQ(dialogs.FileRequests().size(), 2);
    EXPECT_EQ(dialogs.FileRequests().at(1).request.title, "Load Axo Tessra2 configuration...");
    EXPECT_EQ(dialogs.FileRequests().at(1).request.folder, ParamPath);

    // A folder that does not exist: the export fails with a message, not silently.
    EXPECT_FALSE(Export(PathOf("missing/Export.txt")));
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages().at(0).kind, MsgKind::Error);
    EXPECT_FALSE(Import(PathOf("missing/Export.txt")));
    EXPECT_EQ(dialogs.Messages().size(), 2);
}
