// The gauge's settings: getters, setters inside and outside the write
// bracket, persistence, address change, identification and the clock.

#include "SimGaugeFixture.h"
#include "support/LinkStateGuard.h"

#include <QDateTime>

using SimGaugeSettingsTest = SimGaugeTest;

TEST_F(SimGaugeSettingsTest, SettersNeedTheWriteBracketAndTheirValuesPersist) {
    SimGauge& gauge = Open(1, false);
    EXPECT_EQ(Ask("0OUT!"), "00\r\n");
    EXPECT_EQ(Ask("0OUT1!"), "(none)"); // outside the bracket: refused
    EXPECT_EQ(Ask("0OUT!"), "00\r\n");

    EXPECT_EQ(Ask("0OOE0!"), "00\r\n");
    EXPECT_TRUE(gauge.Gauge().writeOpen);
    struct Case {
        const char* setter;
        const char* echo;
        const char* getter;
        const char* content;
    };
    const Case cases[] = {
        {"0OUT1!", "01\r\n", "0OUT!", "01\r\n"},
        {"0OUI3!", "03\r\n", "0OUI!", "03\r\n"},
        {"0OCH2!", "02\r\n", "0OCH!", "02\r\n"},
        {"0OCL2!", "02\r\n", "0OCL!", "02\r\n"},
        {"0OCM1!", "01\r\n", "0OCM!", "01\r\n"},
        {"0OCR6!", "06\r\n", "0OCR!", "06\r\n"},
        {"0OCI1!", "01\r\n", "0OCI!", "01\r\n"},
        {"0OSI4!", "04\r\n", "0OSI!", "04\r\n"},
        {"0OCHS+5!", "0+5\r\n", "0OCHS!", "0+5\r\n"},
        {"0OCHS7!", "07\r\n", "0OCHS!", "0+7\r\n"},
        {"0OCHG-3!", "0-3\r\n", "0OCHG!", "0-3\r\n"},
        {"0OCHG+8!", "0+8\r\n", "0OCHG!", "0+8\r\n"},
        {"0OCHD45!", "045\r\n", "0OCHD!", "045\r\n"},
        {"0OCHT10080!", "010080\r\n", "0OCHT!", "010080\r\n"},
        {"0OCHZ07:30:00!", "007:30:00\r\n", "0OCHZ!", "007:30:00\r\n"},
        {"0ODC2024-05-06T07:08:09!", "02024-05-06T07:08:09\r\n", "0ODC!",
         "02024-05-06T07:08:09\r\n"},
        {"0ODF2023-12-24T18:00:00!", "02023-12-24T18:00:00\r\n", "0ODF!",
         "02023-12-24T18:00:00\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Ask(c.setter), c.echo) << c.setter;
        EXPECT_EQ(Ask(c.getter), c.content) << c.setter;
    }
    // Values the gauge does not know are refused and change nothing.
    for (const char* refused : {"0OUT2!", "0OUT11!", "0OCL3!", "0OCHS-1!", "0OCHZ25:00:00!",
                                "0OCHDx!", "0ODC2024-13-01T00:00:00!", "0OCB2!"}) {
        EXPECT_EQ(Ask(refused, 150), "(none)") << refused;
    }
    EXPECT_EQ(Ask("0OUT!"), "01\r\n");
    EXPECT_EQ(Ask("0OCHZ!"), "007:30:00\r\n");
    EXPECT_EQ(Ask("0OOE1!"), "01\r\n");
    EXPECT_FALSE(gauge.Gauge().writeOpen);
    EXPECT_EQ(Ask("0OCH0!"), "(none)");
    EXPECT_EQ(Ask("0OCH!"), "02\r\n");
}

TEST_F(SimGaugeSettingsTest, ModelZeroKnowsFewerCodes) {
    SimGauge& gauge = Open(0, false);
    EXPECT_EQ(Ask("0OZY!", 200), "(none)");
    EXPECT_EQ(Ask("0OOE0!"), "00\r\n");
    EXPECT_EQ(Ask("0OCL2!", 150), "(none)");
    EXPECT_EQ(Ask("0OCM5!"), "05\r\n");
    EXPECT_EQ(Ask("0OCR!", 150), "(none)");
    EXPECT_EQ(gauge.Gauge().protocolType, 5);
}

TEST_F(SimGaugeSettingsTest, IdentificationTellsTheModel) {
    for (int model : {0, 1, 2}) {
        SCOPED_TRACE(model);
        SimBackend own;
        LinkStateGuard ownLink{&own};
        SimGauge::Settings settings;
        settings.model = model;
        own.AddGauge(settings, "AXM");
        ASSERT_GT(SDI12IO::OpenSdiPort("AXM", 7, 2, 0), 0);
        const std::string id = Ask("0I!", 200);
        // a, "13", 8 vendor, 6 model, 3 version, serial number, CR LF
        ASSERT_EQ(id.size(), 1 + 2 + 8 + 6 + 3 + 9 + 2u);
        EXPECT_EQ(id.substr(0, 11), "013AXO     ");
        const std::string modelField = id.substr(11, 6);
        EXPECT_EQ(modelField == "TESR2L" || modelField == "TESR2S", model != 0);
        EXPECT_EQ(id.substr(17, 3), "131");
        EXPECT_EQ(Ask("0OZY!", 200), model == 2 ? "03\r\n" : model == 1 ? "01\r\n" : "(none)");
        EXPECT_EQ(Ask("0OOV!"), "0V1.31.0\r\n");
        EXPECT_EQ(Ask("0OOS!"), "0123456789\r\n");
        EXPECT_EQ(Ask("0OOB!"), "003\r\n");
        EXPECT_EQ(Ask("0OCB!"), "01\r\n");
    }
    D2XXDriver::InstallBackend(&backend);
}

TEST_F(SimGaugeSettingsTest, AddressChangeAndOtherAddresses) {
    SimGauge& gauge = Open(1, false);
    EXPECT_EQ(Ask("0!"), "0\r\n");
    EXPECT_EQ(Ask("1!", 100), "(none)");
    EXPECT_EQ(Ask("0A#!", 100), "(none)");
    EXPECT_EQ(Ask("0A7!"), "7\r\n");
    EXPECT_EQ(Ask("?!"), "7\r\n");
    EXPECT_EQ(Ask("0I!", 100), "(none)");
    EXPECT_EQ(Ask("7OOE1!"), "71\r\n");
    EXPECT_EQ(gauge.Config().address, '7');
    // Every command is recorded, answered or not.
    EXPECT_EQ(gauge.Commands().back(), "7OOE1!");
    EXPECT_EQ(std::count(gauge.Commands().begin(), gauge.Commands().end(), "0I!"), 3);
}

TEST_F(SimGaugeSettingsTest, TestModeAndTotalReset) {
    SimGauge& gauge = Open(2, false);
    EXPECT_EQ(Ask("0OTC1!"), "01\r\n");
    EXPECT_TRUE(gauge.Gauge().testMode);
    EXPECT_EQ(Ask("0OTC0!"), "00\r\n");
    EXPECT_FALSE(gauge.Gauge().testMode);

    EXPECT_EQ(Ask("0OMR!", 150), "(none)");
    EXPECT_GT(gauge.Gauge().accumulatedTotal, 0.0);
    EXPECT_EQ(Ask("0OOE0!"), "00\r\n");
    EXPECT_EQ(Ask("0OMR!"), "01\r\n");
    EXPECT_EQ(gauge.Gauge().accumulatedTotal, 0.0);
}

TEST_F(SimGaugeSettingsTest, PinnedClockRunsWithTheSimulationsTime) {
    SimGauge& gauge = Open(1, false);
    gauge.PinClock(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)), clock.Peek());
    EXPECT_EQ(Ask("0OTM!", 200), "02026-12-31T23:59:59\r\n");
    clock.Advance(1000.0);
    EXPECT_EQ(Ask("0OTM!", 200), "02027-01-01T00:00:00\r\n") << "a second later, a new year";

    // Set through the write bracket, the clock stays pinned at the new time.
    EXPECT_EQ(Ask("0OOE0!"), "00\r\n");
    EXPECT_EQ(Ask("0OTM2031-02-03T04:05:06!", 800), "02031-02-03T04:05:06\r\n");
    EXPECT_EQ(Ask("0OOE1!"), "01\r\n");
    clock.Advance(60000.0);
    EXPECT_EQ(Ask("0OTM!", 200), "02031-02-03T04:06:06\r\n");
}

TEST_F(SimGaugeSettingsTest, ClockRunsAndCanBeSet) {
    Open(1, false);
    const std::string before = QDateTime::currentDateTime().toString(Qt::ISODate).toStdString();
    const std::string reply = Ask("0OTM!", 200);
    const std::string after = QDateTime::currentDateTime().toString(Qt::ISODate).toStdString();
    ASSERT_EQ(reply.size(), 1 + 19 + 2u);
    EXPECT_GE(reply.substr(1, 19), before);
    EXPECT_LE(reply.substr(1, 19), after);

    EXPECT_EQ(Ask("0OTM2031-02-03T04:05:06!", 800), "(none)");
    EXPECT_EQ(Ask("0OOE0!"), "00\r\n");
    EXPECT_EQ(Ask("0OTM2031-02-03T04:05:06!", 800), "02031-02-03T04:05:06\r\n");
    EXPECT_EQ(Ask("0OTMtomorrow!", 800), "(none)");
    EXPECT_EQ(Ask("0OOE1!"), "01\r\n");
    // The set time goes on running with the PC's.
    EXPECT_EQ(Ask("0OTM!", 200).substr(0, 15), "02031-02-03T04:");
}
