#include "app/Main.h"

#include "app/ConnectionFrame.h"
#include "config/ParameterFrame.h"
#include "diag/ConnectionDiagnosis.h"
#include "firmware/FirmwareupdateFrame.h"
#include "gauge/SDIHandler.h"
#include "link/D2XXDriver.h"
#include "link/SDI12IO.h"
#include "measurement/MeasurementFrame.h"
#include "precision/GuidedPrecisionTestFrame.h"
#include "service/ServiceFrame.h"
#include "terminal/TerminalFrame.h"
#include "ui/Dialogs.h"
#include "ui/FileVersionInfo.h"
#include "ui/FolderSettings.h"
#include "ui/ImageControl.h"
#include "ui/LanguageSelectionForm.h"
#include "ui/Palette.h"
#include "ui/Pictures.h"
#include "ui/TTNTPanel.h"
#include "ui/UiHelpers.h"
#include "ui/WideLanguageHandler.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>

namespace {

constexpr int TitleTextId = 1;

const QColor StripColour = Palette::Accent;
const QColor TileLight = Palette::Light;
const QColor TileDark = Palette::Dark;

// Multiples of seven, so that the tiles fill the row.
constexpr int InitialWidth = 1176;
constexpr int InitialHeight = 860;
constexpr int MinimumWidth = 980;
constexpr int MinimumHeight = 720;

using Main = TTessra2ParamMainForm;
using ModelSource = Main::ModelSource;

// One tile with the work area behind it.
struct AreaSpec {
    const char* tileName;
    QPixmap (*picture)();
    int captionTextId;    // the connect tile's caption follows the link state
    const char* prefix;   // put before the caption text
    bool withoutGauge;    // opened even when the connection fails
    bool shownFirst;      // shown before it is opened, so the user sees it fill
    ModelSource model;
};


const std::array<AreaSpec, Main::TileCount> AreaSpecs = {{
    {"ConnectPanel", &Pictures::DisconnectedImage, 10, "", false, false, ModelSource::None},
    {"parameter", &Pictures::ParameterImage, 550, "", false, true, ModelSource::Gauge},
    {"measurement", &Pictures::MeasurementImage, 34, "", false, true, ModelSource::Gauge},
    {"firmware", &Pictures::FirmwareUpdateImage, 9, "", true, false, ModelSource::Gauge},
    {"terminal", &Pictures::TerminalImage, 8, "SDI-12 ", false, false, ModelSource::None},
    {"precision", &Pictures::PrecisionImage, 7, "", false, true, ModelSource::Gauge},
    {"service", &Pictures::ServiceImage, 558, "", false, false, ModelSource::LastConnection},
}};

// The order in which the areas re-apply their texts after a language change.
constexpr std::array<int, Main::TileCount> TranslationOrder = {
    Main::MeasurementTile, Main::ConnectTile,  Main::ParameterTile, Main::FirmwareTile,
    Main::ServiceTile,     Main::TerminalTile, Main::PrecisionTile,
};

constexpr int ConnectedCaptionTextId = 12;

// Texts of a lost and found gauge.
constexpr int LostTextId = 930;
constexpr int RecordsKeptTextId = 931;
constexpr int RecordsInMemoryTextId = 932;
constexpr int ComesBackTextId = 933;
constexpr int WaitingStatusTextId = 934;
constexpr int FoundStatusTextId = 935;
constexpr int OtherGaugeTextId = 936;
constexpr int NotWaitingStatusTextId = 937;

// The notice of a lost gauge, withdrawn when it is found again.
const QString LostNoticeKey = QStringLiteral("gauge-lost");

QString ClockOf(const QDateTime& when) {
    return when.toString(QStringLiteral("HH:mm:ss"));
}

QString WindowCaption() {
    return GetText(TitleTextId) + u' ' + GetProductVersion();
}

bool IsStepLanguage(int offset) {
    return offset >= OffsetGerman && offset <= OffsetTurkish && offset % 10000 == 0;
}

} // namespace

