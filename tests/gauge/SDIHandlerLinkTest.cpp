// Link, address, identity, firmware level and modes against the simulated gauge.

#include "SimFixture.h"

namespace {

class ScriptedChooser final : public AdapterChooser {
public:
    std::string answer;
    int asked = 0;
    std::string ChooseAdapterSerial() override {
        ++asked;
        return answer;
    }
};

} // namespace

TEST_F(HandlerOnSim, ConnectWithNoneOrOneOfTheProgramsAdapters) {
    ScriptedChooser chooser;
    handler.SetAdapterChooser(&chooser);
    EXPECT_FALSE(handler.Connect());
    backend.AddForeignDevice("FT4711", "USB Serial Converter");
    backend.AddForeignDevice("AX0815", "USB IrDA Dongle"); // an infrared adapter is skipped
    EXPECT_FALSE(handler.Connect());
    EXPECT_FALSE(handler.Connected);

    SimGauge& gauge = AddGauge();
    ASSERT_TRUE(handler.Connect());
    EXPECT_TRUE(handler.Connected);
    EXPECT_TRUE(SDI12IO::PortConnected);
    EXPECT_EQ(chooser.asked, 0);
    EXPECT_EQ(gauge.ProgramLine().baud, 1200u);
    EXPECT_EQ(gauge.ProgramLine().wordLength, 7);
    EXPECT_EQ(gauge.ProgramLine().parity, 2);
    EXPECT_EQ(D2XXDriver::StopBits, 0);
    EXPECT_EQ(gauge.BreakCount(), 0) << "Connect sends nothing, not even the address query";
    EXPECT_TRUE(handler.Connect()) << "the open adapter is closed before it is opened again";
}

TEST_F(HandlerOnSim, ConnectAsksTheChooserWhenSeveralAdaptersArePresent) {
    AddGauge(1, '1', "AX0001");
    AddGauge(2, '2', "AX0002");
    EXPECT_FALSE(handler.Connect()) << "nobody to ask";
    ScriptedChooser chooser;
    handler.SetAdapterChooser(&chooser);
    EXPECT_FALSE(handler.Connect()) << "selection closed without a choice";
    chooser.answer = "FT4711";
    EXPECT_FALSE(handler.Connect()) << "not one of the program's adapters";
    EXPECT_FALSE(handler.Connected);

    chooser.answer = "AX0002";
    ASSERT_TRUE(handler.Connect());
    EXPECT_EQ(chooser.asked, 3);
    EXPECT_EQ(handler.QueryAddress(), "2");
    EXPECT_TRUE(backend.Gauge(0).Commands().empty());
}

TEST_F(HandlerOnSim, PortWatchAndDisconnect) {
    ConnectedGauge();
    EXPECT_TRUE(handler.IsPortAlive());
    EXPECT_TRUE(backend.Gauge().Commands().empty()) << "the watch sends nothing";
    backend.Unplug();
    EXPECT_FALSE(handler.IsPortAlive());
    EXPECT_FALSE(SDI12IO::PortConnected);
    handler.Disconnect();
    EXPECT_FALSE(handler.Connected);
    EXPECT_EQ(D2XXDriver::Handle, D2XXDriver::ClosedHandle);
    EXPECT_EQ(handler.Address, "0") << "the address survives a disconnect";
}

TEST_F(HandlerOnSim, AddressQueryAndChange) {
    SimGauge& gauge = ConnectedGauge(1, 'c');
    handler.Address = "x";
    EXPECT_EQ(handler.ReadAddress(), "c");
    EXPECT_EQ(handler.Address, "x") << "ReadAddress does not set the address";
    gauge.Faults().garbage = true; // noise of an address's length is no address
    EXPECT_EQ(handler.QueryAddress(), "");
    EXPECT_EQ(handler.ReadAddress(), "");
    EXPECT_EQ(handler.Address, "x");
    EXPECT_EQ(gauge.Commands(), (Commands{"?!", "?!", "?!"}));

    gauge.Faults() = SimFaults();
    handler.Address = "c";
    gauge.ClearCommands();
    ASSERT_TRUE(handler.ChangeAddress("5"));
    EXPECT_EQ(handler.Address, "5");
    EXPECT_EQ(gauge.Config().address, '5');
    EXPECT_EQ(gauge.Commands(), (Commands{"cOOE0!", "cA5!", "5OOE1!"}));
    EXPECT_FALSE(gauge.Gauge().writeOpen) << "the bracket closed at the new address";

    // The gauge takes the new address but its reply is lost: the handler
    // keeps the old one, and the closing bracket goes there.
    gauge.ClearCommands();
    gauge.Faults().garbage = true;
    EXPECT_FALSE(handler.ChangeAddress("7"));
    EXPECT_EQ(handler.Address, "5");
    EXPECT_EQ(gauge.Commands(), (Commands{"5OOE0!", "5A7!", "5OOE1!", "5OOE1!", "5OOE1!"}));
}

TEST_F(HandlerOnSim, ModelFromIdentification) {
    for (int model : {0, 1, 2}) {
        SimBackend own;
        SimGauge::Settings settings;
        settings.model = model;
        SimGauge& gauge = own.AddGauge(settings);
        D2XXDriver::InstallBackend(&own);
        TSDIHandler fresh;
        fresh.Address = "0";
        EXPECT_EQ(fresh.GetModel(), model);
        EXPECT_TRUE(fresh.Connected) << "GetModel connects first";
        const Commands expected = model == 0 ? Commands{"0I!"} : Commands{"0I!", "0OZY!"};
        EXPECT_EQ(gauge.Commands(), expected);
        D2XXDriver::InstallBackend(&backend);
    }
    handler.Address = "0";
    EXPECT_EQ(handler.GetModel(), 0) << "no adapter";
    SimGauge& gauge = ConnectedGauge(2);
    Silence(gauge);
    EXPECT_EQ(handler.GetModel(), 0) << "no identification";
    EXPECT_EQ(gauge.Commands(), (Commands{"0I!", "0I!", "0I!"}));
}

