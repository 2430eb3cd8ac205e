#pragma once

// Configuration work area: reads the gauge's whole configuration, lets the
// technician edit it with the rules of its model, writes it back in a fixed
// order with a mark per setting, and keeps it in a configuration file.
//
// Public interface used by the main window and the service area; the
// configuration helper owns the rest of this class.

#include "config/ParameterSet.h"

#include <QWidget>

class TSDIHandler;

class TParameterFrame : public QWidget {
    Q_OBJECT
public:
    TParameterFrame(TSDIHandler& gauge, int model, QWidget* parent = nullptr);
    ~TParameterFrame() override;

    void SelectModel(int model);
    void ResetParameterArea();
    void ReadConfiguration();
    void WriteConfiguration(const ParameterSet& set, bool force);
    void RefreshParameterTexts();

    bool ReadFromFileButtonClick();
    bool WriteToFileButtonClick();

    const ParameterSet& Parameters() const;
    int CurrentModel() const;
    bool ConfigurationRead() const;
};