TTessra2ParamMainForm::Environment TTessra2ParamMainForm::ProgramEnvironment() {
    Environment environment;
    environment.chooseLanguage = [] { return TLanguageSelectionForm::ChooseLanguage(nullptr); };
    environment.settings = ProgramSettingsLocation();
    environment.programFolder = ProgramFolder();
    return environment;
}

TTessra2ParamMainForm::TTessra2ParamMainForm(Environment environment, QWidget* parent)
    : QMainWindow(parent), environment_(std::move(environment)), chooser_(this) {
    FormCreate();
}

TTessra2ParamMainForm::~TTessra2ParamMainForm() {
    qApp->removeEventFilter(this);
    ConnectedTimer.stop();
    // The work areas hold the gauge handler; they go first.
    for (WorkArea*& area : areas_) {
        delete area->AreaWidget();
        area = nullptr;
    }
    if (gauge_ != nullptr && gauge_->Connected)
        gauge_->Disconnect();
}

void TTessra2ParamMainForm::FormCreate() {
    setObjectName(QStringLiteral("Tessra2ParamMainForm"));
    // 1. Title (in the language before the stored one is known). The main
    // window's caption is the program's title; Qt's application display name
    // stays unset, since Qt would append it to every other window's caption.
    setWindowTitle(WindowCaption());
    // 2.-3.
    ReadLanguageOffset();
    currentTile_ = nullptr;
    // 4. The one gauge handler.
    gauge_ = std::make_unique<TSDIHandler>();
    gauge_->SetAdapterChooser(&chooser_);
    // An area that finds its port failing says so through the handler; the
    // loss is taken up once the area's own work has unwound.
    gauge_->SetLossListener([this] {
        portLost_ = true;
        QMetaObject::invokeMethod(this, &TTessra2ParamMainForm::GaugeLost, Qt::QueuedConnection);
    });
    // 5.-6.
    FillBackground(this, Qt::white);
    setStatusBar(new QStatusBar(this));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->setStyleSheet(QStringLiteral("QStatusBar { border-top: 1px solid #d4d4d4; }"));
    LinkStateLabel = new QLabel(statusBar());
    LinkStateLabel->setObjectName(QStringLiteral("LinkStateLabel"));
    statusBar()->addPermanentWidget(LinkStateLabel);
    BuildWorkAreas();
    TranslateMainWindow();
    // 7. The success and failure marks the work areas show.
    Pictures::DrawSuccessAndFailedImages();
    // 9.
    ReadSettings();

    ConnectedTimer.setInterval(ConnectedWatchMs);
    connect(&ConnectedTimer, &QTimer::timeout, this, &TTessra2ParamMainForm::ConnectedTimerTimer);
    ReconnectTimer.setInterval(ReconnectLookMs);
    connect(&ReconnectTimer, &QTimer::timeout, this, &TTessra2ParamMainForm::ReconnectTimerTimer);
    // The window sees key presses before its controls.
    qApp->installEventFilter(this);

    setMinimumSize(MinimumWidth, MinimumHeight);
    resize(InitialWidth, InitialHeight);
}

int TTessra2ParamMainForm::ReadLanguageOffset() {
    const std::optional<int> stored = environment_.language.Read();
    const int value = stored.value_or(-1);
    if (value == -1) {
        LanguageOffset = environment_.chooseLanguage ? environment_.chooseLanguage() : OffsetGerman;
        environment_.language.Write(LanguageOffset);
    } else {
        LanguageOffset = value;
    }
    return LanguageOffset;
}

