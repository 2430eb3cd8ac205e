// The adapter selection window on its own.

#include "AppFixture.h"
#include "app/ConnectedDevicesForm.h"
#include "diag/ConnectionDiagnosis.h"
#include "ui/PanelButton.h"

#include <QLabel>
#include <QTreeWidget>

TEST_F(AppOnSim, SelectionWindowListsTheProgramsAdaptersOnly) {
    LanguageOffset = OffsetEnglish;
    AddGauge(1);
    backend.AddForeignDevice("FT123456", "USB Serial Converter");
    AddGauge(2);
    TConnectForm form;

    EXPECT_EQ(form.size(), QSize(640, 300));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Connected USB devices"));
    EXPECT_EQ(form.TitlePanel->text(), QStringLiteral("Please select a USB device:"));
    EXPECT_EQ(form.StartButton->text(), QStringLiteral("Select device and connect"));
    const QTreeWidgetItem* header = form.USBDevicesListView->headerItem();
    EXPECT_EQ(header->text(0), QStringLiteral("No."));
    EXPECT_EQ(header->text(1), QStringLiteral("Description of the USB device"));
    EXPECT_EQ(header->text(2), QStringLiteral("Serial number of the USB device"));
    ASSERT_EQ(form.USBDevicesListView->topLevelItemCount(), 2);
    EXPECT_EQ(form.USBDevicesListView->topLevelItem(1)->text(0), QStringLiteral("2"));
    EXPECT_EQ(form.USBDevicesListView->topLevelItem(1)->text(2), QStringLiteral("AX2"));
    EXPECT_TRUE(form.USBDevicesListView->topLevelItem(0)->isSelected());
}

TEST_F(AppOnSim, ChoosingTestsTheAdapterAndClosesItAgain) {
    LanguageOffset = OffsetEnglish;
    AddGauge(1);
    AddGauge(1);
    TConnectForm form;
    form.USBDevicesListView->setCurrentItem(form.USBDevicesListView->topLevelItem(1));
    form.StartButtonClick();
    EXPECT_EQ(form.ChosenSerial, "AX2");
    EXPECT_EQ(form.ChosenDescription, "Tessra2 USB SDI-12 adapter");
    EXPECT_FALSE(SDI12IO::PortConnected);
    EXPECT_TRUE(dialogs.Messages().isEmpty());
    // The test open was closed again: the adapter is free for Connect.
    EXPECT_NE(SDI12IO::OpenSdiPort("AX2", 7, 2, 0), -1);
    SDI12IO::CloseSdiPort();
}

TEST_F(AppOnSim, AdapterThatCannotBeOpenedIsReportedAndNotChosen) {
    LanguageOffset = OffsetEnglish;
    AddGauge(1);
    AddGauge(1);
    TConnectForm form;
    backend.Unplug(0);
    form.StartButtonClick();
    EXPECT_TRUE(form.ChosenSerial.empty());
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].kind, MsgKind::Error);
    EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("USB interface could not be opened."));
}

#if defined(__linux__)
namespace {

// Two adapters, the chosen one unplugged, on a system where brltty runs.
class OpenErrorOnSim : public AppOnSim {
protected:
    void OpenAnUnpluggedAdapterWhileBrlttyRuns() {
        FakeSystemTree tree;
        tree.JoinDialout();
        tree.StartProcess(2210, "brltty");
        const ConnectionDoctor::ScopedDiagnosedSystem diagnosed(&tree);
        AddGauge(1);
        AddGauge(1);
        TConnectForm form;
        backend.Unplug(0);
        form.StartButtonClick();
    }
};

} // namespace

TEST_F(OpenErrorOnSim, AdapterThatCannotBeOpenedCarriesTheProblemsFoundAsDetails) {
    LanguageOffset = OffsetEnglish;
    OpenAnUnpluggedAdapterWhileBrlttyRuns();

    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].text, QStringLiteral("USB interface could not be opened."));
    EXPECT_EQ(dialogs.Messages()[0].details,
              GetText(853) + "\n" + GetText(872).arg("2210") + "\n" + GetText(861) + " " +
                  GetText(874));
}

TEST_F(OpenErrorOnSim, DetailsOfTheOpenErrorSpeakTheChosenLanguage) {
    LanguageOffset = OffsetGerman;
    OpenAnUnpluggedAdapterWhileBrlttyRuns();

    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].text,
              QString::fromUtf8("Die USB-Schnittstelle konnte nicht geöffnet werden."));
    EXPECT_TRUE(dialogs.Messages()[0].details.startsWith(
        QString::fromUtf8("brltty (Dienst für Braillezeilen)\nDer Braillezeilen-Dienst brltty "
                          "läuft (Prozess 2210)")));
}
#endif

TEST_F(AppOnSim, NothingSelectedKeepsTheWindowOpen) {
    LanguageOffset = OffsetEnglish;
    AddGauge(1);
    AddGauge(2);
    TConnectForm form;
    form.show();
    form.USBDevicesListView->clearSelection();
    form.StartButtonClick();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.ChosenSerial.empty());
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}
