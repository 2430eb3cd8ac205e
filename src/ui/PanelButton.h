#pragma once

// Flat button with rounded corners and mouse colours.
//
// Enabled, it shows the pressed colour while the mouse button is down, the
// hover colour while the pointer is over it (also after a release) and the
// normal colour once the pointer has left. A disabled button keeps whatever
// colour its user gives it with SetBackground. It takes keyboard focus like
// any desktop button: Space (on release) and Enter emit clicked().

#include "ui/Palette.h"

#include <QColor>
#include <QLabel>

class TAXO_TTNTPanelButton : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString caption READ text WRITE setText)
public:
    explicit TAXO_TTNTPanelButton(QWidget* parent = nullptr);

    void SetCaptionById(const QString& text, int textId);
    int TextId() const { return textId_; }
    QColor Background() const;
    void SetBackground(const QColor& colour);

    int CornerDiameter = 15;
    QColor PressedColor = Palette::Light;
    QColor NormalColor = Palette::ButtonBlue;
    QColor HoverColor = Palette::Accent;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ApplyMask();
    QColor RestingColour() const;

    int textId_ = 0;
    QColor background_;
    bool spaceDown_ = false;
};
