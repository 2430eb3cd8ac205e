// The connection area's reading sequence without widgets.

#include "app/ConnectionInfoReader.h"
#include "AppFixture.h"
#include "support/ConnectedSimGauge.h"

namespace {

// Records what the sequence reports; rows can be hidden or replaced.
class RecordingView : public InfoRowView {
public:
    explicit RecordingView(std::size_t rows) : shown(rows, true), results(rows) {}

    void HideRowMark(std::size_t index) override { hiddenMarks.push_back(index); }
    bool RowShown(std::size_t index) override { return shown.at(index); }
    void ShowRowResult(std::size_t index, const InfoReading& reading) override {
        results.at(index) = reading;
        reported.push_back(index);
        if (onResult)
            onResult(index);
    }
    void ProcessMessages() override {}
    bool RowsReplaced() override { return replaced; }

    std::vector<bool> shown;
    std::vector<InfoReading> results;
    std::vector<std::size_t> reported;
    std::vector<std::size_t> hiddenMarks;
    bool replaced = false;
    std::function<void(std::size_t)> onResult;
};

class ReaderOnSim : public AppOnSim {
protected:
    SimGauge& Connected(int model) {
        SimGauge& gauge = ConnectSimGauge(backend, handler, model);
        LanguageOffset = OffsetEnglish;
        return gauge;
    }

    TSDIHandler handler;
};

} // namespace

TEST(ConnectionRows, RowsPerModel) {
    EXPECT_EQ(InfoRowsForModel(0).size(), 7u);
    EXPECT_EQ(InfoRowsForModel(1).size(), 8u);
    EXPECT_EQ(InfoRowsForModel(2).back(), InfoRow::DeviceTime);
    EXPECT_TRUE(InfoRowsForModel(-5).empty());
    EXPECT_TRUE(InfoRowsForModel(3).empty());
    std::vector<int> captions;
    for (InfoRow row : InfoRowsForModel(1))
        captions.push_back(InfoRowCaptionId(row));
    EXPECT_EQ(captions, (std::vector<int>{19, 18, 17, 44, 49, 24, 23, 560}));
}

TEST_F(ReaderOnSim, ReadsEveryRowInOrderWithItsCommands) {
    SimGauge& gauge = Connected(1);
    gauge.Gauge().serialNumber = " 987654321 ";
    const std::vector<InfoRow> rows = InfoRowsForModel(1);
    RecordingView view(rows.size());
    ConnectionInfoReader reader(handler, view);

    EXPECT_TRUE(reader.ReadInfos(rows, 1));

    EXPECT_EQ(gauge.Commands(), (Commands{"0OOS!", "0OOB!", "0OOV!", "0ODC!", "0ODF!", "0OCB!",
                                          "0OCHS!", "0OUT!", "0OCH!", "0OTM!"}));
    EXPECT_EQ(view.hiddenMarks.size(), rows.size());
    EXPECT_EQ(view.reported, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6, 7}));
    for (const InfoReading& reading : view.results)
        EXPECT_TRUE(reading.ok);
    EXPECT_EQ(view.results[0].value, QStringLiteral("987654321 / 03"));
    EXPECT_EQ(view.results[1].value, QStringLiteral("V1.31.0"));
    EXPECT_EQ(view.results[2].value, QStringLiteral("2024-03-01T10:00:00"));
    EXPECT_EQ(view.results[3].value, QStringLiteral("2024-01-15T08:30:00"));
    EXPECT_EQ(view.results[4].value, QStringLiteral("400 cm²"));
    EXPECT_EQ(view.results[5].value, QStringLiteral("4 °C"));
    EXPECT_EQ(view.results[6].value, QStringLiteral("permanent"));
    EXPECT_TRUE(view.results[7].value.startsWith(QDate::currentDate().toString(Qt::ISODate)));
}

TEST_F(ReaderOnSim, FailureMarksForUnusableAnswers) {
    SimGauge& gauge = Connected(0);
    gauge.Gauge().serialNumber = "000000000";
    gauge.Gauge().gaugeType = 7;
    gauge.Gauge().temperatureUnit = 1;
    gauge.Gauge().heatingTemperature = 5;
    const std::vector<InfoRow> rows = InfoRowsForModel(0);
    RecordingView view(rows.size());
    ConnectionInfoReader reader(handler, view);

    EXPECT_TRUE(reader.ReadInfos(rows, 0));

    EXPECT_FALSE(view.results[0].ok);                          // "000000000"
    EXPECT_FALSE(view.results[4].ok);                          // gauge type 7
    EXPECT_EQ(view.results[5].value, QStringLiteral("41 °F")); // 5 °C in °F
    EXPECT_TRUE(view.results[1].ok);
    EXPECT_FALSE(Contains(gauge.Commands(), "0OTM!")); // no clock on model 0
}