void TTessra2ParamMainForm::BuildWorkAreas() {
    MainPanel = new QWidget(this);
    MainPanel->setObjectName(QStringLiteral("MainPanel"));
    FillBackground(MainPanel, Qt::white);
    setCentralWidget(MainPanel);

    FramePanel = new QFrame(MainPanel);
    FramePanel->setObjectName(QStringLiteral("FramePanel"));
    FillBackground(FramePanel, Qt::white);
    LogoImage = new ImageControl(FramePanel);
    LogoImage->setObjectName(QStringLiteral("LogoImage"));
    LogoImage->SetPicture(Pictures::LogoImage());

    for (int i = 0; i < TileCount; ++i) {
        auto* tile = new TAXO_TTNTPanel(MainPanel);
        tile->setObjectName(QString::fromLatin1(AreaSpecs[static_cast<std::size_t>(i)].tileName));
        tile->LightColor = TileLight;
        tile->HoverColor = TileLight;
        tile->DarkColor = TileDark;
        tile->SetPicture(AreaSpecs[static_cast<std::size_t>(i)].picture());
        tile->SetLockPicture(Pictures::LockedImage());
        tile->SetSelected(false);
        tile->SetLocked(i != ConnectTile && i != FirmwareTile);
        connect(tile, &TAXO_TTNTPanel::clicked, this, [this, tile] { Navigate(tile); });
        tiles_[static_cast<std::size_t>(i)] = tile;
    }
    SetTileCaptions();

    ConnectionArea = new TConnectionFrame(*gauge_, modelCode_, FramePanel);
    ParameterArea = new TParameterFrame(*gauge_, modelCode_, FramePanel);
    MeasurementArea = new TMeasurementFrame(*gauge_, modelCode_, statusBar(), FramePanel);
    FirmwareArea = new TFirmwareupdateFrame(*gauge_, statusBar(), FramePanel);
    TerminalArea = new TTerminalFrame(*gauge_, statusBar(), FramePanel);
    PrecisionArea = new TGuidedPrecisionTestFrame(*gauge_, FramePanel);
    ServiceArea = new TServiceFrame(
        *gauge_,
        [this] {
            Navigate(Tile(ParameterTile));
            return ParameterArea;
        },
        FramePanel);
    areas_ = {ConnectionArea, ParameterArea, MeasurementArea, FirmwareArea,
              TerminalArea,   PrecisionArea, ServiceArea};
    for (WorkArea* area : areas_)
        area->AreaWidget()->hide();

    UpperStrip = new QFrame(MainPanel);
    UpperStrip->setObjectName(QStringLiteral("UpperStrip"));
    FillBackground(UpperStrip, StripColour);
    LowerStrip = new QFrame(MainPanel);
    LowerStrip->setObjectName(QStringLiteral("LowerStrip"));
    FillBackground(LowerStrip, StripColour);
    LayoutTiles();
}

void TTessra2ParamMainForm::SetTileCaptions() {
    for (int i = 0; i < TileCount; ++i) {
        const AreaSpec& spec = AreaSpecs[static_cast<std::size_t>(i)];
        const int textId =
            i == ConnectTile && showsConnected_ ? ConnectedCaptionTextId : spec.captionTextId;
        Tile(i)->SetCaption(QString::fromLatin1(spec.prefix) + GetText(textId));
    }
}

int TTessra2ParamMainForm::TileIndex(const TAXO_TTNTPanel* tile) const {
    for (int i = 0; i < TileCount; ++i)
        if (Tile(i) == tile)
            return i;
    return -1;
}

TAXO_TTNTPanel* TTessra2ParamMainForm::TileNamed(const QString& name) const {
    for (TAXO_TTNTPanel* tile : tiles_)
        if (tile->objectName() == name)
            return tile;
    return nullptr;
}

void TTessra2ParamMainForm::LayoutTiles() {
    if (MainPanel == nullptr)
        return;
    const int width = MainPanel->width();
    const int tileWidth = width / TileCount;
    for (int i = 0; i < TileCount; ++i)
        Tile(i)->setGeometry(i * tileWidth, TileTop, tileWidth, TileHeight);
    UpperStrip->setGeometry(0, 0, width, StripHeight);
    const int lowerTop = TileHeight + TileTop;
    LowerStrip->setGeometry(0, lowerTop, width, StripHeight);
    // The status bar is outside the central panel already.
    const int frameTop = lowerTop + StripHeight;
    FramePanel->setGeometry(0, frameTop, width, std::max(0, MainPanel->height() - frameTop));
    for (WorkArea* area : areas_)
        area->AreaWidget()->setGeometry(0, 0, FramePanel->width(), FramePanel->height());
    const int logoHeight = std::min(LogoHeight, FramePanel->height());
    LogoImage->setGeometry(0, (FramePanel->height() - logoHeight) / 2, FramePanel->width(),
                           logoHeight);
}

