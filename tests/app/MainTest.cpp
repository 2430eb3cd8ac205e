// The main window: start-up, tiles, connection, watch and language step.

#include "AppFixture.h"
#include "support/ProgramVersion.h"
#include "app/ConnectionFrame.h"
#include "diag/ConnectionDiagnosis.h"
#include "firmware/FirmwareupdateFrame.h"
#include "measurement/MeasurementFrame.h"
#include "terminal/TerminalFrame.h"
#include "ui/ImageControl.h"
#include "ui/LanguageSelectionForm.h"
#include "ui/PanelButton.h"
#include "ui/TTNTPanel.h"
#include "ui/TTNTStatusPanel.h"

#include <QApplication>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest/QTest>

namespace {

using Main = TTessra2ParamMainForm;

const QString EnglishTitle =
    QStringLiteral("Axo Tessra2, Tessra2 S & Tessra2 L operating program ") + ShownProductVersion();

bool AnyMainWindowVisible() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<Main*>(widget) != nullptr && widget->isVisible())
            return true;
    return false;
}

std::vector<bool> LockStates(const Main& window) {
    std::vector<bool> locked;
    for (int i = 0; i < Main::TileCount; ++i)
        locked.push_back(window.Tile(i)->Locked());
    return locked;
}

const std::vector<bool> DisconnectedLocks = {false, true, true, false, true, true, true};
const std::vector<bool> ConnectedLocks(Main::TileCount, false);

} // namespace

TEST_F(AppOnSim, FirstStartAsksForTheLanguageBeforeTheWindowAndStoresIt) {
    bool mainWindowShownBefore = true;
    int asked = 0;
    chooseLanguage = [&] {
        ++asked;
        // The real selection window, answered the way a user would.
        QTimer::singleShot(0, [&] {
            mainWindowShownBefore = AnyMainWindowVisible();
            auto* form = qobject_cast<TLanguageSelectionForm*>(QApplication::activeModalWidget());
            ASSERT_NE(form, nullptr);
            form->SetItemIndex(4); // "Russian"
            form->OKButtonClick();
        });
        return TLanguageSelectionForm::ChooseLanguage(nullptr);
    };
    language.Store().Clear();
    window = std::make_unique<Main>(Environment());

    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(mainWindowShownBefore);
    EXPECT_EQ(LanguageOffset, OffsetRussian);
    EXPECT_EQ(language.Store().Read(), std::optional<int>(OffsetRussian));
    EXPECT_EQ(Tile(Main::ConnectTile)->Caption(), GetText(10));
    EXPECT_EQ(window->windowTitle(), GetText(1) + u' ' + ShownProductVersion());

    // The next start uses the stored choice without asking.
    window.reset();
    window = std::make_unique<Main>(Environment());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(LanguageOffset, OffsetRussian);
}

TEST_F(AppOnSim, StoredEnglishStartsDisconnectedWithoutAsking) {
    chooseLanguage = [] {
        ADD_FAILURE() << "the selection window was shown";
        return 0;
    };
    Main& main = MakeWindow(OffsetEnglish);

    EXPECT_EQ(main.windowTitle(), EnglishTitle);
    EXPECT_EQ(LockStates(main), DisconnectedLocks);
    const QStringList captions = {"Connect",         "Parameter",       "Measurement",
                                  "Firmware update", "SDI-12 Terminal", "Guided accuracy test",
                                  "Service"};
    for (int i = 0; i < Main::TileCount; ++i) {
        EXPECT_EQ(Tile(i)->Caption(), captions[i]);
        EXPECT_FALSE(Tile(i)->Selected());
        EXPECT_FALSE(main.WorkAreaWidget(i)->isVisible());
    }
    EXPECT_TRUE(main.LogoImage->isVisible());
    EXPECT_FALSE(main.ConnectedTimer.isActive());
    EXPECT_FALSE(main.ShowsConnected());
    // Tile layout: a seventh of the width each, 120 px high at y = 8.
    const int width = main.MainPanel->width() / Main::TileCount;
    EXPECT_EQ(Tile(3)->geometry(), QRect(3 * width, 8, width, 120));
    EXPECT_EQ(main.LowerStrip->geometry().top(), 128);
    EXPECT_EQ(main.FramePanel->geometry().top(), 136);
}

TEST_F(AppOnSim, FirmwareTileWithoutGaugeShowsTheErrorAndStillTheArea) {
    Main& main = MakeWindow();
    main.Navigate(Tile(Main::FirmwareTile));

    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].kind, MsgKind::Error);
    EXPECT_EQ(dialogs.Messages()[0].text,
              QStringLiteral("Not possible to connect to Axo Tessra2. No device recognized or "
                             "or connection failure."));
    EXPECT_TRUE(main.FirmwareArea->isVisible());
    EXPECT_TRUE(Tile(Main::FirmwareTile)->Selected());
    EXPECT_EQ(main.CurrentTile(), Tile(Main::FirmwareTile));
    EXPECT_FALSE(main.LogoImage->isVisible());
    EXPECT_EQ(LockStates(main), DisconnectedLocks);
    EXPECT_FALSE(SDI12IO::PortConnected);
    EXPECT_FALSE(main.Gauge().Connected);

}

