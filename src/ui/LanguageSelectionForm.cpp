#include "LanguageSelectionForm.h"

#include "WideLanguageHandler.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TLanguageSelectionForm::TLanguageSelectionForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("LanguageSelectionForm"));
    setWindowTitle(QStringLiteral("Language Selection"));
    setFixedSize(300, 300);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);

    LanguageRadioGroupGroup = new QGroupBox(QStringLiteral("Choose Language:"), this);
    LanguageRadioGroupGroup->setObjectName(QStringLiteral("LanguageRadioGroupGroup"));
    auto* itemLayout = new QVBoxLayout(LanguageRadioGroupGroup);
    for (const char* name : {"Deutsch", "English", "Français", "Espangol", "Russian"}) {
        auto* item = new QRadioButton(QString::fromUtf8(name), LanguageRadioGroupGroup);
        itemLayout->addWidget(item);
        items_ << item;
    }
    items_.first()->setChecked(true);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TLanguageSelectionForm::OKButtonClick);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LanguageRadioGroupGroup);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
}

int TLanguageSelectionForm::ChooseLanguage(QWidget* parent) {
    TLanguageSelectionForm form(parent);
    form.exec();
    return LanguageOffset;
}

int TLanguageSelectionForm::ItemIndex() const {
    for (qsizetype i = 0; i < items_.size(); ++i) {
        if (items_[i]->isChecked())
            return int(i);
    }
    return 0;
}

void TLanguageSelectionForm::SetItemIndex(int index) {
    if (index >= 0 && index < items_.size())
        items_[index]->setChecked(true);
}

void TLanguageSelectionForm::OKButtonClick() {
    LanguageOffset = ItemIndex() * 10000;
    accept();
}

void TLanguageSelectionForm::reject() {}
