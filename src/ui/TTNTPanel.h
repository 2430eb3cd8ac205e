#pragma once

// Picture tile with a caption: the main window's navigation entries.
//
// The tile is flat with a single-line border. Its picture (or, while locked,
// the lock picture) is 48 px high and centred; the caption sits in a 40 px
// strip along the lower edge. A click on the tile, its picture or its caption
// emits clicked(), except while the tile is locked.

#include <QColor>
#include <QFrame>
#include <QPixmap>

class QLabel;
class ImageControl;

class TAXO_TTNTPanel : public QFrame {
    Q_OBJECT
    Q_PROPERTY(QString caption READ Caption WRITE SetCaption)
public:
    static constexpr int PictureHeight = 48;
    static constexpr int CaptionHeight = 40;

    explicit TAXO_TTNTPanel(QWidget* parent = nullptr);

    void SetSelected(bool flag);
    void SetPicture(const QPixmap& picture);
    void SetCaption(const QString& text);
    void SetLocked(bool flag);
    void SetLockPicture(const QPixmap& picture);

    bool Selected() const { return selected_; }
    bool Locked() const { return locked_; }
    QString Caption() const;
    QColor Background() const;
    QColor CaptionColor() const;
    QLabel* PictureLabel() const;
    QLabel* LockPictureLabel() const;
    QLabel* CaptionLabel() const { return caption_; }

    // Light: background when selected, caption colour otherwise. Dark:
    // background when not selected, caption colour when selected or under
    // the mouse. Hover: background under the mouse. Set them, then call
    // SetSelected to apply.
    QColor LightColor = Qt::white;
    QColor DarkColor = Qt::white;
    QColor HoverColor = Qt::white;

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
    void ApplyColors(const QColor& background, const QColor& caption);
    void Relayout();
    bool AcceptsClicks() const;

    bool selected_ = false;
    bool locked_ = false;
    QColor captionColour_ = Qt::black;
    ImageControl* picture_;
    ImageControl* lockPicture_;
    QLabel* caption_;
};
