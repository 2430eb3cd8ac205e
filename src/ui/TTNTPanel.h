#pragma once

// Picture tile with a caption: the main window's navigation entries.

#include <QColor>
#include <QFrame>
#include <QPixmap>

class QLabel;

class TAXO_TTNTPanel : public QFrame {
    Q_OBJECT
public:
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
    QLabel* PictureLabel() const { return picture_; }
    QLabel* LockPictureLabel() const { return lockPicture_; }
    QLabel* CaptionLabel() const { return caption_; }

    QColor LightColor = Qt::white;
    QColor DarkColor = Qt::white;
    QColor HoverColor = Qt::white;

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyColors(const QColor& background, const QColor& caption);
    void Relayout();

    bool selected_ = false;
    bool locked_ = false;
    QPixmap pictureSource_;
    QPixmap lockSource_;
    QLabel* picture_;
    QLabel* lockPicture_;
    QLabel* caption_;
};