void TTessra2ParamMainForm::ShowOnlyArea(QWidget* area) {
    for (WorkArea* each : areas_)
        if (each->AreaWidget() != area)
            each->AreaWidget()->hide();
    if (area != nullptr) {
        area->setGeometry(0, 0, FramePanel->width(), FramePanel->height());
        area->show();
        area->raise();
    }
    LogoImage->setVisible(area == nullptr);
}

void TTessra2ParamMainForm::Navigate(TAXO_TTNTPanel* tile) {
    // The user takes over: the program no longer waits for a lost gauge.
    if (lost_)
        EndWaiting();
    const bool ok = EnsureConnected();
    ShowOnlyArea(nullptr);
    for (TAXO_TTNTPanel* each : tiles_)
        each->SetSelected(false);

    QWidget* shown = nullptr;
    const int index = TileIndex(tile);
    if (index >= 0 && (ok || AreaSpecs[static_cast<std::size_t>(index)].withoutGauge)) {
        const AreaSpec& spec = AreaSpecs[static_cast<std::size_t>(index)];
        WorkArea* area = areas_[static_cast<std::size_t>(index)];
        shown = area->AreaWidget();
        tile->SetSelected(true);
        if (spec.shownFirst)
            ShowOnlyArea(shown);
        area->ShowArea(ModelFor(spec.model, ok));
    }
    ShowOnlyArea(shown);
    currentTile_ = shown != nullptr ? tile : nullptr;
    LayoutTiles();
}

int TTessra2ParamMainForm::ModelFor(ModelSource source, bool connected) {
    switch (source) {
    case ModelSource::Gauge:
        // After a failed connection nothing asks the gauge: that would open
        // the adapter again behind the disconnected presentation. Without a
        // gauge the model is the plain Tessra2's, as the gauge handler
        // reports it when it cannot connect.
        return connected ? gauge_->GetModel() : ModelTessra2;
    case ModelSource::LastConnection:
    case ModelSource::None:
        break;
    }
    return modelCode_;
}

bool TTessra2ParamMainForm::EnsureConnected() {
    const std::string& address = gauge_->Address;
    if (SDI12IO::PortConnected && !address.empty() && address != "-1") {
        ShowConnectedState();
        return true;
    }
    bool adapterFailed = false;
    if (ConnectAndIdentify(adapterFailed)) {
        ShowConnectedState();
        return true;
    }
    raise();
    activateWindow();
    // Under the error, what keeps the system from listing or opening the adapter.
    const QString details = adapterFailed ? ConnectionDoctor::ConnectionErrorDetails() : QString();
    ShowMessageDialog(GetText(91), details, MsgKind::Error, MsgButtons::Ok);
    ShowDisconnectedState();
    gauge_->Disconnect();
    return false;
}

bool TTessra2ParamMainForm::ConnectAndIdentify(bool& adapterFailed) {
    adapterFailed = !gauge_->Connect();
    if (adapterFailed)
        return false;
    if (gauge_->QueryAddress().empty())
        return false;
    modelCode_ = gauge_->GetModel();
    gaugeSerial_ = gauge_->GaugeSerialNumber();
    // Another gauge ends the measurement run of the one before.
    MeasurementArea->GaugeConnected(gaugeSerial_);
    ConnectedTimer.start();
    return true;
}

void TTessra2ParamMainForm::SetPresentation(bool connected) {
    const bool changed = connected != showsConnected_;
    showsConnected_ = connected;
    if (changed)
        emit PresentationChanged(connected);
}

