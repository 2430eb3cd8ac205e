#pragma once

// While a firmware update runs, the window around the work area takes no
// input but the cancel button's: a tile clicked or a key pressed in the
// main window would send gauge traffic into the transfer, or hide the area
// the update reports in. A request to close that window cancels the update
// instead of closing it; the window can be closed once the update has
// ended. Other windows (the message and file dialogs the update opens) work
// as always.

#include <QObject>
#include <functional>

class QWidget;

namespace Firmware {

class UpdateInputGuard : public QObject {
    Q_OBJECT
public:
    // area: the work area; allowed: the one control that keeps taking input;
    // closeRequested: what a request to close the window does instead.
    UpdateInputGuard(QWidget* area, QWidget* allowed, std::function<void()> closeRequested);
    ~UpdateInputGuard() override;

    void SetActive(bool active);
    bool Active() const { return active_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* area_;
    QWidget* allowed_;
    std::function<void()> closeRequested_;
    bool active_ = false;
};

} // namespace Firmware
