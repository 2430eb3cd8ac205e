#pragma once

// Adapter selection window: lists the program's USB adapters when more
// than one is plugged in, tests the chosen one and hands its serial number
// to the gauge handler's Connect.

#include "gauge/SDIHandler.h"

#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QTreeWidget;
class TAXO_TTNTPanelButton;

class TConnectForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int FormWidth = 640;
    static constexpr int FormHeight = 300;

    // Runs FormCreate: texts, then the list of adapters, first row selected.
    explicit TConnectForm(QWidget* parent = nullptr);

    void FormCreate();
    // Tests the selected adapter, stores the choice when it opens, closes.
    void StartButtonClick();

    QLabel* TitlePanel;
    QTreeWidget* USBDevicesListView;
    TAXO_TTNTPanelButton* StartButton;

    std::string ChosenSerial;
    std::string ChosenDescription;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

// The handler's chooser seam bound to the real window: shows TConnectForm
// modally over owner and returns the serial number confirmed there.
class TConnectFormChooser : public AdapterChooser {
public:
    explicit TConnectFormChooser(QWidget* owner) : owner_(owner) {}
    std::string ChooseAdapterSerial() override;

    // Called once the window is shown and its modal loop runs (tooling and
    // tests drive the real window through it).
    void SetWhileShown(std::function<void(TConnectForm&)> whileShown) {
        whileShown_ = std::move(whileShown);
    }

private:
    QWidget* owner_;
    std::function<void(TConnectForm&)> whileShown_;
};