void TTessra2ParamMainForm::ShowConnectedState() {
    for (TAXO_TTNTPanel* tile : tiles_)
        tile->SetLocked(false);
    TAXO_TTNTPanel* connectTile = Tile(ConnectTile);
    connectTile->SetPicture(Pictures::ConnectedImage());
    connectTile->SetCaption(GetText(12));
    if (currentTile_ != nullptr)
        currentTile_->SetSelected(true);
    SetPresentation(true);
}

void TTessra2ParamMainForm::ApplyDisconnectedTiles() {
    TAXO_TTNTPanel* connectTile = Tile(ConnectTile);
    connectTile->SetPicture(Pictures::DisconnectedImage());
    connectTile->SetCaption(GetText(10));
    connectTile->SetLocked(false);
    connectTile->SetSelected(false);
    for (int i : {ParameterTile, MeasurementTile, PrecisionTile, TerminalTile, ServiceTile}) {
        Tile(i)->SetLocked(true);
        Tile(i)->SetSelected(false);
    }
}

void TTessra2ParamMainForm::ShowDisconnectedState() {
    ShowOnlyArea(nullptr);
    ApplyDisconnectedTiles();
    for (WorkArea* area : areas_)
        area->ResetArea();
    currentTile_ = nullptr;
    SetPresentation(false);
}

void TTessra2ParamMainForm::ConnectedTimerTimer() {
    // An area reconnecting (the accuracy test's status step, the end of a
    // firmware update) closes the link while the user picks the adapter; the
    // area would vanish under the user's hands if that counted as lost.
    portLost_ = false;
    if (gauge_->ChoosingAdapter() || gauge_->IsPortAlive())
        return;
    if (portLost_) {
        GaugeLost();
        return;
    }
    ShowDisconnectedState();
    ConnectedTimer.stop();
}

void TTessra2ParamMainForm::GaugeLost() {
    // Reported a moment ago; by now the port may be closed or open again.
    const bool portOpenButDead = D2XXDriver::Handle > 0 && !SDI12IO::IsPortResponsive();
    if (lost_ || !showsConnected_ || !portOpenButDead)
        return;
    const int tile = TileIndex(currentTile_);
    lostAt_ = QDateTime::currentDateTime();
    for (WorkArea* area : areas_)
        area->GaugeLost();
    ConnectedTimer.stop();
    ShowDisconnectedState();
    if (tile == FirmwareTile) {
        // An update reports a vanished gauge itself and reconnects at its end.
        linkNews_ = LinkNews::NotWaiting;
        ShowLinkState();
        return;
    }
    lost_ = LostGauge{SDI12IO::CurrentSerial, gaugeSerial_, tile};
    gauge_->Disconnect();
    linkNews_ = LinkNews::Waiting;
    ShowLinkState();
    ReconnectTimer.start();

    const std::size_t records = MeasurementArea->GetMeasurementHistory().Size();
    if (tile != MeasurementTile || records == 0)
        return;
    const QString journal = MeasurementArea->JournalPath();
    const QString count = QString::number(records);
    const QString kept = journal.isEmpty() ? GetText(RecordsInMemoryTextId).arg(count)
                                           : GetText(RecordsKeptTextId).arg(count, journal);
    // Not a dialog waiting for OK: the run must be able to resume meanwhile.
    ShowNotice(GetText(LostTextId) + QStringLiteral("\n") + kept + QStringLiteral("\n") +
                   GetText(ComesBackTextId),
               MsgKind::Warning, LostNoticeKey);
}