TEST_F(ReaderOnSim, HeatingModeRowNamesEveryModeOfTheLModel) {
    SimGauge& gauge = Connected(1);
    const std::vector<InfoRow> rows = InfoRowsForModel(1);
    const QString expected[] = {QStringLiteral("deactivated"), QStringLiteral("permanent"),
                                QStringLiteral("Temperature range control"),
                                QStringLiteral("NWS-Standard"),
                                QStringLiteral("Precipitation events")};
    for (int mode = 0; mode <= 4; ++mode) {
        gauge.Gauge().heatingMode = mode;
        RecordingView view(rows.size());
        ConnectionInfoReader reader(handler, view);
        EXPECT_TRUE(reader.ReadInfos(rows, 1));
        EXPECT_TRUE(view.results[6].ok) << mode;
        EXPECT_EQ(view.results[6].value, expected[mode]);
    }
}

TEST_F(ReaderOnSim, SilentGaugeFailsEveryRowButVisitsThemAll) {
    SimGauge& gauge = Connected(2);
    gauge.Faults().silent = true;
    gauge.Faults().faultyReplies = -1;
    const std::vector<InfoRow> rows = InfoRowsForModel(2);
    RecordingView view(rows.size());
    ConnectionInfoReader reader(handler, view);

    EXPECT_TRUE(reader.ReadInfos(rows, 2));
    EXPECT_EQ(view.reported.size(), rows.size());
    for (const InfoReading& reading : view.results)
        EXPECT_FALSE(reading.ok);
}

TEST_F(ReaderOnSim, AdapterVanishingDuringTheReadingStopsIt) {
    SimGauge& gauge = Connected(1);
    const std::vector<InfoRow> rows = InfoRowsForModel(1);
    RecordingView view(rows.size());
    view.onResult = [this](std::size_t index) {
        if (index == 1)
            backend.Unplug(0);
    };
    ConnectionInfoReader reader(handler, view);
    const double start = clock.Peek();

    EXPECT_FALSE(reader.ReadInfos(rows, 1));

    EXPECT_EQ(view.reported, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(gauge.Commands(), (Commands{"0OOS!", "0OOB!", "0OOV!"}));
    // It stops at once instead of trying every row on a dead port.
    EXPECT_LT(clock.Peek() - start, 2000.0);
}

TEST_F(ReaderOnSim, StopsWhenDisconnectedOrTheRowsAreReplaced) {
    SimGauge& gauge = Connected(1);
    const std::vector<InfoRow> rows = InfoRowsForModel(1);
    {
        RecordingView view(rows.size());
        view.onResult = [this](std::size_t index) {
            if (index == 2)
                handler.Disconnect();
        };
        ConnectionInfoReader reader(handler, view);
        EXPECT_FALSE(reader.ReadInfos(rows, 1));
        EXPECT_EQ(view.reported.size(), 3u);
    }
    ASSERT_TRUE(handler.Connect());
    gauge.ClearCommands();
    {
        RecordingView view(rows.size());
        view.onResult = [&view](std::size_t index) { view.replaced = index == 0; };
        ConnectionInfoReader reader(handler, view);
        EXPECT_FALSE(reader.ReadInfos(rows, 1));
        EXPECT_EQ(view.reported.size(), 1u);
    }
}

TEST_F(ReaderOnSim, HiddenRowsAreSkippedAndTheReadingIsNotComplete) {
    SimGauge& gauge = Connected(1);
    const std::vector<InfoRow> rows = InfoRowsForModel(1);
    RecordingView view(rows.size());
    view.shown[7] = false;
    ConnectionInfoReader reader(handler, view);
    EXPECT_FALSE(reader.ReadInfos(rows, 1));
    EXPECT_EQ(view.reported.size(), 7u);
    EXPECT_FALSE(Contains(gauge.Commands(), "0OTM!"));
}
