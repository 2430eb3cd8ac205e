// The edit rules and per-model lists of the configuration rows, without a gauge.

#include "config/ParameterRows.h"

#include <gtest/gtest.h>

using namespace Config;

namespace {

ParameterRows Prepared(int model) {
    ParameterRows rows;
    rows.SetModel(model);
    rows.PrepareLists();
    rows.EnableAllRows();
    rows.ShowRowsOfModel(true);
    return rows;
}

} // namespace

TEST(ParameterRows, ListsAndRangesFollowTheModel) {
    const ParameterRows model0 = Prepared(0);
    EXPECT_EQ(model0.Entries(BusAddressRow).count, 62);
    EXPECT_EQ(model0.Entries(BusAddressRow).literals.at(61), "z");
    EXPECT_EQ(model0.Entries(InterfaceRow).count, 2);
    EXPECT_EQ(model0.Entries(ProtocolRow).firstTextId, 580);
    EXPECT_EQ(model0.Entries(ProtocolRow).count, 6);
    EXPECT_EQ(model0.Entries(HeatingModeRow).count, 2);
    EXPECT_EQ(model0.Entries(ImpulseFactorRow).literals, (QStringList{"0.1", "0.2", "0.5", "1.0"}));
    EXPECT_EQ(model0.Set().ImpulseFactor, 1);
    EXPECT_EQ(model0.RangeOf(NominalTemperatureRow).max, 20);
    EXPECT_FALSE(model0.Shown(ProtocolRow)) << "SDI-12 hides the protocol";
    EXPECT_FALSE(model0.Shown(NominalTemperatureRow)) << "deactivated";

    const ParameterRows model2 = Prepared(2);
    EXPECT_EQ(model2.Entries(InterfaceRow).count, 3);
    EXPECT_EQ(model2.Entries(ProtocolRow).firstTextId, 610);
    EXPECT_EQ(model2.Entries(ProtocolRow).count, 9);
    EXPECT_EQ(model2.Entries(HeatingModeRow).count, 5);
    EXPECT_EQ(model2.Entries(ImpulseFactorRow).literals.at(0), "0.05");
    EXPECT_EQ(model2.Set().ImpulseFactor, 0);
    EXPECT_EQ(model2.Entries(SelfTestRow).count, 10);
    EXPECT_EQ(model2.Set().HeatingSelfTest, 60);
    EXPECT_EQ(model2.RangeOf(NominalTemperatureRow).min, 2);
    EXPECT_EQ(model2.Position(NominalTemperatureRow), 4);
    EXPECT_EQ(model2.Set().HeatingTemperature, 4) << "what is shown is what is stored";
    EXPECT_EQ(model2.RangeOf(ThresholdRow).min, -40);
    EXPECT_EQ(model2.RangeOf(DurationRow).max, 1440);

    const ParameterRows none = Prepared(NoModel);
    EXPECT_EQ(none.Entries(BusAddressRow).count, 62);
    EXPECT_EQ(none.Entries(HeatingModeRow).count, 0);
    for (int row = 0; row < RowCount; ++row)
        EXPECT_FALSE(none.Shown(Row(row)));
}

TEST(ParameterRows, MarksTurnEditedOnlyOnceATransferHasShownThem) {
    ParameterRows rows = Prepared(1);
    rows.Edit(PrecipitationUnitRow, 2);
    EXPECT_EQ(rows.MarkOf(PrecipitationUnitRow), Mark::None);
    EXPECT_EQ(rows.Set().PrecipitationUnit, 2);

    rows.Apply(PrecipitationUnitRow, 1, true);
    EXPECT_EQ(rows.MarkOf(PrecipitationUnitRow), Mark::Succeeded);
    rows.Apply(NominalTemperatureRow, 5, true);
    rows.Apply(ThresholdRow, -3, false);
    EXPECT_EQ(rows.MarkOf(ThresholdRow), Mark::Failed);

    rows.Edit(TemperatureUnitRow, 1);
    EXPECT_EQ(rows.MarkOf(TemperatureUnitRow), Mark::None) << "its mark was hidden";
    EXPECT_EQ(rows.MarkOf(NominalTemperatureRow), Mark::Edited) << "shown again in °F";
    EXPECT_EQ(rows.MarkOf(ThresholdRow), Mark::Edited);
    EXPECT_EQ(rows.Set().TemperatureUnit, 1);
}

TEST(ParameterRows, InterfaceAndProtocolEditsShowAndHideTheProtocol) {
    ParameterRows rows = Prepared(1);
    rows.Edit(InterfaceRow, 1);
    EXPECT_TRUE(rows.Shown(ProtocolRow));
    rows.Edit(ProtocolRow, 5);
    EXPECT_EQ(rows.Set().ProtocolType, 5);
    EXPECT_EQ(rows.Set().AsciiBaudIndex, 4);

    rows.Edit(ProtocolRow, 3);
    rows.Edit(InterfaceRow, 0);
    EXPECT_FALSE(rows.Shown(ProtocolRow));
    EXPECT_EQ(rows.Selection(ProtocolRow), 0);
    EXPECT_EQ(rows.Set().ProtocolType, 3) << "SDI-12 keeps the stored protocol";
    rows.Edit(InterfaceRow, 2);
    EXPECT_EQ(rows.Set().ProtocolType, 0) << "the protocol the list shows";
}

TEST(ParameterRows, DurationAndHeatingEditsStayWithinTheirRanges) {
    ParameterRows rows = Prepared(2);
    rows.Edit(DurationRow, 2000);
    EXPECT_EQ(rows.Set().HeatingDuration, 1440);
    rows.Edit(DurationRow, 0);
    EXPECT_EQ(rows.Set().HeatingDuration, 1);
    rows.Edit(NominalTemperatureRow, 12);
    EXPECT_EQ(rows.Set().HeatingTemperature, 9);
    rows.Edit(SelfTestRow, 9);
    EXPECT_EQ(rows.Set().HeatingSelfTest, 10080);
    rows.Edit(HeatingModeRow, HeatingPrecipitationEvents);
    EXPECT_TRUE(rows.Shown(DurationRow));
    EXPECT_FALSE(rows.Shown(SwitchTimeRow));
    rows.Edit(ImpulseFactorRow, 2);
    EXPECT_EQ(rows.Set().ImpulseFactor, 2);

    ParameterRows model0 = Prepared(0);
    model0.Edit(ImpulseFactorRow, 2);
    EXPECT_EQ(model0.Set().ImpulseFactor, 3) << "model 0 lists the codes from 1 on";
    model0.Edit(HeatingModeRow, HeatingPermanent);
    EXPECT_TRUE(model0.Shown(NominalTemperatureRow));
    EXPECT_FALSE(model0.Shown(SelfTestRow));
}