TEST_F(AppOnSim, F3WithTheFirmwareAreaAndNoGaugeShowsTheDisconnectedState) {
    Main& main = MakeWindow();
    main.Navigate(Tile(Main::FirmwareTile));
    ASSERT_TRUE(main.FirmwareArea->isVisible());

    main.FormKeyDown(Qt::Key_F3);
    for (int i = 0; i < Main::TileCount; ++i)
        EXPECT_FALSE(main.WorkAreaWidget(i)->isVisible()) << "area " << i;
    // The disconnected presentation leaves the firmware tile as it is.
    for (int i : {Main::ConnectTile, Main::ParameterTile, Main::MeasurementTile,
                  Main::TerminalTile, Main::PrecisionTile, Main::ServiceTile})
        EXPECT_FALSE(Tile(i)->Selected()) << "tile " << i;
    EXPECT_TRUE(main.LogoImage->isVisible());
    EXPECT_EQ(main.CurrentTile(), nullptr);
    EXPECT_EQ(LockStates(main), DisconnectedLocks);
    EXPECT_EQ(Tile(Main::ConnectTile)->Caption(), GetText(10));
}

TEST_F(AppOnSim, FailedConnectionDoesNotOpenTheAdapterBehindTheWindow) {
    SimGauge& gauge = AddGauge(1);
    gauge.Faults().silent = true; // no answer to "?!"
    Main& main = MakeWindow();
    main.Navigate(Tile(Main::ConnectTile));

    ASSERT_EQ(dialogs.MessageTexts().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].kind, MsgKind::Error);
    EXPECT_FALSE(SDI12IO::PortConnected);
    EXPECT_FALSE(main.Gauge().Connected);
    EXPECT_EQ(gauge.Commands(), (Commands{"?!", "?!", "?!"}));
    EXPECT_FALSE(main.ConnectionArea->isVisible());
    EXPECT_FALSE(Tile(Main::ConnectTile)->Selected());
    EXPECT_EQ(main.CurrentTile(), nullptr);
    EXPECT_TRUE(main.LogoImage->isVisible());
}

#if defined(__linux__)
TEST_F(AppOnSim, NoAdapterListedKeepsTheErrorTextAndAddsTheProblemsFound) {
    // A user outside the group dialout, with ModemManager running.
    FakeSystemTree tree;
    tree.StartProcess(733, "ModemManager");
    const ConnectionDoctor::ScopedDiagnosedSystem diagnosed(&tree);
    Main& main = MakeWindow();
    main.Navigate(Tile(Main::ConnectTile));

    ASSERT_EQ(dialogs.Messages().size(), 1);
    const ScriptedDialogs::MessageRecord& shown = dialogs.Messages()[0];
    EXPECT_EQ(shown.kind, MsgKind::Error);
    EXPECT_EQ(shown.text, QStringLiteral("Not possible to connect to Axo Tessra2. No device "
                                         "recognized or or connection failure."));
    EXPECT_TRUE(shown.details.contains(GetText(870)));
    EXPECT_TRUE(shown.details.contains(GetText(867)));
    EXPECT_TRUE(shown.details.contains(GetText(877).arg("733")));
    // Only problems: the checks that found nothing wrong are left out.
    EXPECT_FALSE(shown.details.contains(GetText(871)));
    EXPECT_FALSE(main.ShowsConnected());
}

TEST_F(AppOnSim, GaugeThatDoesNotAnswerGetsNoSystemDiagnosis) {
    // The adapter opened, so the system is not what failed.
    FakeSystemTree tree;
    tree.StartProcess(733, "ModemManager");
    const ConnectionDoctor::ScopedDiagnosedSystem diagnosed(&tree);
    AddGauge(1).Faults().silent = true;
    Main& main = MakeWindow();
    main.Navigate(Tile(Main::ConnectTile));

    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_EQ(dialogs.Messages()[0].text, GetText(91));
    EXPECT_TRUE(dialogs.Messages()[0].details.isEmpty());
}
#endif