void TTessra2ParamMainForm::ReconnectTimerTimer() {
    if (!lost_ || lost_->adapter != SDI12IO::CurrentSerial) {
        EndWaiting();
        return;
    }
    if (!D2XXDriver::IsAdapterPresent(lost_->adapter))
        return;
    // Back: open it again and ask who answers. A gauge not ready yet is
    // asked again at the next look.
    if (!gauge_->Reconnect() || gauge_->QueryAddress().empty()) {
        gauge_->Disconnect();
        return;
    }
    modelCode_ = gauge_->GetModel();
    const std::string serial = gauge_->GaugeSerialNumber();
    if (serial != lost_->gaugeSerial) {
        gauge_->Disconnect();
        otherSerial_ = QString::fromLatin1(serial.c_str());
        lost_.reset();
        ReconnectTimer.stop();
        linkNews_ = LinkNews::OtherGauge;
        ShowLinkState();
        ShowNotice(GetText(OtherGaugeTextId).arg(otherSerial_), MsgKind::Information);
        return;
    }
    const LostGauge was = *lost_;
    lost_.reset();
    ReconnectTimer.stop();
    // What the notice of the loss said is over.
    WithdrawNotice(LostNoticeKey);
    foundAt_ = QDateTime::currentDateTime();
    linkNews_ = LinkNews::Found;
    ShowLinkState();
    ConnectedTimer.start();
    ShowConnectedState();
    if (was.tile < 0)
        return;
    TAXO_TTNTPanel* tile = Tile(was.tile);
    const AreaSpec& spec = AreaSpecs[static_cast<std::size_t>(was.tile)];
    WorkArea* area = areas_[static_cast<std::size_t>(was.tile)];
    // Shown first: an area resuming its work must find itself on screen.
    ShowOnlyArea(area->AreaWidget());
    tile->SetSelected(true);
    currentTile_ = tile;
    LayoutTiles();
    area->ResumeArea(ModelFor(spec.model, true));
}

void TTessra2ParamMainForm::EndWaiting() {
    if (!lost_)
        return;
    lost_.reset();
    ReconnectTimer.stop();
    linkNews_ = LinkNews::NotWaiting;
    ShowLinkState();
}

void TTessra2ParamMainForm::ShowLinkState() {
    QString text;
    switch (linkNews_) {
    case LinkNews::None:
        break;
    case LinkNews::Waiting:
        text = GetText(WaitingStatusTextId).arg(ClockOf(lostAt_));
        break;
    case LinkNews::Found:
        text = GetText(FoundStatusTextId).arg(ClockOf(lostAt_), ClockOf(foundAt_));
        break;
    case LinkNews::NotWaiting:
        text = GetText(NotWaitingStatusTextId).arg(ClockOf(lostAt_));
        break;
    case LinkNews::OtherGauge:
        text = GetText(OtherGaugeTextId).arg(otherSerial_);
        break;
    }
    LinkStateLabel->setText(text);
}

void TTessra2ParamMainForm::FormKeyDown(int key) {
    if (key != Qt::Key_F3 || !IsStepLanguage(LanguageOffset))
        return;
    LanguageOffset = (LanguageOffset + 10000) % (OffsetTurkish + 10000);
    TranslateMainWindow();
}

void TTessra2ParamMainForm::TranslateMainWindow() {
    setWindowTitle(WindowCaption());
    TranslateComponents(this);
    if (showsConnected_)
        ShowConnectedState();
    else
        ShowDisconnectedState();
    SetTileCaptions();
    if (currentTile_ != nullptr)
        currentTile_->SetSelected(true);
    ShowLinkState();
    for (int index : TranslationOrder)
        areas_[static_cast<std::size_t>(index)]->TranslateArea();
}

void TTessra2ParamMainForm::ReadSettings() {
    ReadFolderSettings(environment_.settings.readPath, environment_.programFolder);
}

bool TTessra2ParamMainForm::WriteSettings() {
    return WriteFolderSettings(environment_.settings.writePath);
}

void TTessra2ParamMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!centred_) {
        centred_ = true;
        if (const QScreen* screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    LayoutTiles();
}

void TTessra2ParamMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    LayoutTiles();
}

void TTessra2ParamMainForm::closeEvent(QCloseEvent* event) {
    // FormCloseQuery: to the front, closing allowed.
    raise();
    event->accept();
    if (closed_)
        return;
    closed_ = true;
    // FormClose.
    ConnectedTimer.stop();
    if (gauge_->Connected)
        gauge_->Disconnect();
    WriteSettings();
}

bool TTessra2ParamMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() == Qt::Key_F3 && widget != nullptr && widget->window() == this) {
            // Every key-down counts, the keyboard's repeats included.
            FormKeyDown(key->key());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
