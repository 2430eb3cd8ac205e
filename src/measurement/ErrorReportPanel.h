#pragma once

// The error analysis panel of the measurement area: a yellow header with
// "X" to close it and the word-wrapped report below. It opens by growing
// from nothing and closes by shrinking, repainting after every step.

#include <QFrame>

class QLabel;

class ErrorReportPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int HeaderHeight = 30;

    explicit ErrorReportPanel(QWidget* parent = nullptr);

    void SetHeader(const QString& text);
    void SetReport(const QString& text);
    // Shows the panel at topLeft, front-most, growing from 0 x 0 in steps
    // of (widthStep, heightStep) pixels.
    void Grow(const QPoint& topLeft, int steps, int widthStep, int heightStep);
    // Shrinks it in steps of (widthStep, heightStep) pixels, then hides it.
    void Shrink(int steps, int widthStep, int heightStep);

    QFrame* ErrorHeaderPanel = nullptr;
    QLabel* ErrorHeaderLabel = nullptr;
    QLabel* CloseLabel = nullptr;
    QLabel* ErrorReportLabel = nullptr;

signals:
    // "X" or the report text was clicked.
    void CloseRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayoutParts();
    void Step(int width, int height);
};
