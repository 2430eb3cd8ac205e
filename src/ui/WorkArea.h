#pragma once

// What the main window asks of each work area behind its tiles. Every area
// implements these with its own named operations (ShowMeasurementArea,
// ResetMeasurementArea, TranslateMeasurementArea, ...); the main window
// keeps its areas in one table and drives them through this interface.

class QWidget;

class WorkArea {
public:
    virtual ~WorkArea() = default;

    // The user opened the area for a gauge of model (the main window's table
    // says where the model comes from and whether the area is already shown).
    virtual void ShowArea(int model) = 0;
    // The gauge was disconnected. Most areas keep what they show.
    virtual void ResetArea() {}
    // The adapter went away under the area (unplugged, its line hung up),
    // before the disconnected presentation is applied.
    virtual void GaugeLost() {}
    // The same gauge is back after a loss and the area is shown again as it
    // was. By default the area is opened as by a click on its tile.
    virtual void ResumeArea(int model) { ShowArea(model); }
    // The language changed: re-apply every text.
    virtual void TranslateArea() = 0;
    // The widget the main window shows and hides.
    virtual QWidget* AreaWidget() = 0;
};