TEST_F(AppOnSim, ConnectingUnlocksTheTilesAndStartsTheWatch) {
    SimGauge& gauge = AddGauge(2);
    Main& main = MakeWindow();
    main.Navigate(Tile(Main::ConnectTile));

    EXPECT_TRUE(dialogs.Messages().isEmpty());
    EXPECT_EQ(LockStates(main), ConnectedLocks);
    EXPECT_EQ(Tile(Main::ConnectTile)->Caption(), QStringLiteral("Connected"));
    EXPECT_TRUE(Tile(Main::ConnectTile)->Selected());
    EXPECT_TRUE(main.ConnectionArea->isVisible());
    EXPECT_FALSE(main.LogoImage->isVisible());
    EXPECT_EQ(main.ModelCode(), 2);
    EXPECT_TRUE(main.ConnectedTimer.isActive());
    EXPECT_EQ(main.ConnectedTimer.interval(), 2000);
    // Connect, address, model; then the area asks for the model again.
    const Commands& sent = gauge.Commands();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ((Commands{sent[0], sent[1], sent[2]}), (Commands{"?!", "0I!", "0OZY!"}));

    // Another tile: only that one selected, its area shown.
    main.Navigate(Tile(Main::TerminalTile));
    EXPECT_TRUE(main.TerminalArea->isVisible());
    EXPECT_FALSE(main.ConnectionArea->isVisible());
    EXPECT_TRUE(Tile(Main::TerminalTile)->Selected());
    EXPECT_FALSE(Tile(Main::ConnectTile)->Selected());
}

TEST_F(AppOnSim, UnpluggedAdapterFallsBackToTheDisconnectedPresentation) {
    SimGauge& gauge = AddGauge(1);
    Main& main = MakeWindow();
    ConnectAndRead();
    ASSERT_TRUE(main.ShowsConnected());

    // The watch itself sends nothing on the line.
    gauge.ClearCommands();
    main.ConnectedTimerTimer();
    EXPECT_TRUE(main.ShowsConnected());
    EXPECT_TRUE(gauge.Commands().empty());

    backend.Unplug(0);
    main.ConnectedTimerTimer();
    EXPECT_FALSE(main.ShowsConnected());
    EXPECT_EQ(Tile(Main::ConnectTile)->Caption(), QStringLiteral("Connect"));
    EXPECT_EQ(LockStates(main), DisconnectedLocks);
    EXPECT_FALSE(main.ConnectionArea->isVisible());
    EXPECT_TRUE(main.LogoImage->isVisible());
    EXPECT_FALSE(main.ConnectedTimer.isActive());
    EXPECT_EQ(main.CurrentTile(), nullptr);
    EXPECT_EQ(main.ConnectionArea->ShownModel(), TConnectionFrame::NoModel);
    EXPECT_TRUE(gauge.Commands().empty());
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST_F(AppOnSim, FirmwareAreaAfterALostGaugeGetsThePlainModelNotTheLastOne) {
    AddGauge(2);
    Main& main = MakeWindow();
    main.Navigate(Tile(Main::FirmwareTile));
    ASSERT_EQ(main.FirmwareArea->ShownModel(), 2);

    backend.Unplug(0);
    main.ConnectedTimerTimer();
    ASSERT_FALSE(main.ShowsConnected());
    main.Navigate(Tile(Main::FirmwareTile));
    ASSERT_EQ(dialogs.Messages().size(), 1) << "the failed connection is reported";
    EXPECT_TRUE(main.FirmwareArea->isVisible());
    // 4800 baud and the plain gauge's picture, not the S model's 115200 baud.
    EXPECT_EQ(main.FirmwareArea->ShownModel(), 0);
}

TEST_F(AppOnSim, F3StepsThroughTheSixLanguagesWithoutStoringThem) {
    Main& main = MakeWindow(OffsetEnglish);
    QStringList titles;
    for (int i = 0; i < 6; ++i) {
        // F3 with any shift state, seen by the window before its controls.
        QTest::keyClick(Tile(Main::ConnectTile), Qt::Key_F3,
                        i % 2 == 0 ? Qt::NoModifier : Qt::ShiftModifier);
        titles.append(main.windowTitle());
        EXPECT_EQ(Tile(Main::ParameterTile)->Caption(), GetText(550));
    }
    EXPECT_EQ(LanguageOffset, OffsetEnglish);
    EXPECT_EQ(titles.last(), EnglishTitle);
    EXPECT_EQ(titles.removeDuplicates(), 0) << "each language has its own title";
    EXPECT_EQ(language.Store().Read(), std::optional<int>(OffsetEnglish));
}

TEST_F(AppOnSim, F3HeldDownStepsOnEveryRepeat) {
    MakeWindow(OffsetEnglish);
    for (bool repeat : {false, true, true}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier, QString(), repeat);
        QApplication::sendEvent(Tile(Main::ConnectTile), &press);
    }
    EXPECT_EQ(LanguageOffset, OffsetRussian) << "three steps from English: French, Spanish, Russian";
}

