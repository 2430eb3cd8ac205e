#pragma once

// The main window: seven navigation tiles with one work area behind each,
// the connection to the gauge with its 2000 ms watch, the language step on
// F3, and the folder settings kept between runs.

#include "app/ConnectedDevicesForm.h"
#include "app/ProgramSettings.h"
#include "ui/WorkArea.h"

#include <QDateTime>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class ImageControl;
class QFrame;
class QLabel;
class TAXO_TTNTPanel;
class TConnectionFrame;
class TFirmwareupdateFrame;
class TGuidedPrecisionTestFrame;
class TMeasurementFrame;
class TParameterFrame;
class TSDIHandler;
class TServiceFrame;
class TTerminalFrame;

class TTessra2ParamMainForm : public QMainWindow {
    Q_OBJECT
public:
    // The tiles in their order.
    enum TileIndex : int {
        ConnectTile,
        ParameterTile,
        MeasurementTile,
        FirmwareTile,
        TerminalTile,
        PrecisionTile,
        ServiceTile,
        TileCount
    };

    // Where a work area's model comes from when the user opens it.
    enum class ModelSource {
        Gauge,          // GetModel, asked when the area is opened
        LastConnection, // the model of the last successful connection
        None,           // the area does not need one
    };

    static constexpr int TileHeight = 120;
    static constexpr int TileTop = 8;
    static constexpr int StripHeight = 8;
    static constexpr int LogoHeight = 450;
    static constexpr int ConnectedWatchMs = 2000;
    // While a lost gauge is awaited, its adapter is looked for this often.
    static constexpr int ReconnectLookMs = 1000;

    // Where the program keeps what it remembers; tests use their own.
    struct Environment {
        LanguageStore language;
        // First start: lets the user choose and returns the LanguageOffset.
        std::function<int()> chooseLanguage;
        SettingsLocation settings;
        QString programFolder;
    };
    static Environment ProgramEnvironment();

    explicit TTessra2ParamMainForm(Environment environment = ProgramEnvironment(),
                                   QWidget* parent = nullptr);
    ~TTessra2ParamMainForm() override;

    // Operations of the window (public so that tests can run them).
    void FormKeyDown(int key);
    void ConnectedTimerTimer();
    void Navigate(TAXO_TTNTPanel* tile);
    bool EnsureConnected();
    // adapterFailed: no adapter was listed or chosen, or it could not be
    // opened (not: the gauge behind it did not answer).
    bool ConnectAndIdentify(bool& adapterFailed);
    void ShowConnectedState();
    void ShowDisconnectedState();
    // The adapter went away under the program (the watch, or an area that
    // found its port failing): the disconnected presentation, and, unless
    // a firmware update area was shown, the wait for the same gauge.
    void GaugeLost();
    // Once a second while waiting: when the lost adapter is back, connect,
    // check that the same gauge answers, and return to the area shown.
    void ReconnectTimerTimer();
    bool WaitingForGauge() const { return lost_.has_value(); }
    void TranslateMainWindow();
    void ReadSettings();
    bool WriteSettings();
    int ReadLanguageOffset();

    TSDIHandler& Gauge() { return *gauge_; }
    TConnectFormChooser& ConnectFormChooser() { return chooser_; }
    TAXO_TTNTPanel* Tile(int index) const { return tiles_[static_cast<std::size_t>(index)]; }
    TAXO_TTNTPanel* TileNamed(const QString& name) const;
    QWidget* WorkAreaWidget(int index) const {
        return areas_[static_cast<std::size_t>(index)]->AreaWidget();
    }
    TAXO_TTNTPanel* CurrentTile() const { return currentTile_; }
    int ModelCode() const { return modelCode_; }
    bool ShowsConnected() const { return showsConnected_; }
    const Environment& Settings() const { return environment_; }

    TConnectionFrame* ConnectionArea = nullptr;
    TParameterFrame* ParameterArea = nullptr;
    TMeasurementFrame* MeasurementArea = nullptr;
    TFirmwareupdateFrame* FirmwareArea = nullptr;
    TTerminalFrame* TerminalArea = nullptr;
    TGuidedPrecisionTestFrame* PrecisionArea = nullptr;
    TServiceFrame* ServiceArea = nullptr;

    QWidget* MainPanel = nullptr;
    QFrame* UpperStrip = nullptr;
    QFrame* LowerStrip = nullptr;
    QFrame* FramePanel = nullptr;
    ImageControl* LogoImage = nullptr;
    // On the status bar's right: when the gauge was lost and found.
    QLabel* LinkStateLabel = nullptr;
    QTimer ConnectedTimer;
    QTimer ReconnectTimer;

signals:
    // The connected or disconnected presentation was applied.
    void PresentationChanged(bool connected);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void BuildWorkAreas();
    void LayoutTiles();
    void SetTileCaptions();
    void ApplyDisconnectedTiles();
    void ShowOnlyArea(QWidget* area);
    void SetPresentation(bool connected);
    int TileIndex(const TAXO_TTNTPanel* tile) const;
    // The model an area gets when it is opened (source: its table entry's).
    int ModelFor(ModelSource source, bool connected);
    // Stops waiting for a lost gauge; the status bar says so.
    void EndWaiting();
    void ShowLinkState();

    // A gauge lost while an area was shown, and awaited.
    struct LostGauge {
        std::string adapter;     // the adapter's serial number
        std::string gaugeSerial; // the gauge's serial number
        int tile = -1;           // the area shown then (-1: none)
    };
    std::optional<LostGauge> lost_;
    // What the status bar says of the link: lost (and when), found again.
    enum class LinkNews { None, Waiting, Found, NotWaiting, OtherGauge };
    LinkNews linkNews_ = LinkNews::None;
    QDateTime lostAt_;
    QDateTime foundAt_;
    QString otherSerial_;
    std::string gaugeSerial_; // the connected gauge's serial number
    bool portLost_ = false;   // the gauge handler found the port failing

    Environment environment_;
    std::unique_ptr<TSDIHandler> gauge_;
    TConnectFormChooser chooser_;
    std::array<TAXO_TTNTPanel*, TileCount> tiles_{};
    std::array<WorkArea*, TileCount> areas_{};
    TAXO_TTNTPanel* currentTile_ = nullptr;
    int modelCode_ = 0;
    bool showsConnected_ = false;
    bool centred_ = false;
    bool closed_ = false;
};
