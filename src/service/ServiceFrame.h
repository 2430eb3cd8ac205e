#pragma once

// Service work area: reset of the accumulated total, factory reset, and the
// program's version information.
//
// Public interface used by the main window; the service helper owns the rest.

#include "config/ParameterSet.h"

#include <QWidget>
#include <functional>

class TSDIHandler;
class TParameterFrame;

class TServiceFrame : public QWidget {
    Q_OBJECT
public:
    // showConfiguration switches the main window to the configuration work
    // area exactly as a click on its tile does and returns that area.
    TServiceFrame(TSDIHandler& gauge, std::function<TParameterFrame*()> showConfiguration,
                  QWidget* parent = nullptr);
    ~TServiceFrame() override;

    void ShowServiceArea(int model);
    void RefreshServiceTexts();
    void ResetNrtButtonClick();
    void FactoryResetButtonClick();

    const ParameterSet& FactorySet() const;
};
