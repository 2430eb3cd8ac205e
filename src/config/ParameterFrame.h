#pragma once

// Configuration work area: reads the gauge's whole configuration, lets the
// technician edit it with the rules of its model, writes it back in a fixed
// order with a mark per setting, and keeps it in a configuration file.
//
// Public interface used by the main window and the service area; the
// configuration helper owns the rest of this class.

#include "config/ParameterRows.h"
#include "config/ParameterSet.h"
#include "ui/WorkArea.h"

#include <QWidget>
#include <array>
#include <memory>

class TSDIHandler;
class TParameterRow;
class TAXO_TTNTPanelButton;
class QDateTimeEdit;
class QLabel;
class QTime;
class QTimer;

namespace Config {
class ConfigurationSequence;
}

class TParameterFrame : public QWidget, public WorkArea {
    Q_OBJECT
public:
    TParameterFrame(TSDIHandler& gauge, int model, QWidget* parent = nullptr);
    ~TParameterFrame() override;

    void SelectModel(int model);
    void ResetParameterArea();
    void ReadConfiguration();
    void WriteConfiguration(const ParameterSet& set, bool force);
    void RefreshParameterTexts();

    // WorkArea
    void ShowArea(int model) override { SelectModel(model); }
    void ResetArea() override { ResetParameterArea(); }
    void TranslateArea() override { RefreshParameterTexts(); }
    QWidget* AreaWidget() override { return this; }

    bool ReadFromFileButtonClick();
    bool WriteToFileButtonClick();

    const ParameterSet& Parameters() const;
    int CurrentModel() const;
    bool ConfigurationRead() const;

    // The button bar's gauge buttons.
    void ReadConfigurationButtonClick();
    void WriteConfigurationButtonClick();
    // Tick of Tessras2Timecounter (1000 ms): the gauge clock runs on.
    void Tessras2TimecounterTimer();

    // The rows' state as the frame shows it, and the row panels.
    const Config::ParameterRows& Rows() const { return *rows_; }
    TParameterRow* RowPanel(Config::Row row) const { return panels_[row]; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    class FrameView;
    friend class FrameView;

    void BuildRows();
    void BuildButtonBar();
    void ConnectEditHandlers();
    void FillLists();
    // Mirrors the rows' state in the widgets; lays out again when the shown
    // rows changed.
    void SyncAll();
    void SyncRow(Config::Row row);
    void SyncGaugeClock();
    // A step of a transfer: the row's mark, repainted, a short pause.
    void ShowRowResult(Config::Row row);
    void LayoutFrame();
    void SetButtonCaptions();
    void SetWriteButtonsShown(bool shown);

    // The rows' controls: a list's selection or a number field's value
    // changed, the time picker's time changed, a minutes field was left.
    void ControlChange(Config::Row row, int value);
    void TimeChange(const QTime& time);
    void MinutesFieldLeft(Config::Row row);

    TSDIHandler& gauge_;
    std::unique_ptr<Config::ParameterRows> rows_;
    std::unique_ptr<FrameView> view_;
    std::unique_ptr<Config::ConfigurationSequence> sequence_;

    std::array<TParameterRow*, Config::RowCount> panels_{};
    QLabel* ConfigurationTitle = nullptr;
    QLabel* HeatingTitle = nullptr;
    QLabel* Tessra2TimeLabel = nullptr;
    QDateTimeEdit* Tessra2TimePicker = nullptr;
    QWidget* ButtonBar = nullptr;
    TAXO_TTNTPanelButton* ReadConfigurationButton = nullptr;
    TAXO_TTNTPanelButton* WriteConfigurationButton = nullptr;
    TAXO_TTNTPanelButton* ReadFromFileButton = nullptr;
    TAXO_TTNTPanelButton* WriteToFileButton = nullptr;
    QTimer* Tessras2Timecounter = nullptr;

    bool writeButtonsShown_ = false;
    bool updating_ = false;      // widgets follow the rows: no edit handler runs
    unsigned laidOutRows_ = ~0u; // shown rows at the last layout, one bit a row
};
