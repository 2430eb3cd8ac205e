#pragma once

// Connection area: the work area behind the connect tile. Shows the
// connected model with its picture and the information rows read from the
// gauge, with a button to read them again and, on models with a clock, a
// button that opens the clock panel.

#include "app/ConnectionInfoReader.h"
#include "ui/WorkArea.h"

#include <QFrame>
#include <QPixmap>
#include <QTimer>
#include <vector>

class ImageControl;
class QLabel;
class TAXO_TTNTPanelButton;
class TAXO_TTNTStatusPanel;
class TSDIHandler;
class TTimeSetFrame;

class TConnectionFrame : public QFrame, public WorkArea, private InfoRowView {
    Q_OBJECT
public:
    static constexpr int NoModel = -5;
    static constexpr int DelayedReadMs = 500;
    static constexpr int SetTimeCheckMs = 500;

    TConnectionFrame(TSDIHandler& gauge, int model, QWidget* parent = nullptr);
    ~TConnectionFrame() override;

    // Called by the main window.
    void ShowConnectionArea();
    void StartDelayedRead();
    void ResetConnectionArea();
    void TranslateConnectionArea();

    // WorkArea: shown only with a gauge; reads its rows 500 ms later.
    void ShowArea(int) override {
        ShowConnectionArea();
        StartDelayedRead();
    }
    void ResetArea() override { ResetConnectionArea(); }
    void TranslateArea() override { TranslateConnectionArea(); }
    QWidget* AreaWidget() override { return this; }

    // Own event handlers.
    void ReadTimerTimer();
    void SetTimeTimerTimer();
    void InfoReadButtonClick();
    void AdjustTimeButtonClick();
    // Opens the connected gauge's history (its logbook entries).
    void HistoryButtonClick();

    int ShownModel() const { return shownModel_; }
    bool InfosRead() const { return infosRead_; }
    bool Reading() const { return reading_; }
    const std::vector<TAXO_TTNTStatusPanel*>& InfoRows() const { return infoRows_; }
    // Which gauge picture is shown: "200", "400" or "S".
    QString ShownPicture() const { return shownPicture_; }

    QFrame* ConnectStatusPanel;
    QLabel* DeviceLabel;
    ImageControl* Img;
    QFrame* StaticInfoTitlePanel;
    QLabel* StaticTitleLabel;
    QFrame* Leftborderpanel;
    QFrame* RightBorderPanel;
    QFrame* DividerPanelTop;
    QFrame* ControlPanel;
    TAXO_TTNTPanelButton* InfoReadButton;
    TAXO_TTNTPanelButton* HistoryButton;              // enabled while a gauge is connected
    TAXO_TTNTPanelButton* AdjustTimeButton = nullptr; // exists with the clock row
    TTimeSetFrame* TimeSetArea = nullptr;             // created on first use
    QTimer ReadTimer;
    QTimer SetTimeTimer;

signals:
    // A row got its reading (ok: success mark and new value).
    void InfoRowShown(int index, bool ok);
    // A reading ended; complete when every row was read.
    void InfosReadFinished(bool complete);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildInfoRows();
    void FreeInfoRows();
    void AddInfoRow(InfoRow kind);
    void ShowModelPicture(int model);
    void ReadInfos();
    void ReadDeviceTimeRow();
    void SetRowsVisible(bool visible);
    void Relayout();

    // InfoRowView
    void HideRowMark(std::size_t index) override;
    bool RowShown(std::size_t index) override;
    void ShowRowResult(std::size_t index, const InfoReading& reading) override;
    void ProcessMessages() override;
    bool RowsReplaced() override;

    TSDIHandler& gauge_;
    int shownModel_;
    bool infosRead_ = false;
    bool reading_ = false;
    std::vector<TAXO_TTNTStatusPanel*> infoRows_;
    std::vector<InfoRow> rowKinds_;
    int rowsHeight_ = 0;
    bool rowShading_ = false;
    // Changes whenever the rows are rebuilt or the area is reset, so that a
    // reading in progress notices it and stops.
    unsigned rowsGeneration_ = 0;
    unsigned readingGeneration_ = 0;
    QString shownPicture_;
};
