// The configuration work area as the technician sees it: rows, texts,
// marks, buttons and the edits of its widgets, against the simulated gauge.

#include "ConfigFixture.h"

#include "config/ParameterFields.h"
#include "config/ParameterFrame.h"
#include "config/ParameterRow.h"
#include "ui/PanelButton.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace Config;

namespace {

class FrameOnSim : public ConfigOnSim {
protected:
    // A frame for a connected gauge of model, shown and read.
    TParameterFrame& ShownFrame(int model,
                                const std::function<void(SimGauge::State&)>& preset = {}) {
        SimGauge& gauge = ConnectedGauge(model);
        if (preset)
            preset(gauge.Gauge());
        frame = std::make_unique<TParameterFrame>(handler, model);
        frame->resize(1000, 760);
        frame->show();
        frame->SelectModel(model);
        gauge.ClearCommands();
        return *frame;
    }

    template <typename T> T* Child(const char* name) {
        T* child = frame->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    SimGauge& Gauge() { return backend.Gauge(0); }
    long Count(const std::string& command) {
        const Commands& sent = Gauge().Commands();
        return long(std::count(sent.begin(), sent.end(), command));
    }

    std::unique_ptr<TParameterFrame> frame;
};

} // namespace

TEST_F(FrameOnSim, TemperaturesAreShownInFahrenheitAndStoredInCelsius) {
    ShownFrame(1, [](SimGauge::State& s) {
        s.temperatureUnit = 1;
        s.heatingMode = 2;
        s.heatingTemperature = 4;
        s.heatingThreshold = -40;
    });
    auto* nominal = Child<TemperatureField>("HeatingTemperatureValueEdit");
    auto* threshold = Child<TemperatureField>("HeatingThresholdEdit");
    EXPECT_EQ(nominal->text(), "39°F");
    EXPECT_EQ(threshold->text(), "-40°F");
    EXPECT_EQ(frame->Parameters().HeatingTemperature, 4);

    nominal->stepBy(1);
    EXPECT_EQ(frame->Parameters().HeatingTemperature, 5);
    EXPECT_EQ(nominal->text(), "41°F");
    EXPECT_EQ(frame->RowPanel(NominalTemperatureRow)->ShownMark(), Mark::Edited);

    Child<QComboBox>("TemperatureSetComboBox")->setCurrentIndex(0);
    EXPECT_EQ(nominal->text(), "5°C");
    EXPECT_EQ(threshold->text(), "-40°C");
    EXPECT_EQ(frame->RowPanel(ThresholdRow)->ShownMark(), Mark::Edited);
    EXPECT_EQ(frame->Parameters().HeatingThreshold, -40);
}

TEST_F(FrameOnSim, ShowingTheAreaTwiceReadsOnceAndAReconnectionReadsAgain) {
    ShownFrame(1);
    frame->SelectModel(1);
    EXPECT_TRUE(Gauge().Commands().empty()) << "the configuration was read already";

    frame->ResetParameterArea();
    EXPECT_EQ(frame->CurrentModel(), NoModel);
    frame->SelectModel(1);
    EXPECT_EQ(Count("?!"), 1);
    EXPECT_EQ(Count("0OCHT!"), 1);
    EXPECT_TRUE(frame->ConfigurationRead());

    Gauge().ClearCommands();
    frame->ReadConfigurationButtonClick();
    EXPECT_EQ(Count("?!"), 1) << "the read button always reads";
}

TEST_F(FrameOnSim, WriteButtonsAreHiddenUntilAReadAndCaptionsNameTheModel) {
    ConnectedGauge(2);
    frame = std::make_unique<TParameterFrame>(handler, 2);
    frame->resize(1000, 760);
    frame->show();
    auto* write = Child<TAXO_TTNTPanelButton>("WriteConfigurationButton");
    auto* toFile = Child<TAXO_TTNTPanelButton>("WriteToFileButton");
    EXPECT_FALSE(write->isVisible());
    EXPECT_FALSE(toFile->isVisible());
    EXPECT_TRUE(Child<TAXO_TTNTPanelButton>("ReadFromFileButton")->isVisible());
    EXPECT_TRUE(Gauge().Commands().empty()) << "creation reads nothing";

    frame->SelectModel(2);
    EXPECT_TRUE(write->isVisible());
    EXPECT_TRUE(toFile->isVisible());
    EXPECT_EQ(Child<TAXO_TTNTPanelButton>("ReadConfigurationButton")->text(),
              "Read from Axo Tessra2 S");
    EXPECT_EQ(write->text(), "Write to Axo Tessra2 S");
    EXPECT_EQ(toFile->text(), "Write to file");

    LanguageOffset = OffsetGerman;
    frame->RefreshParameterTexts();
    EXPECT_EQ(toFile->text(), GetText(47));
    EXPECT_EQ(frame->RowPanel(BusAddressRow)->Label()->text(), GetText(48));
    EXPECT_EQ(Child<QComboBox>("HeatingMainSwitchComboBox")->itemText(0), GetText(60));
    EXPECT_NE(GetText(60), "deactivated");
}

TEST_F(FrameOnSim, RowsShareOneHeightAndAlternateTheirBackground) {
    ShownFrame(1, [](SimGauge::State& s) { s.heatingMode = 3; });
    int shown = 0;
    for (int row = 0; row < RowCount; ++row)
        shown += frame->RowPanel(Row(row))->isVisible() ? 1 : 0;
    ASSERT_EQ(shown, 11) << "seven settings, protocol hidden; mode and four heating rows";
    const int height = (760 - 140) / shown;
    bool grey = false;
    for (int row = 0; row < RowCount; ++row) {
        TParameterRow* panel = frame->RowPanel(Row(row));
        if (row == FirstHeatingRow)
            grey = false;
        if (!panel->isVisible())
            continue;
        EXPECT_EQ(panel->height(), height) << "row " << row;
        EXPECT_EQ(panel->width(), 1000 - 30);
        EXPECT_EQ(panel->x(), 15);
        EXPECT_EQ(panel->Alternate(), grey) << "row " << row;
        grey = !grey;
    }
    EXPECT_EQ(Child<QLabel>("ConfigurationTitle")->y(), 10);
    auto* clock = Child<QDateTimeEdit>("Tessra2TimePicker");
    EXPECT_TRUE(clock->isVisible());
    EXPECT_EQ(clock->x() + clock->width(), 400 + 350);
    EXPECT_EQ(clock->width(), 116);
}

TEST_F(FrameOnSim, ChoosingNwsStandardShowsTheGaugeClockAndStoresThePickersTime) {
    ShownFrame(1, [](SimGauge::State& s) { s.heatingMode = 1; });
    auto* clock = Child<QDateTimeEdit>("Tessra2TimePicker");
    auto* timer = Child<QTimer>("Tessras2Timecounter");
    EXPECT_FALSE(clock->isVisible());

    Child<QComboBox>("HeatingMainSwitchComboBox")->setCurrentIndex(HeatingNwsStandard);
    EXPECT_EQ(Gauge().Commands(), Commands{"0OTM!"});
    EXPECT_TRUE(frame->RowPanel(SwitchTimeRow)->isVisible());
    EXPECT_TRUE(frame->RowPanel(DurationRow)->isVisible());
    EXPECT_TRUE(clock->isVisible());
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(frame->Parameters().HeatingMode, 3);
    EXPECT_EQ(frame->Parameters().HeatingSwitchTime,
              Child<QTimeEdit>("HeatingStartTimePicker")->time().toString("HH:mm:ss"));

    const QDateTime before = clock->dateTime();
    frame->Tessras2TimecounterTimer();
    EXPECT_EQ(clock->dateTime(), before.addSecs(1));

    Child<QComboBox>("HeatingMainSwitchComboBox")->setCurrentIndex(HeatingPermanent);
    frame->Tessras2TimecounterTimer();
    EXPECT_FALSE(timer->isActive());
    EXPECT_FALSE(clock->isVisible());
}

TEST_F(FrameOnSim, DurationFieldReadsWhatIsTypedWhenLeft) {
    ShownFrame(2, [](SimGauge::State& s) {
        s.heatingMode = 4;
        s.heatingDuration = 20;
    });
    auto* duration = Child<DurationField>("HeatingDurationEdit");
    EXPECT_EQ(duration->text(), "20 min");
    const auto typeAndLeave = [&](const QString& text) {
        duration->setFocus();
        auto* edit = duration->findChild<QLineEdit*>();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        duration->clearFocus();
    };
    typeAndLeave("abc");
    EXPECT_EQ(frame->Parameters().HeatingDuration, 1);
    EXPECT_EQ(duration->text(), "1 min");
    typeAndLeave("45");
    EXPECT_EQ(frame->Parameters().HeatingDuration, 45);
    EXPECT_EQ(duration->text(), "45 min");
    typeAndLeave("2000 min");
    EXPECT_EQ(frame->Parameters().HeatingDuration, 1440) << "brought into the range";
    typeAndLeave("-3");
    EXPECT_EQ(frame->Parameters().HeatingDuration, 1);
    EXPECT_EQ(frame->RowPanel(DurationRow)->ShownMark(), Mark::Edited);
}

TEST_F(FrameOnSim, DurationFieldPutsItsUnitBackAsSoonAsTheTextLacksIt) {
    ShownFrame(2, [](SimGauge::State& s) {
        s.heatingMode = 4;
        s.heatingDuration = 20;
    });
    auto* duration = Child<DurationField>("HeatingDurationEdit");
    auto* edit = duration->findChild<QLineEdit*>();
    duration->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "7");
    EXPECT_EQ(edit->text(), "7 min") << "while typing, before the field is left";
    QTest::keyClicks(edit, "5");
    EXPECT_EQ(edit->text(), "75 min");
    edit->setCursorPosition(edit->text().size());
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "75 mi min");
}

