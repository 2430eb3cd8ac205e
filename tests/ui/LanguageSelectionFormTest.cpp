// The language selection window shown at first start.

#include "support/LanguageScope.h"
#include "support/ModalDriver.h"
#include "ui/LanguageSelectionForm.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(LanguageSelectionForm, FixedTextsAndFirstItemSelected) {
    LanguageScope english(OffsetEnglish); // its texts never depend on the language
    TLanguageSelectionForm form;
    EXPECT_EQ(form.windowTitle(), "Language Selection");
    EXPECT_EQ(form.minimumSize(), QSize(300, 300));
    EXPECT_EQ(form.maximumSize(), QSize(300, 300));
    EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(form.LanguageRadioGroupGroup->title(), "Choose Language:");
    QStringList items;
    for (QRadioButton* item : RadioGroupItems(form.LanguageRadioGroupGroup))
        items << item->text();
    EXPECT_EQ(items, QStringList({"Deutsch", "English", QString::fromUtf8("Français"), "Espangol",
                                  "Russian"}));
    EXPECT_EQ(form.ItemIndex(), 0);
    EXPECT_EQ(form.OKButton->text(), "OK");
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::white));
}

TEST(LanguageSelectionForm, OkSetsTheOffsetOfTheChosenItem) {
    LanguageScope start(-1);
    for (int index = 0; index < 5; ++index) {
        TLanguageSelectionForm form;
        form.show();
        QRadioButton* item = RadioGroupItems(form.LanguageRadioGroupGroup).at(index);
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(8, item->height() / 2)); // the circle
        EXPECT_TRUE(item->isChecked());
        QTest::mouseClick(form.OKButton, Qt::LeftButton);
        EXPECT_EQ(LanguageOffset, index * 10000);
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_FALSE(form.isVisible());
    }
}

TEST(LanguageSelectionForm, ModalChoiceOfRussianAndEscapeDoesNotClose) {
    LanguageScope start(-1);
    bool sawEscape = false;
    ModalDriver driver([&](QWidget* modal) {
        auto* form = qobject_cast<TLanguageSelectionForm*>(modal);
        if (!form) {
            ADD_FAILURE() << "no language selection window";
            return;
        }
        QTest::keyClick(form, Qt::Key_Escape);
        sawEscape = form->isVisible();
        form->close();
        sawEscape = sawEscape && form->isVisible();
        form->SetItemIndex(4);
        QTest::mouseClick(form->OKButton, Qt::LeftButton);
    });
    EXPECT_EQ(TLanguageSelectionForm::ChooseLanguage(nullptr), OffsetRussian);
    EXPECT_EQ(LanguageOffset, OffsetRussian);
    EXPECT_TRUE(sawEscape);
}
