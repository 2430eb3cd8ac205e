// The service work area: reset of the accumulated total, the factory reset
// with its confirmation and its write through the configuration area, and
// the version information, against the simulated gauge.

#include "config/ConfigFixture.h"

#include "config/ParameterFrame.h"
#include "config/ParameterRow.h"
#include "service/ServiceFrame.h"
#include "ui/FileVersionInfo.h"

#include <QLabel>

namespace {

class ServiceOnSim : public ConfigOnSim {
protected:
    // The service area of a connected gauge of model; the configuration area
    // is switched to (and reads the gauge) as the main window would.
    TServiceFrame& ShownService(int model) {
        SimGauge& gauge = ConnectedGauge(model);
        configuration = std::make_unique<TParameterFrame>(handler, model);
        configuration->resize(1000, 760);
        service = std::make_unique<TServiceFrame>(handler, [this, model] {
            ++switches;
            configuration->SelectModel(model);
            return configuration.get();
        });
        service->ShowServiceArea(model);
        gauge.ClearCommands();
        return *service;
    }
    SimGauge& Gauge() { return backend.Gauge(0); }

    std::unique_ptr<TParameterFrame> configuration;
    std::unique_ptr<TServiceFrame> service;
    int switches = 0;
};

const char* const HeaderText =
    "Are you sure you want to transfer the following settings to the Axo Tessra2?";

QStringList ConfirmationLines(const QString& text) {
    QStringList lines = text.split('\n');
    EXPECT_EQ(lines.first(), HeaderText);
    lines.removeFirst();
    EXPECT_EQ(lines.last(), "") << "every line ends with a line break";
    lines.removeLast();
    return lines;
}

} // namespace

TEST_F(ServiceOnSim, NoToTheResetQuestionSendsNothing) {
    ShownService(1);
    dialogs.QueueMessageAnswer(MsgResult::No);
    service->ResetNrtButtonClick();
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages().at(0).text,
              "Are you sure you want to reset the accumulated amount of precipitation?");
    EXPECT_EQ(dialogs.Messages().at(0).kind, MsgKind::Confirmation);
    EXPECT_TRUE(Gauge().Commands().empty());
    EXPECT_EQ(Gauge().Gauge().accumulatedTotal, 12.5);
}

TEST_F(ServiceOnSim, ResetOfTheTotalReportsItsOutcome) {
    ShownService(2);
    dialogs.QueueMessageAnswer(MsgResult::Yes);
    service->ResetNrtButtonClick();
    EXPECT_EQ(Gauge().Commands(), (Commands{"0OOE0!", "0OMR!", "0OOE1!"}));
    ASSERT_EQ(dialogs.Messages().size(), 2);
    EXPECT_EQ(dialogs.Messages().at(1).text, "Accumulated amount of precipitation reset!");
    EXPECT_EQ(dialogs.Messages().at(1).kind, MsgKind::Information);
    EXPECT_EQ(dialogs.Messages().at(1).buttons, MsgButtons::Ok);

    Gauge().ClearCommands();
    Gauge().Faults().silent = true;
    dialogs.QueueMessageAnswer(MsgResult::Yes);
    service->ResetNrtButtonClick();
    ASSERT_FALSE(Gauge().Commands().empty());
    for (const std::string& command : Gauge().Commands())
        EXPECT_EQ(command, "0OOE0!") << "no OMR! when the bracket fails";
    EXPECT_EQ(dialogs.Messages().last().text,
              "Accumulated amount of precipitation could not be reset!");
}

TEST_F(ServiceOnSim, FactoryResetOfATessra2LListsItsSettingsAndWritesThemAll) {
    ShownService(1);
    Gauge().Gauge().heatingMode = 0;
    Gauge().Gauge().heatingTemperature = 9;
    Gauge().Gauge().communicationInterface = 1;
    dialogs.QueueMessageAnswer(MsgResult::Yes);
    service->FactoryResetButtonClick();

    ASSERT_EQ(dialogs.Messages().size(), 1) << "no heating question on a Tessra2 L";
    EXPECT_EQ(ConfirmationLines(dialogs.Messages().at(0).text),
              (QStringList{"Bus address: 0", "Communication interface: SDI-12",
                           "RS-485 protocol type: SDI-12 protocol", "Temperature units: °C",
                           "Intensity units: mm/min", "Impulse output frequency: 5Hz",
                           "Impuls factor: 0.1", "Heating mode: permanent",
                           "Nominal heating temperature: 5°C", "Threshold temperature: -30°C",
                           "Switching time: 00:00:00", "Power on duration: 20min",
                           "Self-test interval: 60min"}));
    EXPECT_EQ(switches, 1);

    const Commands& sent = Gauge().Commands();
    const auto write = std::find(sent.begin(), sent.end(), "0OOE0!");
    ASSERT_NE(write, sent.end());
    Commands expected = Bracketed("A0!");
    expected += Bracketed("OCL0!");
    expected += Bracketed("OCM0!");
    expected += Bracketed("OUT0!");
    expected += Bracketed("OUI0!");
    expected += Bracketed("OCI0!");
    expected.push_back("0OOV!");
    expected += Bracketed("OSI1!");
    expected += Bracketed("OCH1!");
    expected += Bracketed("OCHS+5!");
    expected += Bracketed("OCHG-30!"); // hidden under "permanent", sent by force
    expected += Bracketed("OCHZ00:00:00!");
    expected.push_back("0OTM!");
    expected += Bracketed("OCHD20!");
    expected += Bracketed("OCHT60!");
    expected += Bracketed("ODC*!");
    EXPECT_EQ(Masked(Commands(write, sent.end())), expected);
    EXPECT_EQ(Gauge().Gauge().heatingTemperature, 5);
    EXPECT_EQ(Gauge().Gauge().heatingThreshold, -30);
    EXPECT_EQ(configuration->Parameters().HeatingMode, 1);
    EXPECT_EQ(configuration->RowPanel(Config::HeatingModeRow)->ShownMark(),
              Config::Mark::Succeeded);
}

