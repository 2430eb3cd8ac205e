#pragma once

// One setting row of the configuration work area: a bold label at the left
// (its text id in its tag), an editing control from 400 pixels on, and the
// status mark at the right edge, on a white or light grey background between
// the group's thin yellow-orange side borders.

#include "config/ParameterRows.h"

#include <QFrame>

class ImageControl;
class QLabel;

class TParameterRow : public QFrame {
    Q_OBJECT
public:
    static constexpr int LabelWidth = 399;
    static constexpr int ControlLeft = 400;
    static constexpr int ListWidth = 350;
    static constexpr int PickerWidth = 116;
    static constexpr int MarkWidth = 65;
    static constexpr int BorderWidth = 2;

    TParameterRow(const QString& name, int labelTextId, QWidget* parent);

    // control becomes a child of the row, width pixels wide from ControlLeft.
    void SetControl(QWidget* control, int width);
    QWidget* Control() const { return control_; }
    QLabel* Label() const { return label_; }

    void SetAlternate(bool grey);
    bool Alternate() const { return grey_; }

    void ShowMark(Config::Mark mark);
    Config::Mark ShownMark() const { return mark_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* label_;
    QWidget* control_ = nullptr;
    int controlWidth_ = ListWidth;
    ImageControl* markControl_;
    Config::Mark mark_ = Config::Mark::None;
    bool grey_ = false;
};