TEST_F(FrameOnSim, DwdOmbrometerDisablesTheOtherControls) {
    ShownFrame(2, [](SimGauge::State& s) { s.communicationInterface = 1; });
    auto* protocol = Child<QComboBox>("ProtocolTypeComboBox");
    auto* interface = Child<QComboBox>("CommunicationInterfaceComboBox");
    ASSERT_TRUE(protocol->isVisible());
    EXPECT_EQ(protocol->itemText(8), "DWD Ombrometer");
    protocol->setCurrentIndex(8);
    EXPECT_EQ(interface->currentText(), "RS-485 4 wire");
    EXPECT_FALSE(interface->isEnabled());
    EXPECT_FALSE(Child<QComboBox>("HeatingMainSwitchComboBox")->isEnabled());
    EXPECT_FALSE(Child<QComboBox>("HeatingSelfTestComboBox")->isEnabled());
    EXPECT_TRUE(Child<QComboBox>("BusAddressComboBox")->isEnabled());
    EXPECT_TRUE(Child<DurationField>("HeatingDurationEdit")->isEnabled());
    EXPECT_EQ(frame->Parameters().CommunicationInterface, 1);

    frame->WriteConfigurationButtonClick();
    Commands expected = Bracketed("A0!");
    expected += Bracketed("OCM2!");
    expected += Bracketed("ODC*!");
    EXPECT_EQ(Masked(Gauge().Commands()), expected);
    EXPECT_EQ(frame->RowPanel(ProtocolRow)->ShownMark(), Mark::Succeeded);

    protocol->setCurrentIndex(1);
    EXPECT_TRUE(interface->isEnabled());
    EXPECT_EQ(interface->currentText(), "RS-485");
    interface->setCurrentIndex(0);
    EXPECT_FALSE(frame->RowPanel(ProtocolRow)->isVisible());
}

TEST_F(FrameOnSim, WriteShowsTheValueSentAndItsMarkOnEveryRow) {
    ShownFrame(1, [](SimGauge::State& s) { s.heatingMode = 2; });
    Child<QComboBox>("PrecipitationUnitComboBox")->setCurrentIndex(2);
    EXPECT_EQ(frame->RowPanel(PrecipitationUnitRow)->ShownMark(), Mark::Edited);
    Child<QComboBox>("BusAddressComboBox")->setCurrentIndex(12); // "C"
    frame->WriteConfigurationButtonClick();
    EXPECT_EQ(handler.Address, "C");
    EXPECT_EQ(Gauge().Gauge().intensityUnit, 2);
    EXPECT_EQ(Gauge().Commands().at(2), "COOE1!") << "the bracket closes at the new address";
    for (int row = 0; row < RowCount; ++row) {
        TParameterRow* panel = frame->RowPanel(Row(row));
        if (panel->isVisible() && row != ProtocolRow) {
            EXPECT_EQ(panel->ShownMark(), Mark::Succeeded) << "row " << row;
        }
    }
    EXPECT_EQ(frame->RowPanel(SwitchTimeRow)->ShownMark(), Mark::None) << "hidden, not sent";
}
