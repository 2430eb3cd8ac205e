#include "precision/WeightRequestForm.h"

#include "ui/Dialogs.h"
#include "ui/Palette.h"
#include "ui/UiHelpers.h"
#include "ui/WideLanguageHandler.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <cmath>
#include <limits>

namespace {

constexpr int UnitsTextId = 314; // 314 "gram", 315 "mm", 316 "inch"
constexpr int UnitCount = 3;
constexpr int BadInputTextId = 267;
constexpr int TitleHeight = 41;
constexpr int TextHeight = 32;

} // namespace

TWeightRequestForm::TWeightRequestForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("WeightRequestForm"));
    setModal(true);
    setFixedSize(FormWidth, FormHeight);
    FillBackground(this, Qt::white);

    TitlePanel = new QLabel(this);
    TitlePanel->setObjectName(QStringLiteral("TitlePanel"));
    TitlePanel->setGeometry(0, 0, FormWidth, TitleHeight);
    TitlePanel->setAlignment(Qt::AlignCenter);
    TitlePanel->setFont(PointFont(TitlePanel, 12, true));
    // The Russian title takes two lines.
    TitlePanel->setWordWrap(true);
    FillBackground(TitlePanel, Palette::Accent);

    TextPanel = new QLabel(this);
    TextPanel->setObjectName(QStringLiteral("TextPanel"));
    TextPanel->setGeometry(0, TitleHeight, FormWidth, TextHeight);
    TextPanel->setAlignment(Qt::AlignCenter);
    TextPanel->setFont(PointFont(TextPanel, 10));

    WeightEdit = new QLineEdit(this);
    WeightEdit->setObjectName(QStringLiteral("WeightEdit"));
    WeightEdit->setGeometry(30, 88, 130, 30);
    WeightEdit->setFont(PointFont(WeightEdit, 11));
    WeightEdit->installEventFilter(this);

    WeightUnitComboBox = new QComboBox(this);
    WeightUnitComboBox->setObjectName(QStringLiteral("WeightUnitComboBox"));
    WeightUnitComboBox->setGeometry(170, 88, 100, 30);
    WeightUnitComboBox->setFont(PointFont(WeightUnitComboBox, 11));
    for (int i = 0; i < UnitCount; ++i)
        WeightUnitComboBox->addItem(GetText(UnitsTextId + i));
    SetTag(WeightUnitComboBox, UnitsTextId);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(100, 142, 100, 34);
    OKButton->setAutoDefault(false);
    connect(OKButton, &QPushButton::clicked, this, &TWeightRequestForm::OKButtonClick);
}

void TWeightRequestForm::SetupWeightRequest(const QString& title, const QString& prompt,
                                            int unitIndex) {
    TextPanel->setText(prompt);
    TitlePanel->setText(title);
    setWindowTitle(title);
    WeightUnitComboBox->setCurrentIndex(qBound(0, unitIndex, UnitCount - 1));
}

void TWeightRequestForm::OKButtonClick() {
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(WeightEdit->text().trimmed(), &ok);
    const bool fits =
        ok && std::isfinite(value) && std::fabs(value) <= double(std::numeric_limits<float>::max());
    if (!fits) {
        raise();
        activateWindow();
        ShowMessageDialog(GetText(BadInputTextId), MsgKind::Error, MsgButtons::Ok);
        WeightEdit->setFocus();
        return;
    }
    weight_ = static_cast<float>(value);
    unit_ = WeightUnitComboBox->currentIndex();
    accept();
}

void TWeightRequestForm::WeightEditKeyUp(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        OKButtonClick();
}

void TWeightRequestForm::FormShow() {
    TranslateComponents(this);
    WeightEdit->setFocus();
}

void TWeightRequestForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
    if (QWidget* owner = parentWidget()) {
        QRect frame = frameGeometry();
        frame.moveCenter(owner->window()->frameGeometry().center());
        move(frame.topLeft());
    }
}

bool TWeightRequestForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == WeightEdit) {
        // Enter acts on release, as the dialog's OK; the press must not
        // reach the dialog's default button handling.
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                return true;
        } else if (event->type() == QEvent::KeyRelease) {
            auto* keyEvent = static_cast<QKeyEvent*>(event);
            if (!keyEvent->isAutoRepeat())
                WeightEditKeyUp(keyEvent->key());
        }
    }
    return QDialog::eventFilter(watched, event);
}