TEST_F(AppOnSim, F3DoesNothingWithAnUnknownStoredOffset) {
    Main& main = MakeWindow(12345);
    const QString caption = Tile(Main::ConnectTile)->Caption();
    main.FormKeyDown(Qt::Key_F3);
    EXPECT_EQ(LanguageOffset, 12345);
    EXPECT_EQ(Tile(Main::ConnectTile)->Caption(), caption);
    main.FormKeyDown(Qt::Key_F4);
    EXPECT_EQ(LanguageOffset, 12345);
}

TEST_F(AppOnSim, F3WhileConnectedKeepsConnectedInTheNewLanguage) {
    AddGauge(1);
    Main& main = MakeWindow(OffsetEnglish);
    ConnectAndRead();
    main.FormKeyDown(Qt::Key_F3); // French

    EXPECT_EQ(LanguageOffset, OffsetFrench);
    EXPECT_EQ(Tile(Main::ConnectTile)->Caption(), GetText(12));
    EXPECT_NE(GetText(12), QStringLiteral("Connected"));
    EXPECT_EQ(LockStates(main), ConnectedLocks);
    EXPECT_TRUE(Tile(Main::ConnectTile)->Selected());
    EXPECT_TRUE(main.ConnectionArea->isVisible());
    const auto& rows = main.ConnectionArea->InfoRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0]->GetCaptionText().trimmed(), GetText(19));
    EXPECT_EQ(main.ConnectionArea->InfoReadButton->text(), GetText(28) + GetText(571));
}

TEST_F(AppOnSim, TwoAdaptersShowTheSelectionWithTheFirstSelected) {
    AddGauge(0);
    AddGauge(2);
    Main& main = MakeWindow();
    QStringList rows;
    bool firstSelected = false;
    QString caption;
    main.ConnectFormChooser().SetWhileShown([&](TConnectForm& form) {
        caption = form.windowTitle();
        QTreeWidget* list = form.USBDevicesListView;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            rows.append(item->text(0) + u'|' + item->text(1) + u'|' + item->text(2));
        }
        firstSelected =
            list->currentItem() == list->topLevelItem(0) && list->topLevelItem(0)->isSelected();
        list->setCurrentItem(list->topLevelItem(1));
        form.StartButtonClick();
    });
    main.Navigate(Tile(Main::ConnectTile));

    EXPECT_EQ(caption, QStringLiteral("Connected USB devices"));
    EXPECT_EQ(rows, (QStringList{QStringLiteral("1|Tessra2 USB SDI-12 adapter|AX1"),
                                 QStringLiteral("2|Tessra2 USB SDI-12 adapter|AX2")}));
    EXPECT_TRUE(firstSelected);
    EXPECT_TRUE(main.ShowsConnected());
    EXPECT_EQ(main.ModelCode(), 2);
    EXPECT_TRUE(backend.Gauge(0).Commands().empty());
}

TEST_F(AppOnSim, SelectionClosedWithoutChoiceIsAFailedConnection) {
    AddGauge(0);
    AddGauge(1);
    Main& main = MakeWindow();
    main.ConnectFormChooser().SetWhileShown([](TConnectForm& form) { form.close(); });
    main.Navigate(Tile(Main::ConnectTile));
    EXPECT_EQ(dialogs.MessageTexts(), QStringList{GetText(91)});
    EXPECT_FALSE(main.ShowsConnected());
}

TEST_F(AppOnSim, ClosingWritesTheFoldersBack) {
    Main& main = MakeWindow();
    EXPECT_EQ(ParamPath, folder.path() + u'/');
    ParamPath = QStringLiteral("/chosen/configs/");
    main.close();
    QFile file(SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("PARAMPATH=/chosen/configs/"));
}

TEST_F(AppOnSim, AnAreaReconnectingThroughTheSelectionIsNotTakenForALostGauge) {
    AddGauge(1);
    AddGauge(2);
    Main& main = MakeWindow();
    main.ConnectFormChooser().SetWhileShown([](TConnectForm& form) { form.StartButtonClick(); });
    main.Navigate(Tile(Main::MeasurementTile));
    ASSERT_TRUE(main.ShowsConnected());

    // The watch fires while the selection window of a reconnection is open.
    bool watchedWhileChoosing = false;
    main.ConnectFormChooser().SetWhileShown([&](TConnectForm& form) {
        main.ConnectedTimerTimer();
        watchedWhileChoosing = true;
        form.StartButtonClick();
    });
    ASSERT_TRUE(main.Gauge().Connect());
    ASSERT_TRUE(watchedWhileChoosing);
    EXPECT_TRUE(main.ShowsConnected());
    EXPECT_TRUE(main.MeasurementArea->isVisible());
    main.ConnectedTimerTimer();
    EXPECT_TRUE(main.ShowsConnected()) << "the link is open again";
}
