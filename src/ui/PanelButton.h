#pragma once

// Flat button with rounded corners and mouse colours.

#include <QColor>
#include <QLabel>

class TAXO_TTNTPanelButton : public QLabel {
    Q_OBJECT
public:
    explicit TAXO_TTNTPanelButton(QWidget* parent = nullptr);

    void SetCaptionById(const QString& text, int textId);
    int TextId() const { return textId_; }
    QColor Background() const;
    void SetBackground(const QColor& colour);

    int CornerDiameter = 15;
    QColor PressedColor = QColor(212, 212, 212);
    QColor NormalColor = QColor(19, 177, 228);
    QColor HoverColor = QColor(255, 214, 52);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int textId_ = 0;
};