TEST_F(ServiceOnSim, FactoryResetOfATessra2AnsweringNoToHeatingWritesTheTemperatureAllTheSame) {
    ShownService(0);
    dialogs.QueueMessageAnswers({MsgResult::No, MsgResult::Yes});
    service->FactoryResetButtonClick();

    ASSERT_EQ(dialogs.Messages().size(), 2);
    EXPECT_EQ(dialogs.Messages().at(0).text, "Do you want to activate the heating?");
    EXPECT_EQ(ConfirmationLines(dialogs.Messages().at(1).text),
              (QStringList{"Bus address: 0", "Communication interface: SDI-12",
                           "RS-485 protocol type: SDI-12 protocol", "Temperature units: °C",
                           "Intensity units: mm/min", "Impulse output frequency: 5Hz",
                           "Impuls factor: 0.1", "Heating mode: deactivated"}));
    EXPECT_EQ(service->FactorySet().HeatingMode, 0);

    const Commands& sent = Gauge().Commands();
    const auto heating = std::find(sent.begin(), sent.end(), "0OCH0!");
    ASSERT_NE(heating, sent.end());
    ASSERT_LT(heating + 3, sent.end());
    EXPECT_EQ(*(heating + 3), "0OCHS+4!") << "the nominal temperature is written by force";
    EXPECT_EQ(Gauge().Gauge().heatingMode, 0);
    EXPECT_EQ(Gauge().Gauge().heatingTemperature, 4);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "0OCHG-30!"), 0) << "model 0 has no threshold";
}

TEST_F(ServiceOnSim, FactoryResetAnsweredNoChangesNothing) {
    ShownService(2);
    dialogs.QueueMessageAnswer(MsgResult::No);
    service->FactoryResetButtonClick();
    EXPECT_EQ(switches, 0);
    EXPECT_EQ(Gauge().Commands(), Commands{"0OOV!"}) << "only the impulse-factor question";
}

TEST_F(ServiceOnSim, FactorySetFollowsTheModelAndVersionLabelsShowTheProgram) {
    ShownService(2);
    const ParameterSet l = service->FactorySet();
    EXPECT_EQ(l.Model, 2);
    EXPECT_EQ(l.HeatingTemperature, 5);
    EXPECT_EQ(l.HeatingThreshold, -30);
    EXPECT_EQ(l.HeatingDuration, 20);
    service->ShowServiceArea(0);
    EXPECT_EQ(service->FactorySet().HeatingTemperature, 4);
    EXPECT_EQ(service->FactorySet().HeatingMode, 1);
    service->ShowServiceArea(Config::NoModel);
    EXPECT_EQ(service->FactorySet().Model, -5);
    EXPECT_EQ(service->FactorySet().HeatingTemperature, 4) << "only the model changes";

    const QString version = service->findChild<QLabel*>("VersionLabel")->text();
    EXPECT_EQ(version, "Version: " + TFileVersionInfo().ProductVersion());
    EXPECT_TRUE(version.startsWith("Version: V"));
    const QString copyright = service->findChild<QLabel*>("CopyrightLabel")->text();
    EXPECT_TRUE(copyright.startsWith("Copyright"));
    EXPECT_TRUE(copyright.contains(TFileVersionInfo().LegalCopyright()));
    EXPECT_EQ(copyright.count("Copyright", Qt::CaseInsensitive), 1)
        << "the word once: " << copyright.toStdString();
    const QString acknowledgement = service->findChild<QLabel*>("MPLLabel")->text();
    EXPECT_TRUE(acknowledgement.contains("Qt"));
    EXPECT_TRUE(acknowledgement.contains("GNU Lesser General Public License"));
    EXPECT_FALSE(acknowledgement.contains("Mozilla"));
    EXPECT_EQ(acknowledgement.count('\n'), 1) << "two lines";

    LanguageOffset = OffsetGerman;
    service->RefreshServiceTexts();
    EXPECT_EQ(service->findChild<QLabel*>("ResetNrtLabel")->text(), GetText(30));
    EXPECT_EQ(service->findChild<QLabel*>("VersionLabel")->text(), version)
        << "the version keeps the language of its creation";
    EXPECT_EQ(service->findChild<QLabel*>("MPLLabel")->text(), acknowledgement);
}