TEST_F(HandlerOnSim, ImpulseFactorDependsOnModel0sFirmwareVersion) {
    SimGauge& gauge = ConnectedGauge(0);
    for (const auto& [version, supported] :
         std::vector<std::pair<std::string, bool>>{{"V1.30.3", true},
                                                   {"V1.31.0", true},
                                                   {"V2.0.0", true},
                                                   {"V1.30.2", false},
                                                   {"V0.99.9", false}}) {
        gauge.Gauge().firmwareVersion = version;
        EXPECT_EQ(handler.SupportsImpulseFactor(0), supported) << version;
        EXPECT_TRUE(handler.SupportsImpulseFactor(2)) << version;
    }
    EXPECT_EQ(handler.FirmwareMajor, 0);
    EXPECT_EQ(handler.FirmwareMinor, 99);
    EXPECT_EQ(handler.FirmwarePatch, 9);
    EXPECT_EQ(gauge.Commands().back(), "0OOV!");
    Silence(gauge);
    EXPECT_FALSE(handler.SupportsImpulseFactor(1));
    EXPECT_FALSE(handler.SupportsImpulseFactor(2));
}

TEST_F(HandlerOnSim, TransferRateSwitchReopensThePortAt8N1WhateverTheReply) {
    SimGauge& gauge = ConnectedGauge(0);
    EXPECT_TRUE(handler.SetTransferRate(4800));
    EXPECT_EQ(gauge.Commands(), Commands{"0OXU+0472!"});
    EXPECT_EQ(gauge.ProgramLine().baud, 4800u);
    EXPECT_EQ(gauge.ProgramLine().wordLength, 8);
    EXPECT_EQ(gauge.ProgramLine().parity, 0);

    backend.Unplug(0);
    SimGauge& silent = ConnectedGauge(1);
    Silence(silent);
    EXPECT_FALSE(handler.SetTransferRate(115200));
    EXPECT_EQ(silent.Commands().front(), "0OXU+0391!");
    EXPECT_EQ(silent.ProgramLine().baud, 115200u);
    EXPECT_EQ(silent.ProgramLine().wordLength, 8);
    EXPECT_EQ(silent.ProgramLine().parity, 0);
    EXPECT_EQ(D2XXDriver::StopBits, 0);
}

TEST_F(HandlerOnSim, ReadPendingCollectsTheLoadersOutput) {
    SimGauge& gauge = ConnectedGauge(1);
    ASSERT_TRUE(handler.SetTransferRate(115200));
    std::string collected = "start:";
    clock.Advance(2500); // the loader asks for data once a second
    EXPECT_TRUE(handler.ReadPending(collected));
    EXPECT_EQ(collected.rfind("start:C", 0), 0u) << collected;
    EXPECT_FALSE(handler.ReadPending(collected));
    EXPECT_TRUE(gauge.InLoader());
}

TEST_F(HandlerOnSim, WriteBracketAndTestMode) {
    SimGauge& gauge = ConnectedGauge();
    EXPECT_TRUE(handler.BeginConfigWrite());
    EXPECT_TRUE(gauge.Gauge().writeOpen);
    EXPECT_TRUE(handler.EndConfigWrite());
    EXPECT_FALSE(gauge.Gauge().writeOpen);
    EXPECT_TRUE(handler.StartTestMode());
    EXPECT_TRUE(gauge.Gauge().testMode);
    EXPECT_TRUE(handler.StopTestMode());
    EXPECT_FALSE(gauge.Gauge().testMode);
    EXPECT_EQ(gauge.Commands(), (Commands{"0OOE0!", "0OOE1!", "0OTC1!", "0OTC0!"}));
    gauge.Faults().garbage = true;
    EXPECT_FALSE(handler.BeginConfigWrite());
    EXPECT_FALSE(handler.EndConfigWrite());
    EXPECT_FALSE(handler.StartTestMode());
    EXPECT_FALSE(handler.StopTestMode());
}

TEST_F(HandlerOnSim, AnUnpluggedAdapterIsFoundAgainWithTheGaugeBehindIt) {
    SimGauge& gauge = ConnectedGauge(1);
    handler.GetModel();
    EXPECT_EQ(handler.IdentifiedSerial(), "123456789");
    const std::string adapter = SDI12IO::CurrentSerial;

    backend.Unplug(0);
    EXPECT_FALSE(handler.IsPortAlive());
    EXPECT_FALSE(D2XXDriver::IsAdapterPresent(adapter));
    EXPECT_FALSE(handler.Reconnect()) << "no other adapter is taken in its place";

    gauge.Gauge().serialNumber = "987654321"; // another gauge on the same adapter
    backend.Replug(0);
    EXPECT_TRUE(D2XXDriver::IsAdapterPresent(adapter));
    EXPECT_FALSE(D2XXDriver::IsAdapterPresent("AX4711"));
    ASSERT_TRUE(handler.Reconnect());
    EXPECT_TRUE(handler.IsPortAlive());
    EXPECT_EQ(handler.GetModel(), ModelTessra2L);
    EXPECT_EQ(handler.IdentifiedSerial(), "987654321");

    gauge.Faults().silent = true;
    handler.GetModel();
    EXPECT_EQ(handler.IdentifiedSerial(), "") << "a silent gauge identifies as nobody";
}
