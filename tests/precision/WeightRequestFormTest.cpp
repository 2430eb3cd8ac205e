// The weight entry: captions, the unit list, a number in the locale's
// notation, bad input, Enter in the weight field, and closing without OK.

#include "precision/WeightRequestForm.h"
#include "support/DefaultLocaleScope.h"
#include "support/LanguageScope.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

class WeightEntryForm : public ::testing::Test {
protected:
    void SetUp() override {
        form.SetupWeightRequest(QStringLiteral("Determine the test weight"),
                                QStringLiteral("Details of test weight"), 1);
        form.show();
    }
    LanguageScope english{OffsetEnglish};
    DefaultLocaleScope c{QLocale::c()};
    ScriptedDialogs dialogs;
    TWeightRequestForm form;
};

TEST_F(WeightEntryForm, CaptionsAndUnits) {
    EXPECT_EQ(form.size(), QSize(300, 200));
    EXPECT_EQ(form.windowTitle(), "Determine the test weight");
    EXPECT_EQ(form.TitlePanel->text(), "Determine the test weight");
    EXPECT_EQ(form.TextPanel->text(), "Details of test weight");
    ASSERT_EQ(form.WeightUnitComboBox->count(), 3);
    EXPECT_EQ(form.WeightUnitComboBox->itemText(0), "gram");
    EXPECT_EQ(form.WeightUnitComboBox->itemText(1), "mm");
    EXPECT_EQ(form.WeightUnitComboBox->itemText(2), "inch");
    EXPECT_EQ(form.WeightUnitComboBox->currentIndex(), 1); // the proposed unit
    EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(WeightEntryForm, ValidNumberIsTakenWithItsUnit) {
    form.WeightEdit->setText(QStringLiteral("2500"));
    form.WeightUnitComboBox->setCurrentIndex(0);
    form.OKButtonClick();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.Weight(), 2500.0f);
    EXPECT_EQ(form.Unit(), 0);
    EXPECT_TRUE(dialogs.Messages().isEmpty());
}

TEST_F(WeightEntryForm, GermanDecimalComma) {
    DefaultLocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    form.WeightEdit->setText(QStringLiteral("2,5"));
    form.OKButtonClick();
    EXPECT_EQ(form.Weight(), 2.5f);
    EXPECT_EQ(form.Unit(), 1);
}

TEST_F(WeightEntryForm, BadInputKeepsTheDialogOpen) {
    for (const char* input : {"2.5KG", "", "1.000.5", "abc", "1e40", "nan"}) {
        SCOPED_TRACE(input);
        dialogs.Clear();
        form.WeightEdit->setText(QString::fromLatin1(input));
        form.OKButtonClick();
        ASSERT_EQ(dialogs.Messages().size(), 1);
        EXPECT_EQ(dialogs.Messages()[0].text,
                  "Your input is incorrect. Example of a correct input (2.5KG): 2500");
        EXPECT_EQ(dialogs.Messages()[0].kind, MsgKind::Error);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.WeightEdit->text(), QString::fromLatin1(input)); // the input stays
        EXPECT_EQ(form.Weight(), 0.0f);
    }
}

TEST_F(WeightEntryForm, EnterInTheWeightFieldConfirms) {
    form.WeightEdit->setText(QStringLiteral("1000"));
    form.WeightEdit->setFocus();
    QTest::keyPress(form.WeightEdit, Qt::Key_Return);
    EXPECT_TRUE(form.isVisible()); // acts on release
    QTest::keyRelease(form.WeightEdit, Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.Weight(), 1000.0f);
}

TEST_F(WeightEntryForm, ClosedWithoutOkGivesZeroGram) {
    form.WeightEdit->setText(QStringLiteral("1000"));
    form.WeightUnitComboBox->setCurrentIndex(2);
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(form.Weight(), 0.0f);
    EXPECT_EQ(form.Unit(), 0);
}
