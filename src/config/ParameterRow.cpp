#include "config/ParameterRow.h"

#include "ui/FrameStyle.h"
#include "ui/ImageControl.h"
#include "ui/Pictures.h"
#include "ui/WideLanguageHandler.h"

#include <QLabel>
#include <QPainter>

TParameterRow::TParameterRow(const QString& name, int labelTextId, QWidget* parent)
    : QFrame(parent), label_(new QLabel(this)), markControl_(new ImageControl(this)) {
    setObjectName(name);
    setFont(FrameStyle::RowFont());
    label_->setObjectName(name + QStringLiteral("Label"));
    label_->setFont(FrameStyle::LabelFont());
    label_->setText(GetText(labelTextId));
    label_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetTag(label_, labelTextId);
    markControl_->setObjectName(name + QStringLiteral("Mark"));
    markControl_->SetPadding(2);
    markControl_->hide();
}

void TParameterRow::SetControl(QWidget* control, int width) {
    control_ = control;
    controlWidth_ = width;
    control->setParent(this);
    control->setFont(FrameStyle::RowFont());
    control->show();
    resizeEvent(nullptr);
}

void TParameterRow::SetAlternate(bool grey) {
    if (grey_ == grey)
        return;
    grey_ = grey;
    update();
}

void TParameterRow::ShowMark(Config::Mark mark) {
    if (mark == mark_)
        return;
    mark_ = mark;
    switch (mark) {
    case Config::Mark::None:
        markControl_->hide();
        return;
    case Config::Mark::Edited:
        markControl_->SetPicture(Pictures::editedImage());
        break;
    case Config::Mark::Succeeded:
        markControl_->SetPicture(Pictures::successImage());
        break;
    case Config::Mark::Failed:
        markControl_->SetPicture(Pictures::failedImage());
        break;
    }
    markControl_->show();
}

void TParameterRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), grey_ ? FrameStyle::AlternateRow : QColor(Qt::white));
    painter.fillRect(QRect(0, 0, BorderWidth, height()), FrameStyle::Accent);
    painter.fillRect(QRect(width() - BorderWidth, 0, BorderWidth, height()), FrameStyle::Accent);
}

void TParameterRow::resizeEvent(QResizeEvent*) {
    const int h = height();
    const int inset = BorderWidth + 8;
    label_->setGeometry(inset, 0, LabelWidth - inset, h);
    if (control_ != nullptr) {
        const int controlHeight = std::min(control_->sizeHint().height(), std::max(h - 4, 0));
        control_->setGeometry(ControlLeft, (h - controlHeight) / 2, controlWidth_, controlHeight);
    }
    const int markHeight = std::max(h - 4, 0);
    markControl_->setGeometry(width() - BorderWidth - MarkWidth, 2, MarkWidth, markHeight);
}
