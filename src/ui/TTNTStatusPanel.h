#pragma once

// One-line row: caption on the left, optional value beside it, status icon
// at the right edge. Used for every list of statuses, values and messages.

#include "ui/Palette.h"

#include <QColor>
#include <QFrame>
#include <QPixmap>

class QLabel;
class ImageControl;

class TAXO_TTNTStatusPanel : public QFrame {
    Q_OBJECT
    // What translation by tag writes: the caption label's text (with its
    // leading blank), leaving the value, the layout and the text id alone.
    Q_PROPERTY(QString caption READ CaptionProperty WRITE SetCaptionProperty)
public:
    static constexpr int IconWidth = 65;
    static constexpr int MaxShownValue = 50;
    static constexpr const char* ReadMore = "... Read more";

    explicit TAXO_TTNTStatusPanel(QWidget* parent = nullptr);

    void SetCaptionText(const QString& text, int textId);
    void SetValueText(const QString& text);
    void SetStatusImage(const QPixmap& picture);
    void SetPartsVisible(bool captionOn, bool valueOn, bool iconOn);
    void SetCaptionWordWrap(bool on);
    void SetTextColor(const QColor& colour);
    void SetTextSize(int points);
    void SetHighlighted(bool on);
    void RetranslateCaption();
    void ForwardClicks();
    QString GetCaptionText() const;
    QString GetValueText() const;
    void SetRawValue(const QString& text) { rawValue_ = text; }
    QString GetRawValue() const { return rawValue_; }
    void SetUnitText(const QString& text) { unitText_ = text; }
    QString GetUnitText() const { return unitText_; }

    int CaptionTextId() const { return captionTextId_; }
    QString FullValueText() const { return fullValue_; }
    QColor Background() const;
    QLabel* CaptionLabel() const { return caption_; }
    QLabel* ValueLabel() const { return value_; }
    QLabel* StatusIcon() const;
    bool IconShowsPicture() const;

    QColor LeaveColor = Qt::white;
    QColor EnterColor = QColor(192, 192, 192);
    QColor DarkColor = Palette::Dark;
    QColor LightColor = Palette::Light;

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetBackground(const QColor& colour);
    void SetLabelColour(QLabel* label, const QColor& colour);
    void Relayout();
    QString CaptionProperty() const;
    void SetCaptionProperty(const QString& text);

    QLabel* caption_;
    int captionTextId_ = -1;
    QLabel* value_;
    QString fullValue_;
    QString shownValue_;
    QString rawValue_;
    QString unitText_;
    ImageControl* icon_;
    bool forwardClicks_ = false;
};
